// Test helper: measures every caption of the settings dialog and of an alarm's own settings
// window in each language, in the dialog's
// font at a density, against the box the layout keeps for it. Prints one line per caption
// that does not fit:
//   <language>\t<dpi>\t<control id>,<index>\t<text width>\t<box width>\t<caption>
// and a last line "checked\t<count>". Exit code 1 when any caption does not fit. UTF-8.
//   caption_fit <dpi>...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/texts.h"
#include "settings/alarm_options.h"
#include "settings/dialog_layout.h"
#include "ui/dpi.h"

namespace dl = dialog_layout;

namespace {

void print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  std::fputs(out.c_str(), stdout);
}

// The captions the dialog draws in its font as they stand: a bordered box fills in its text
// later and narrows its font to fit it, so only captions of the table are measured.
bool measured(const dl::Control& c) {
  const wchar_t* caption = dl::Caption(c);
  if (!caption || !*caption || (c.style & dl::kBorder)) return false;
  return c.kind == dl::Kind::Label || c.kind == dl::Kind::FitLabel;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int checked = 0, over = 0;
  HDC screen = GetDC(nullptr);
  for (int a = 1; a < argc; ++a) {
    const int dpi = std::wcstol(argv[a], nullptr, 10);
    for (const Language* language : Languages()) {
      UseLanguage(*language);
      const dl::FontSpec spec = dl::DialogFont();
      HFONT font = CreateFontW(-ScaleToDpi(spec.pixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, static_cast<BYTE>(spec.charset), OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               spec.face.c_str());
      HGDIOBJ before = SelectObject(screen, font);
      for (const dl::Control& c : dl::Controls()) {
        if (!measured(c)) continue;
        const std::wstring caption = dl::Caption(c);
        SIZE size{0, 0};
        GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
        const int box = ScaleToDpi(c.box.w, dpi);
        ++checked;
        if (size.cx <= box) continue;
        ++over;
        print(std::wstring(language->code) + L"\t" + std::to_wstring(dpi) + L"\t" +
              std::to_wstring(static_cast<int>(c.id)) + L"," + std::to_wstring(c.index) + L"\t" +
              std::to_wstring(size.cx) + L"\t" + std::to_wstring(box) + L"\t" + caption + L"\n");
      }
      // The alarm's own window: a check box's caption beside its box, a button's inside its
      // edges, a value label's longest value.
      for (const alarm_options::Control& c : alarm_options::Controls()) {
        using alarm_options::Id;
        using alarm_options::Kind;
        std::wstring caption;
        if (c.id == Id::VolumeValue) caption = alarm_options::ValueText(Id::Volume, 100);
        else if (c.id == Id::FadeValue) caption = alarm_options::ValueText(Id::FadeIn, 60);
        else if (c.id == Id::SnoozeValue) caption = alarm_options::ValueText(Id::Snooze, 60);
        else if (c.text != dl::kFilledIn) caption = Tr(c.text);
        if (caption.empty()) continue;
        const int edges = c.kind == Kind::Check ? 20 : c.kind == Kind::Text ? 0 : 8;
        SIZE size{0, 0};
        GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
        const int box = ScaleToDpi(c.box.w - edges, dpi);
        ++checked;
        if (size.cx <= box) continue;
        ++over;
        print(std::wstring(language->code) + L"\t" + std::to_wstring(dpi) + L"\toptions " +
              std::to_wstring(static_cast<int>(c.id)) + L"," + std::to_wstring(c.index) + L"\t" +
              std::to_wstring(size.cx) + L"\t" + std::to_wstring(box) + L"\t" + caption + L"\n");
      }
      SelectObject(screen, before);
      DeleteObject(font);
    }
  }
  ReleaseDC(nullptr, screen);
  std::printf("checked\t%d\n", checked);
  return over ? 1 : 0;
}
