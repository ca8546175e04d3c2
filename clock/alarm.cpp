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
  const int now = hour * 60 + minute;
  if (firedMinute_ != now) firedMinute_ = -1;
  // A reload in the minute of an alarm would start it a second time over the first.
  if (AlarmDone || firedMinute_ == now) return;

  for (int i = 0; i < 2; ++i) {
    // Only 1 switches an alarm on; a true written as -1 does not.
    if (settings_.Sound_C[i] != 1 || settings_.Sound_H[i] != hour ||
        settings_.Sound_M[i] != minute)
      continue;
    const auto alarm = static_cast<std::int16_t>(i);
    sound_.CurrentAlarm = alarm;
    if (settings_.Sound_Kbn[i] == kCd) sound_.StartCd(alarm, settings_.Sound_Repeat[i]);
    const std::wstring& file = settings_.Sound_F[i];
    if (settings_.Sound_Kbn[i] == kSoundFile && host_.FileExists(file)) {
      const std::wstring ending = fileEnding(file);
      if (ending == L"WAV") sound_.StartWav(alarm, file);
      if (ending == L"MP3") sound_.StartMp3(alarm, file);
    }
    // Fired even when nothing could be started; alarm 0 wins a shared minute.
    AlarmDone = true;
    firedMinute_ = now;
    break;
  }
}

void AlarmClock::StopSound() {
  StopRequested = true;
  sound_.Stop();
}

void AlarmClock::Timer4_Timer() { sound_.RepeatTick(); }

void AlarmClock::Timer5_Timer() { sound_.WatchTick(); }
