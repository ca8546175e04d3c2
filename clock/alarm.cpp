#include "clock/alarm.h"

namespace {

// The last three characters, upper-cased: how a sound file tells WAV from MP3.
std::wstring fileEnding(const std::wstring& path) {
  std::wstring ending = path.size() > 3 ? path.substr(path.size() - 3) : path;
  for (auto& c : ending)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return ending;
}

constexpr int kCd = 1;
constexpr int kSoundFile = 2;

}  // namespace

AlarmClock::AlarmClock(const Settings& settings, F_Sound& sound, AlarmHost& host,
                       bool& stopRequested)
    : StopRequested(stopRequested), settings_(settings), sound_(sound), host_(host) {}

void AlarmClock::Reset() {
  AlarmDone = false;
  StopRequested = false;
}

void AlarmClock::OnTick(bool minuteChanged, int hour, int minute) {
  if (!minuteChanged) return;
  if (StopRequested) {
    AlarmDone = false;
    StopRequested = false;
  }
  if (AlarmDone) return;

  for (int i = 0; i < 2; ++i) {
    // Only 1 switches an alarm on; a true written as -1 does not.
    if (settings_.Sound_C[i] != 1 || settings_.Sound_H[i] != hour ||
        settings_.Sound_M[i] != minute)
      continue;
    sound_.CurrentAlarm = static_cast<std::int16_t>(i);
    if (settings_.Sound_Kbn[i] == kCd) {
      sound_.OpenCd();
      host_.SetTimer5(true);
    }
    const std::wstring& file = settings_.Sound_F[i];
    if (settings_.Sound_Kbn[i] == kSoundFile && host_.FileExists(file)) {
      const std::wstring ending = fileEnding(file);
      if (ending == L"WAV") sound_.PlayWav();
      if (ending == L"MP3") {
        sound_.PlayMp3();
        host_.SetTimer4(true);
      }
    }
    // Fired even when nothing could be started; alarm 0 wins a shared minute.
    AlarmDone = true;
    break;
  }
}

void AlarmClock::StopSound() {
  StopRequested = true;
  if (host_.Timer5Enabled()) {
    host_.SetTimer5(false);
    sound_.StopCd();
  }
  const int alarm = sound_.CurrentAlarm;
  if (alarm < 0 || alarm > 1 || settings_.Sound_Kbn[alarm] != kSoundFile) return;
  // The MP3 repeat timer stays on: its restarts fail silently once the file is closed.
  const std::wstring ending = fileEnding(settings_.Sound_F[alarm]);
  if (ending == L"WAV") sound_.StopWav();
  if (ending == L"MP3") sound_.StopMp3();
}

void AlarmClock::Timer4_Timer() { sound_.RepeatMp3(); }

void AlarmClock::Timer5_Timer() {
  sound_.WatchCd();
  host_.SetTimer5(sound_.CdOk);
}
