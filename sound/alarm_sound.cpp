#include "sound/alarm_sound.h"

#include <algorithm>

#include <cwchar>
#include <cwctype>

namespace {

std::wstring textBeforeNul(const std::wstring& buffer) {
  return buffer.substr(0, buffer.find(L'\0'));
}

std::wstring upper(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

bool startsWith(const std::wstring& buffer, const wchar_t* prefix) {
  return buffer.compare(0, std::wstring(prefix).size(), prefix) == 0;
}

// A device reply read as a decimal number: blanks around it, a sign, digits, a fraction and an
// exponent are allowed; anything else is not a number.
bool parseNumber(const std::wstring& text, double& value) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return false;
  const auto last = text.find_last_not_of(L" \t");
  const std::wstring s = text.substr(first, last - first + 1);
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t start = i;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') ++i;
    return i - start;
  };
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
  std::size_t mantissa = digits();
  if (i < s.size() && s[i] == L'.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
    ++i;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
    if (digits() == 0) return false;
  }
  if (i != s.size()) return false;
  value = std::wcstod(s.c_str(), nullptr);
  return true;
}

}  // namespace

F_Sound::F_Sound(Mci& mci)
    : mci_(mci),
      replyBuffer_(kReplyLength, L'\0'),
      errorBuffer_(kErrorLength, L'\0'),
      cdModeBuffer_(kCdModeLength, L'\0'),
      mp3ModeBuffer_(kMp3ModeLength, L'\0') {}

int F_Sound::MciSend(const std::wstring& command, std::wstring& output) {
  if (command.empty()) {
    output = L"コマンド文字列が指定されていません";
    return -1;
  }
  const int code = mci_.SendString(command, &replyBuffer_, kReplyLength);
  if (code == 0) {
    output = textBeforeNul(replyBuffer_);
    return 0;
  }
  if (mci_.GetErrorString(code, errorBuffer_, kErrorLength))
    output = textBeforeNul(errorBuffer_);
  else
    output = L"Error (文字列が取れません)";
  return code;
}

std::wstring F_Sound::MciStatus(const std::wstring& command) {
  const int code = MciSend(command, lastReply_);
  if (code != 0) return L"Error:" + std::to_wstring(code);
  return lastReply_;
}

int F_Sound::MciPlay(const std::wstring& device, const std::wstring& from, const std::wstring& to) {
  std::wstring command = L"play " + device;
  if (!from.empty()) command += L" from " + from;
  if (!to.empty()) command += L" to " + to;
  return MciSend(command, lastReply_);
}

bool F_Sound::OpenCd() {
  const int code = mci_.SendString(L"open cdaudio", nullptr, 0);
  mci_.SendString(L"set cdaudio time format tmsf", nullptr, 0);
  return code == 0;
}

void F_Sound::begin(std::int16_t alarm) {
  // An alarm's sound ends a test first: it takes the player and the MP3 device.
  if (testing_ && !nextIsTest_) Stop();
  StopStrike();  // an alarm, or a test of one, is never heard over a strike
  testing_ = nextIsTest_;
  nextIsTest_ = false;
  CurrentAlarm = alarm;
  fellBack_ = false;
  loudness_ = nextLoudness_;
  nextLoudness_ = Loudness{};
  if (loudness_.volume < 0 || loudness_.volume > 100) loudness_.volume = 100;
  fadeStart_ = mci_.Milliseconds();
  fading_ = loudness_.fadeInSeconds > 0 && loudness_.volume > 0;
  // Set afresh for every alarm: the alarm window's test of a volume changes it too.
  waveLevel_ = -1;
}

int F_Sound::levelNow() {
  if (!fading_) return loudness_.volume;
  const unsigned long fadeMs = static_cast<unsigned long>(loudness_.fadeInSeconds) * 1000ul;
  const unsigned long elapsed = mci_.Milliseconds() - fadeStart_;
  if (elapsed >= fadeMs) {
    fading_ = false;
    return loudness_.volume;
  }
  return static_cast<int>(static_cast<unsigned long long>(loudness_.volume) * elapsed / fadeMs);
}

void F_Sound::setWaveLevel(int level) {
  if (level == waveLevel_) return;
  waveLevel_ = level;
  mci_.SetWaveVolume(level);
}

void F_Sound::setMp3Level(int level) {
  if (level == mp3Level_) return;
  mp3Level_ = level;
  // MCI's scale runs to 1000.
  mci_.SendString(L"setaudio MP3Play volume to " + std::to_wstring(level * 10), nullptr, 0);
}

void F_Sound::applyLevel(int level) {
  if (wavPlaying_ || chimePlaying_) setWaveLevel(level);
  if (mp3Started_ && !fellBack_) setMp3Level(level);
}

void F_Sound::FadeTick() {
  if (!fading_) return;
  applyLevel(levelNow());
}

void F_Sound::fallBack() {
  if (fellBack_) return;
  fellBack_ = true;
  if (mci_.WaveOutDevices() == 0) {
    ringingSilently_ = true;
    return;
  }
  setWaveLevel(levelNow());
  chimePlaying_ = mci_.Play(kChimeResource, kSndAsync | kSndLoop | kSndResource);
  if (!chimePlaying_) ringingSilently_ = true;
}

void F_Sound::StartCd(std::int16_t alarm, std::int16_t track) {
  begin(alarm);
  fading_ = false;  // a CD plays at the drive's volume; a chime instead of it rings at once
  loudness_.volume = 100;
  cdPlayed_ = false;
  cdTicks_ = 0;
  if (!OpenCd()) {
    fallBack();
    return;
  }
  cdWatching_ = true;
  cdTrack_ = track;
}

void F_Sound::StartWav(std::int16_t alarm, const std::wstring& file) {
  begin(alarm);
  setWaveLevel(levelNow());
  if (PlayWav(file))
    wavPlaying_ = true;
  else
    fallBack();
}

void F_Sound::StartMp3(std::int16_t alarm, const std::wstring& file) {
  begin(alarm);
  mp3Played_ = false;
  mp3Ticks_ = 0;
  if (!PlayMp3(file, levelNow())) fallBack();
  // Repeated and stopped even when the open failed: the alias may still be held by an earlier
  // alarm's MP3, and the restart and the stop then reach that one.
  mp3Started_ = true;
}

void F_Sound::StartChime(std::int16_t alarm) {
  begin(alarm);
  fallBack();
}

bool F_Sound::BeginTest() {
  if (Ringing()) return false;
  if (testing_) Stop();  // a test started again begins afresh
  nextIsTest_ = true;
  return true;
}

void F_Sound::StopTest() {
  if (!testing_) return;
  Stop();
  testing_ = false;
}

void F_Sound::Stop() {
  if (cdWatching_) {
    cdWatching_ = false;
    StopCd();
  }
  // The WAV and the chime share the player: one stop ends either.
  if (wavPlaying_ || chimePlaying_) {
    wavPlaying_ = chimePlaying_ = false;
    StopWav();
  }
  if (mp3Started_) {
    mp3Started_ = false;
    StopMp3();
  }
  ringingSilently_ = false;
  fading_ = false;
  StopStrike();
}

void F_Sound::WatchTick() {
  if (!cdWatching_) return;
  WatchCd(cdTrack_);
  cdWatching_ = CdOk;
  if (cdPlayed_) return;
  if (!CdOk) {
    fallBack();
  } else if (++cdTicks_ >= kCdStartTicks) {
    // Three seconds without a successful play (a repeat track past the disc's last one): the
    // watcher would go on failing every 200 ms, so the disc is let go for the chime.
    cdWatching_ = false;
    StopCd();
    fallBack();
  }
}

void F_Sound::RepeatTick() {
  if (!mp3Started_) return;
  if (mp3Played_) {
    RepeatMp3();
    return;
  }
  // Only a fresh answer counts: the buffer may still hold an earlier alarm's "playing".
  const bool answered = queryMp3Mode() == 0;
  const bool playing = startsWith(mp3ModeBuffer_, L"playing");
  if (answered && playing) {
    mp3Played_ = true;
  } else if (++mp3Ticks_ >= kMp3StartTicks) {
    // Three seconds and never playing (bytes that are no MP3 under an .mp3 name open and
    // "play" without a sound): restarting it every second would ring nothing, so the file is
    // let go for the chime.
    mp3Started_ = false;
    StopMp3();
    fallBack();
  } else if (!playing) {
    restartMp3();
  }
}

void F_Sound::WatchCd(std::int16_t track) {
  CdOk = true;
  if (!watchCdSteps(track)) CdOk = false;
}

// False where the watch has to give up; the watcher then switches itself off.
bool F_Sound::watchCdSteps(std::int16_t repeatTrack) {
  const std::wstring track = MciStatus(L"status cdaudio current track");
  if (upper(track).find(L"ERR") != std::wstring::npos) return false;
  // The count is not needed: a readable answer proves that a disc is in the drive.
  const std::wstring count = MciStatus(L"status cdaudio number of tracks");
  if (upper(count).find(L"ERR") != std::wstring::npos) return false;
  const int mode = mci_.SendString(L"status cdaudio mode", &cdModeBuffer_, kCdModeLength);
  const bool stopped = startsWith(cdModeBuffer_, L"stopped");
  // Only a fresh answer counts: the buffer may still hold an earlier alarm's "playing".
  if (mode == 0 && startsWith(cdModeBuffer_, L"playing")) cdPlayed_ = true;

  if (repeatTrack != 0) {
    // The track is compared even when the disc has stopped, so a reply that is no number
    // ends the watch either way.
    double current = 0;
    if (!parseNumber(track, current)) return false;
    if (stopped || current != repeatTrack) {
      // The position goes out as the device gave it, an error text included.
      const std::wstring position =
          MciStatus(L"status cdaudio position track " + std::to_wstring(repeatTrack));
      if (MciPlay(L"cdaudio", position, L"") == 0) cdPlayed_ = true;
    }
  } else if (stopped) {
    if (MciPlay(L"cdaudio", L"", L"") == 0) cdPlayed_ = true;
  }
  return true;
}

void F_Sound::StopCd() {
  mci_.SendString(L"stop cdaudio", nullptr, 0);
  mci_.SendString(L"close cdaudio", nullptr, 0);
}

bool F_Sound::PlayMp3(const std::wstring& file, int level) {
  // Quoted, so that a path with blanks stays one argument. The command lives in a fixed field
  // padded with blanks that MCI skips; a longer command gets a longer field rather than being
  // cut, which would leave the alarm silent.
  std::wstring command =
      L"open \"" + file + L"\" type MPEGVideo Alias MP3Play";
  command.resize(std::max(kMp3OpenLength, command.size()), L' ');
  if (mci_.SendString(command, nullptr, 0) != 0) return false;
  // A new alias plays at full volume: a softer start is set before it sounds.
  mp3Level_ = 100;
  setMp3Level(level);
  return mci_.SendString(L"play MP3Play", nullptr, 0) == 0;
}

int F_Sound::queryMp3Mode() {
  return mci_.SendString(L"status MP3Play mode", &mp3ModeBuffer_, kMp3ModeLength);
}

bool F_Sound::IsMp3Playing() {
  queryMp3Mode();
  return startsWith(mp3ModeBuffer_, L"playing");
}

void F_Sound::RepeatMp3() {
  if (!IsMp3Playing()) restartMp3();
}

void F_Sound::restartMp3() {
  mci_.SendString(L"stop MP3Play", nullptr, 0);
  mci_.SendString(L"play MP3Play from 0", nullptr, 0);
}

void F_Sound::StopMp3() {
  mci_.SendString(L"stop MP3Play", nullptr, 0);
  mci_.SendString(L"close MP3Play", nullptr, 0);
}

bool F_Sound::PlayWav(const std::wstring& file) {
  if (mci_.WaveOutDevices() == 0) return false;
  return mci_.Play(file.c_str(), kSndAsync | kSndLoop);
}

void F_Sound::StopWav() { mci_.Play(nullptr, 0); }
