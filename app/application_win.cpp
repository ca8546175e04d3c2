#include "app/application_win.h"

#include <windows.h>

#include <shlobj.h>

#include "clock/F_Tokei.h"
#include "clock/alarm_service.h"
#include "clock/alarm_timers_win.h"
#include "memory/F_Clean.h"
#include "model/settings_disk.h"
#include "model/texts.h"
#include "settings/F_Setting.h"
#include "settings/F_Zones.h"
#include "settings/strike_options_win.h"
#include "shell/F_Menu.h"
#include "shell/F_Ring.h"
#include "shell/F_TTray.h"
#include "sound/alarm_sound.h"
#include "sound/winmm_port.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"
#include "ui/key_route.h"
#include "ui/topmost.h"
#include "ui/window_names.h"

namespace {

// The disk as ChooseIniPath sees it.
class DiskFolders : public SettingsFolders {
 public:
  bool CanWrite(const std::wstring& path) override {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
      if (!opens(path, OPEN_EXISTING, 0)) return false;  // opening for writing writes nothing
    }
    // Deleted when closed, even if the program is killed meanwhile.
    return opens(path + L".probe", OPEN_ALWAYS,
                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
  }
  bool Exists(const std::wstring& path) override {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::wstring UserDataFolder() override {
    wchar_t dir[MAX_PATH];
    if (SHGetFolderPathLate(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, dir) != S_OK)
      return L"";
    return dir;
  }
  bool MakeFolder(const std::wstring& dir) override {
    return CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
  }
  bool Copy(const std::wstring& from, const std::wstring& to) override {
    if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) return false;
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
  }

 private:
  static bool opens(const std::wstring& path, DWORD disposition, DWORD flags) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  }
};

}  // namespace

Application::Application(std::wstring programDir) {
  state_.ProgramDir = std::move(programDir);
  DiskFolders folders;
  const IniChoice ini = ChooseIniPath(state_.ProgramDir, folders);
  state_.IniPath = ini.path;
  iniUnwritable_ = ini.unwritable;
  iniFile_ = OpenSettingsFile(state_.IniPath);
  store_ = std::make_unique<SettingsStore>(*iniFile_, state_.ProgramDir);
  store_->Load();
  // Told once: the start already says so when no settings file can be written.
  store_->TellFailuresBy(
      [](const std::wstring& path) {
        const std::wstring text = Tr(Text::IniUnwritable, path);
        MessageBoxW(nullptr, text.c_str(), Tr(Text::MessageTitle).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
      },
      iniUnwritable_);
  winmm_ = MakeWinmmPort();
  sound_ = std::make_unique<F_Sound>(*winmm_);
  files_ = std::make_unique<DiskFileProbe>(state_.IniPath);
  alarmTimers_ = std::make_unique<AlarmTimersWin>();
  // The service hears of new settings before the clock is laid out anew with them.
  alarms_ = std::make_unique<AlarmService>(*store_, *sound_, *files_, *alarmTimers_);
  alarmTimers_->Serve(*alarms_);
  alarms_->AskBeforeStriking(notifications_);
  alarms_->Listen(*this);
  store_->Listen([this](unsigned what, int alarm) { settingsChanged(what, alarm); });
  settingsChanged(kChangedAll, -1);  // the language; no window is loaded yet
  clock_ = std::make_unique<F_Tokei>(*store_, *alarms_, *this);
  menu_ = std::make_unique<F_Menu>(*store_, *this);
  tray_ = std::make_unique<F_TTray>(*store_, *this);
}

// Windows go before the sound module and the port they use.
Application::~Application() {
  zones_.reset();
  ring_.reset();
  settings_.reset();
  tray_.reset();
  menu_.reset();
  clock_.reset();
  alarmTimers_.reset();  // no tick reaches the service from here on
  alarms_.reset();
}

void Application::Start(bool mayStartInTray) {
  // Quit from the notification area, it starts there: a Startup shortcut shows only the icon.
  inTray_ = mayStartInTray && store_->Where().inTray;
  clock_->Form_Load(!inTray_);
  if (inTray_) tray_->Form_Load();
  showTrayBeside();
  // Once, with the clock already running: its alarms ring while the message waits.
  if (iniUnwritable_) {
    const std::wstring text = Tr(Text::IniUnwritable, state_.IniPath);
    MessageBoxW(nullptr, text.c_str(), Tr(Text::MessageTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
}

int Application::Run() {
  MSG msg;
  for (;;) {
    // While an alarm is on, the wait takes in the clock's wake timer too; while the clock is
    // shown, it ends at the pendulum's next frame.
    HANDLE wake = alarmTimers_->WakeHandle();
    const DWORD frameIn = clock_->FrameWait();
    if (frameIn == 0) {
      clock_->Frame();
      continue;
    }
    if (!wake && frameIn == INFINITE) {
      // Under Wine the wait below costs one server call more per message than GetMessage.
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) return got == 0 ? static_cast<int>(msg.wParam) : 0;
      dispatch(msg);
      continue;
    }
    const DWORD woke = MsgWaitForMultipleObjectsEx(wake ? 1 : 0, wake ? &wake : nullptr, frameIn,
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_TIMEOUT) continue;  // the frame is due
    if (wake && woke == WAIT_OBJECT_0) {
      alarmTimers_->WakeFired();
      clock_->TimeMoved();
      continue;
    }
    if (woke == WAIT_FAILED) WaitMessage();
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      dispatch(msg);
    }
  }
}

void Application::dispatch(const MSG& msg) {
  clock_->FramesToTimer();  // the message may run a nested loop, where only timers go on
  if (RouteKey(msg)) return;  // the windows' own keys, as in every loop the program runs
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Application::settingsChanged(unsigned what, int alarm) {
  if (what & kChangedAll) {
    // Every window's words from here on: at the start and after each change, never between.
    UseLanguage(ChooseLanguage(store_->Get().Language, GetUserDefaultUILanguage()));
    if (clock_ && clock_->Loaded()) reloadClock();
  }
  if ((what & kChangedZones) && clock_) clock_->ZonesChanged();
  // A once-alarm stopped while the dialog is open: its row shows it off, so that the dialog's
  // OK does not switch it on again.
  if ((what & kChangedAlarmSwitch) && settings_) settings_->AlarmSwitchedOff(alarm);
  if (what & kChangedLook) {
    if (clock_) clock_->ApplyLook();
    if (menu_ && menu_->Loaded() && !menu_->Tracking()) menu_->Unload();  // its check marks
    showTrayBeside();
  }
}

// While the mouse passes through the clock, the icon in the notification area is the way back
// to its menu: it shows beside the shown clock.
void Application::showTrayBeside() {
  if (!tray_ || !clock_ || !clock_->Loaded() || inTray_) return;
  const bool beside = store_->Get().ClickThrough != 0;
  if (beside && !tray_->Loaded()) tray_->Form_Load();
  if (!beside && tray_->Loaded()) tray_->Unload();
}

void Application::reloadClock() {
  clock_->Hide();
  clock_->Unload();
  clock_->Form_Load();
  // Sent to the tray while the dialog was open: it stays there until called back.
  if (inTray_) clock_->Hide();
}

void Application::StopClockSound() { alarms_->Stop(LocalMinuteNow()); }

// To the second: a snooze rings its length after the press.
void Application::SnoozeClockAlarm() {
  int second = 0;
  const std::int64_t minute = LocalMinuteNow(second);
  alarms_->Snooze(minute, second);
}

std::optional<RingNotice> Application::ClockRinging() const { return alarms_->Ringing(); }

void Application::CancelClockSnooze() { alarms_->CancelSnooze(LocalMinuteNow()); }

void Application::ShowRingWindow(const std::optional<RingNotice>& ring) {
  if (!ring) {
    if (ring_) ring_->Unload();
    return;
  }
  if (!ring_) ring_ = std::make_unique<F_Ring>(*this);
  // Beside the clock on the screen; by the notification area while the clock is in the tray.
  const bool clockShown = clock_->Loaded() && !inTray_;
  ring_->Form_Load(*ring, clockShown ? clock_->hwnd() : nullptr);
}

void Application::NextRingChanged(const std::wstring& text) {
  if (tray_) tray_->ShowNextAlarm(text);
}

void Application::ShowTrayRinging(bool lit) {
  if (tray_) tray_->ShowRinging(lit);
}

void Application::ShowOtherZones(const std::vector<std::wstring>& lines) {
  if (tray_) tray_->ShowOtherZones(lines);
}

bool Application::StartSoundTest(const SoundTest& test) { return alarms_->StartTest(test); }

void Application::StopSoundTest() { alarms_->StopTest(); }

bool Application::SoundTesting() const { return alarms_->Testing(); }

void Application::SetMemoryCheck(bool on) { clock_->SetMemoryCheck(on); }

void Application::SetClockTopMost(std::int16_t topMost) {
  if (clock_->Loaded()) SetTopMost(clock_->hwnd(), topMost);
}

void Application::SaveClockPlacement() { clock_->SavePlacement(); }

void Application::OpenMenu(MenuPlace source, std::optional<ScreenPoint> at) {
  // A menu left loaded by a dismissed popup keeps its entries; every command that moves the
  // clock between screen and tray unloads it, so it is loaded afresh for the other place. A ring
  // that began or ended since it was loaded adds or takes away ｽﾇｰｽﾞ and 停止, a snooze
  // ｽﾇｰｽﾞ解除.
  const bool ringing = ClockRinging().has_value();
  const bool snoozing = alarms_->Snoozing();
  if (menu_->Loaded() && !menu_->Shows(ringing, snoozing)) menu_->Unload();
  if (!menu_->Loaded()) menu_->Form_Load(source, ringing, snoozing);
  HWND owner = source == MenuPlace::Tray && tray_->Loaded() ? tray_->hwnd() : clock_->hwnd();
  menu_->PopUp(owner, at ? std::optional<POINT>(POINT{at->x, at->y}) : std::nullopt);
}

void Application::SendToTray() {
  inTray_ = true;
  store_->NoteInTray(true);
  clock_->Hide();  // stays loaded: its timers, alarms and memory check go on
  if (!tray_->Loaded()) tray_->Form_Load();
}

void Application::BackFromTray() {
  inTray_ = false;
  store_->NoteInTray(false);
  tray_->Unload();  // deletes the icon
  clock_->Show();
  showTrayBeside();
}

void Application::BringClockBack() {
  if (!clock_->Loaded()) return;
  // Called back by a second start: a clock the mouse passes through takes clicks again.
  if (store_->Get().ClickThrough && !menu_->Tracking()) store_->SetClickThrough(0);
  if (inTray_) {
    if (menu_->Tracking()) {
      // The tray's menu is open and this call runs inside its loop, where the menu and the
      // icon's window must stay: the menu closes first, as dismissed, and the call comes again.
      EndMenu();
      PostMessageW(clock_->hwnd(), RegisterWindowMessageW(kShowClockMessage), 0, 0);
      return;
    }
    // As "時計の表示" does: the menu is loaded afresh for the clock's own place.
    if (menu_->Loaded()) menu_->Unload();
    BackFromTray();
  }
  SetForegroundWindow(clock_->hwnd());
}

// Only the clock's menu offers it.
void Application::OpenSettings(MenuPlace) {
  if (!settings_) settings_ = std::make_unique<F_Setting>(*store_, *this);
  // Open already: it only comes to the front.
  if (!settings_->Loaded()) settings_->Form_Load();
  settings_->Activate();
}

void Application::OpenZones() {
  if (!zones_) zones_ = std::make_unique<F_Zones>(*store_);
  if (!zones_->Loaded()) zones_->Form_Load();
  SetForegroundWindow(zones_->hwnd());
}

bool Application::SettingsDialogOpen() const { return settings_ && settings_->Loaded(); }

// A cleaner still showing (cleaning, or its message open) is left to finish: one showing,
// one cleaning.
void Application::OpenCleaner() {
  if (!cleaner_) cleaner_ = std::make_unique<F_Clean>(*store_);
  if (!cleaner_->Loaded()) cleaner_->Form_Load();
}

// Over the clock while it shows, on its own while the clock is in the notification area; the
// tray's menu can ask again while it is open, which only brings it forward.
void Application::OpenStrikeWindow() {
  if (HWND open = FindWindowW(kStrikeWindowClass, nullptr)) {
    SetForegroundWindow(open);
    return;
  }
  HWND owner = clock_->Loaded() && IsWindowVisible(clock_->hwnd()) ? clock_->hwnd() : nullptr;
  const auto strike = EditStrike(owner, store_->Get().Strike,
                                 owner ? WindowDpi(owner) : SystemDpi(), *this);
  if (strike) store_->SetStrike(*strike);
}

bool Application::StartStrikeTest(const StrikeOptions& strike) {
  return alarms_->StartStrikeTest(strike);
}

void Application::StopStrikeTest() { alarms_->StopStrike(); }

bool Application::Striking() const { return alarms_->Striking(); }

void Application::Quit() {
  tray_->Unload();  // no icon may outlive the program
  PostQuitMessage(0);
}

int Application::RunVerb(Verb verb) {
  const int answer = VerbAnswer(verb, ClockRinging().has_value(), inTray_);
  // The second start has its answer now; what the verb opens may run a loop of its own.
  ReplyMessage(answer);
  if (answer != kExitDone || !clock_->Loaded()) return answer;
  if (menu_->Tracking()) {
    // Inside the menu's loop the menu and its owner must stay: it closes, as dismissed, and the
    // verb runs again after it.
    EndMenu();
    PostMessageW(clock_->hwnd(), RegisterWindowMessageW(kVerbAgainMessage), VerbToWire(verb), 0);
    return answer;
  }
  switch (verb) {
    case Verb::Show: BringClockBack(); break;
    case Verb::Hide:
      if (menu_->Loaded()) menu_->Unload();  // loaded afresh for the tray
      SendToTray();
      break;
    case Verb::Settings:
      SetMemoryCheck(false);  // no cleaning while the dialog is open, as from the menu
      OpenSettings(MenuPlace::Clock);
      break;
    case Verb::Stop: StopClockSound(); break;
    case Verb::Snooze: SnoozeClockAlarm(); break;
    case Verb::Exit:
      SaveClockPlacement();
      Quit();
      break;
    case Verb::StrikeOn:
    case Verb::StrikeOff: menu_->SwitchStrike(verb == Verb::StrikeOn); break;
    case Verb::Help: break;
  }
  return answer;
}
