#include "app/application_win.h"

#include <windows.h>

#include "app/topmost_win.h"
#include "clock/F_Tokei.h"
#include "memory/F_Clean.h"
#include "sound/f_sound.h"
#include "sound/winmm_port.h"

Application::Application(std::wstring programDir) {
  state_.ProgramDir = std::move(programDir);
  state_.IniPath = IniPathFor(state_.ProgramDir);
  state_.SettingsDialogOpen = 0;
  winmm_ = MakeWinmmPort();
  sound_ = std::make_unique<F_Sound>(*winmm_, state_.settings);
  clock_ = std::make_unique<F_Tokei>(state_, *sound_, *this);
}

// Windows go before the sound module and the port they use.
Application::~Application() { clock_.reset(); }

void Application::Start() { clock_->Form_Load(); }

int Application::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

void Application::ShowClock() { clock_->Show(); }
void Application::HideClock() { clock_->Hide(); }

void Application::ReloadClock() {
  clock_->Hide();
  clock_->Unload();
  clock_->Form_Load();
}

void Application::StopClockSound() { clock_->StopSound(); }
void Application::SetMemoryCheck(bool on) { clock_->SetMemoryCheck(on); }

void Application::SetClockTopMost(std::int16_t topMost) {
  if (clock_->Loaded()) SetTopMost(clock_->hwnd(), topMost);
}

void Application::SaveClockPlacement() { clock_->SavePlacement(); }

void Application::OpenMenu(std::int16_t source) { state_.MenuSource = source; }
void Application::SendToTray() {}
void Application::BackFromTray() {}
void Application::OpenSettings() {}
// A cleaner still showing (cleaning, or its message open) is left to finish: one showing,
// one cleaning.
void Application::OpenCleaner() {
  if (!cleaner_) cleaner_ = std::make_unique<F_Clean>(state_);
  if (!cleaner_->Loaded()) cleaner_->Form_Load();
}

void Application::Quit() { PostQuitMessage(0); }
