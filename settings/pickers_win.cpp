#include "settings/pickers_win.h"

#include <array>

#include "model/texts.h"
#include "settings/edit_rules.h"
#include "ui/late_dlls.h"

std::optional<Colour> PickColour(HWND owner) {
  // Built afresh for every call: whatever the user put in the boxes last time is gone.
  auto custom = CustomColours([](int k) { return static_cast<std::uint32_t>(GetSysColor(k)); });
  std::array<COLORREF, 16> boxes{};
  for (std::size_t k = 0; k < boxes.size(); ++k) boxes[k] = custom[k];

  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
  cc.rgbResult = 0;
  cc.lpCustColors = boxes.data();
  cc.Flags = CC_PREVENTFULLOPEN;
  if (!ChooseColorLate(&cc)) return std::nullopt;
  return static_cast<Colour>(cc.rgbResult & 0xFFFFFF);
}

std::optional<std::wstring> PickSoundFile(HWND owner, const std::wstring& alarmPath) {
  // One filter: its description, its patterns, and the closing double NUL.
  std::wstring filter = Tr(Text::ChooserFilter);
  filter += std::wstring(L"\0*.MP3;*.WAV\0", 14);
  constexpr DWORD kBuffer = 255;
  std::wstring file(kBuffer, L'\0'), title(kBuffer, L'\0');
  const std::wstring initialDir = ChooserInitialDir(alarmPath);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the record's first form
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kBuffer;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = kBuffer;
  ofn.lpstrInitialDir = initialDir.c_str();
  ofn.lpstrTitle = Tr(Text::ChooserTitle).c_str();
  // A name typed into the box must name a file that is there: the dialog itself says so,
  // rather than an alarm that the next start switches off.
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameLate(&ofn) <= 0) return std::nullopt;
  file.resize(file.find(L'\0'));
  return file;
}
