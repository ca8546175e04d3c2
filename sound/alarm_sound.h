// The alarm sounds: a music CD and MP3 files through MCI command strings, WAV files through the
// system's sound player. The module has no window and no timer: the clock window starts a sound
// when an alarm fires and forwards its timers' ticks to the CD watcher and the MP3 repeat.
// The module remembers what it started (kind, file, track) and stops exactly that: the settings
// and the clock window may both have changed since, and a reload of the clock must not leave a
// sound that nothing can stop.
//
// An alarm is never silent: when its own sound cannot start, the program's chime (a WAVE
// resource) takes over, once per alarm, through the same player as the WAV files; when no
// waveform device exists even for that, the module says so (RingingSilently) and the clock
// shows a sign instead until the alarm is stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The few multimedia calls the module needs. The Win32 glue binds it to winmm; tests script it.
class Mci {
 public:
  virtual ~Mci() = default;

  // Sends one MCI command string and returns its error code (0 on success). `reply` may be null
  // (then replyLength is 0). Otherwise it is the caller's fixed reply buffer of replyLength
  // characters, in and out: the device writes its reply as NUL-terminated text of at most
  // replyLength - 1 characters over the start of it, and whatever it does not write stays.
  virtual int SendString(const std::wstring& command, std::wstring* reply, int replyLength) = 0;
  // The description of an MCI error code, written like a reply into the fixed buffer `out` of
  // `length` characters. False when the code has no description.
  virtual bool GetErrorString(int code, std::wstring& out, int length) = 0;
  virtual unsigned WaveOutDevices() = 0;
  // A null name stops the sound that is playing.
  virtual bool Play(const wchar_t* nameOrNull, unsigned flags) = 0;
  // The program's own waveform volume, 0..100 % of full on both channels (never the
  // system's master volume): the player's WAV files and the chime follow it.
  virtual void SetWaveVolume(int percent) = 0;
  // A millisecond count that only goes forward (wrapping after 49 days).
  virtual unsigned long Milliseconds() = 0;
};

// How loud an alarm rings: its volume, reached from silence over the fade-in.
struct Loudness {
  int volume = 100;       // percent
  int fadeInSeconds = 0;  // 0: at once
};

constexpr unsigned kSndAsync = 1;
constexpr unsigned kSndLoop = 8;
// The name is a resource of the program's own module, of type "WAVE".
constexpr unsigned kSndResource = 0x40004;
constexpr wchar_t kChimeResource[] = L"CHIME";

// The pendulum's soft tick, a WAVE resource like the chime.
constexpr wchar_t kTickResource[] = L"TICK";

// One stroke of the hours' strike: a bell (a WAVE resource) and the time from its start to the
// next stroke's, long enough for it to ring to its end.
struct Stroke {
  const wchar_t* bell;
  int gapMs;
};

class F_Sound {
 public:
  // Fixed lengths of the reply buffers; the device sees exactly these.
  static constexpr int kReplyLength = 512;
  static constexpr int kErrorLength = 256;
  static constexpr int kCdModeLength = 255;
  static constexpr int kMp3ModeLength = 30;
  static constexpr std::size_t kMp3OpenLength = 255;
  // Fade ticks come this often while a sound fades in.
  static constexpr int kFadeTickMs = 250;
  // Watcher ticks (200 ms each) a CD alarm has for a play command to succeed: three seconds.
  static constexpr int kCdStartTicks = 15;
  // Repeat ticks (1 s each) an MP3 alarm has to be found playing: three seconds as well.
  static constexpr int kMp3StartTicks = 3;

  explicit F_Sound(Mci& mci);

  // Index (0 or 1) of the alarm whose sound was started last.
  std::int16_t CurrentAlarm = 0;
  // Left by WatchCd: false once the CD can no longer be watched, which stops the watcher.
  bool CdOk = false;

  // How loud the next sound started rings; each start takes it and puts back the default.
  void SetLoudness(const Loudness& loudness) { nextLoudness_ = loudness; }
  // Every kFadeTickMs while Fading(): the volume rises to the alarm's along its fade-in.
  void FadeTick();
  bool Fading() const { return fading_; }

  // An alarm's sound: the whole disc (track 0) or one track repeated, a looped WAV file, an MP3
  // file restarted whenever it has ended.
  void StartCd(std::int16_t alarm, std::int16_t track);
  void StartWav(std::int16_t alarm, const std::wstring& file);
  void StartMp3(std::int16_t alarm, const std::wstring& file);
  // An alarm whose own sound cannot even be tried (its file is gone or unreadable, a WAV
  // without a RIFF/WAVE header): the chime at once.
  void StartChime(std::int16_t alarm);
  // Stops every sound started and not stopped since; nothing else.
  void Stop();
  // The alarm window's 試聴: the next sound started is a test of an alarm's sound, played as
  // the alarm would play it (with its loudness, its repeat and its chime to fall back on) but
  // ringing nothing. Refused (false) while an alarm rings, whose sound and level it would
  // replace; an alarm that begins during the test ends it and takes the player.
  bool BeginTest();
  // Stops the test's sound, never an alarm's.
  void StopTest();
  bool Testing() const { return testing_ && sounding(); }
  // The two periodic checks; each does nothing unless its sound runs.
  void WatchTick();   // every 200 ms: the CD watcher, which gives up at its first failure
  void RepeatTick();  // every second: the MP3 repeat, which gives up on a file that never plays
  bool Watching() const { return cdWatching_; }
  bool Repeating() const { return mp3Started_; }
  bool Chiming() const { return chimePlaying_; }
  // An alarm rings that no device can sound; the clock shows it until the stop.
  bool RingingSilently() const { return !testing_ && ringingSilently_; }
  // An alarm's sound (or its chime, or the silent sign) goes on: from the start to the stop.
  bool Ringing() const { return !testing_ && sounding(); }

  // The hours' strike, through the player at its own `volume`: the first stroke at once, each
  // next one from StrikeTick once its gap has passed. Refused (false) while anything sounds
  // and without an output device; an alarm or a test that starts stops it, as does Stop().
  // The player's level is put back when it ends, so it never becomes an alarm's.
  bool StartStrike(const std::vector<Stroke>& strokes, int volume);
  // Every kFadeTickMs while Striking().
  void StrikeTick();
  void StopStrike();
  bool Striking() const { return striking_; }
  // One tick of the pendulum through the player, unless anything else sounds.
  void PlayTick();

  // Returns the MCI error code, -1 for an empty command; `output` gets the reply or the error text.
  int MciSend(const std::wstring& command, std::wstring& output);
  // The reply, or "Error:" and the code.
  std::wstring MciStatus(const std::wstring& command);
  int MciPlay(const std::wstring& device, const std::wstring& from, const std::wstring& to);

  // False when the device does not open.
  bool OpenCd();
  // Plays `track` again when the disc stopped or ran on past it; the whole disc for track 0.
  void WatchCd(std::int16_t track);
  void StopCd();
  // False when the file does not open or does not play; `level` is its volume in percent.
  bool PlayMp3(const std::wstring& file, int level = 100);
  bool IsMp3Playing();
  void RepeatMp3();
  void StopMp3();
  // Returns whether the player took the sound (not without an output device).
  bool PlayWav(const std::wstring& file);
  void StopWav();

 private:
  bool sounding() const {
    return cdWatching_ || mp3Started_ || wavPlaying_ || chimePlaying_ || ringingSilently_;
  }
  bool watchCdSteps(std::int16_t track);
  // Sends the MP3's mode query into its buffer; returns the error code.
  int queryMp3Mode();
  void restartMp3();
  // A new alarm's sound begins: it may fall back to the chime once.
  void begin(std::int16_t alarm);
  // The alarm's own sound could not start: the chime, or the silent sign without a device.
  void fallBack();
  // The level the sound has now along its fade, in percent of full.
  int levelNow();
  // Sets the level on what plays: the player (WAV, chime) and the MP3. A CD keeps the drive's.
  void applyLevel(int level);
  void setWaveLevel(int level);
  void setMp3Level(int level);
  bool playStroke();
  void endStrike();

  Mci& mci_;
  // What runs: the CD watched with its track, the MP3 opened under its alias, the WAV looping.
  bool cdWatching_ = false;
  std::int16_t cdTrack_ = 0;
  bool cdPlayed_ = false;  // a play command succeeded, or the disc was found playing
  int cdTicks_ = 0;        // watcher ticks since the alarm, until the disc played
  bool mp3Started_ = false;
  bool mp3Played_ = false;  // the device answered "playing" since the alarm
  int mp3Ticks_ = 0;        // repeat ticks since the alarm, until the MP3 played
  bool wavPlaying_ = false;
  bool chimePlaying_ = false;
  bool ringingSilently_ = false;
  bool testing_ = false;   // what sounds is a test, not an alarm
  bool nextIsTest_ = false;
  bool fellBack_ = false;  // this alarm already turned to the chime or the sign
  Loudness nextLoudness_;
  Loudness loudness_;           // the ringing alarm's
  unsigned long fadeStart_ = 0;  // Milliseconds() when it began
  bool fading_ = false;
  int waveLevel_ = -1;   // what the player was set to for this alarm; -1 not yet
  int mp3Level_ = 100;   // for the MP3 opened next or open now
  // Fixed-length buffers that keep their content from one call to the next, as the device
  // may leave part of them (or all of them, on a failure) untouched.
  std::wstring replyBuffer_;
  std::wstring errorBuffer_;
  std::wstring cdModeBuffer_;
  std::wstring mp3ModeBuffer_;
  std::wstring lastReply_;
  // The strike: its strokes, the one sounding and when it began (Milliseconds()).
  bool striking_ = false;
  std::vector<Stroke> strokes_;
  std::size_t stroke_ = 0;
  unsigned long strokeStart_ = 0;
};
