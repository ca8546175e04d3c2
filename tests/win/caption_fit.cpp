// Test helper: lays out every caption of the settings dialog and of an alarm's own settings
// window as it is drawn (its text's extent, aligned as drawn, in the dialog's font at a
// density) and finds each that leaves its box, runs into another control or a face's edge,
// or comes within 2 pixels at 96 DPI of its face's edge, its group's frame or the window's.
// Each language is measured in its own font and in the other language's, since a language
// chosen in the settings file on a system of another language is drawn in what that system
// makes of its font. Prints one line per fault:
//   <language>\t<font's language>\t<dpi>\t<window> <control id>,<index>\t<fault>\t<caption>
// and a last line "checked\t<count>". Exit code 1 when any caption does not fit. UTF-8.
//   caption_fit <dpi>...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/texts.h"
#include "settings/alarm_options.h"
#include "settings/dialog_layout.h"
#include "ui/dpi.h"

namespace dl = dialog_layout;
namespace ao = alarm_options;

namespace {

constexpr int kGap = 2;  // kept from a face's or a group's edge, so as not to be read as touching
// Kept after a caption's end before the next control, unless that one is a framed field (a
// list, a figure, the path), whose own frame parts them.
constexpr int kTrailingGap = 2;
constexpr int kFaceEdge = 2;  // a face's raised edge, which its caption stays inside

void print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  std::fputs(out.c_str(), stdout);
}

RECT Scaled(const ui::Box& b, int dpi) {
  const int x = ScaleToDpi(b.x, dpi), y = ScaleToDpi(b.y, dpi);
  return {x, y, x + ScaleToDpi(b.w, dpi), y + ScaleToDpi(b.h, dpi)};
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const RECT& a, const RECT& in) {
  return a.left >= in.left && a.right <= in.right && a.top >= in.top && a.bottom <= in.bottom;
}

// One language measured in one font at one density.
struct Run {
  HDC dc;
  int dpi;
  std::wstring tag;  // "<language>\t<font's language>\t<dpi>"
  int checked = 0, faults = 0;

  int px(int v) const { return ScaleToDpi(v, dpi); }
  SIZE extent(const std::wstring& s) const {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size;
  }
  // The text's cell in `box`, from `left` (or right or centred in the room), at `top`.
  RECT place(const std::wstring& s, const RECT& box, int left, Align align, int top) const {
    const SIZE e = extent(s);
    int x = box.left + left;
    if (align == Align::Right) x = box.right - e.cx;
    if (align == Align::Centre) x = x + (box.right - x - e.cx) / 2;
    return {x, top, x + e.cx, top + e.cy};
  }
  void fault(const std::wstring& where, const std::wstring& what, const std::wstring& caption) {
    ++faults;
    print(tag + L"\t" + where + L"\t" + what + L"\t" + caption + L"\n");
  }
  // Runs the common rules: inside its own box, over none of the boxes in `others` (meeting one
  // is as the layout has it), and the gap inside `room` (a face less its edge, a group's
  // panel, the window).
  void check(const std::wstring& where, const std::wstring& caption, const RECT& text,
             const RECT& own, const std::vector<RECT>& others, const RECT& room,
             const std::vector<RECT>& fields = {}) {
    ++checked;
    if (text.right - text.left > own.right - own.left)
      return fault(where, L"wider than its box " + std::to_wstring(text.right - text.left) +
                              L">" + std::to_wstring(own.right - own.left), caption);
    RECT trailing = text;
    trailing.right += px(kTrailingGap);
    for (const RECT& o : others)
      if (Overlap(trailing, o))
        return fault(where, L"runs into the control at " + std::to_wstring(o.left) + L"," +
                                std::to_wstring(o.top), caption);
    for (const RECT& o : fields)
      if (Overlap(text, o))
        return fault(where, L"runs into the field at " + std::to_wstring(o.left) + L"," +
                                std::to_wstring(o.top), caption);
    RECT clear = text;
    InflateRect(&clear, px(kGap), 0);
    if (!Inside(clear, room)) fault(where, L"touches its face's or group's edge", caption);
  }
};

// The captions the dialog draws in its font as they stand: a bordered box fills in its text
// later and narrows its font to fit it, so only captions of the table are measured.
bool Measured(const dl::Control& c) {
  const wchar_t* caption = dl::Caption(c);
  if (!caption || !*caption || (c.style & dl::kBorder)) return false;
  return c.kind == dl::Kind::Label || c.kind == dl::Kind::FitLabel;
}

void CheckDialog(Run& run) {
  const auto& all = dl::Controls();
  for (const dl::Control& c : all) {
    if (!Measured(c)) continue;
    const RECT own = Scaled(dl::ClientBox(c), run.dpi);
    std::vector<RECT> others, fields;
    RECT room = Scaled(dl::GroupPanel(c.group), run.dpi);
    if (c.group == dl::Group::Base || c.group == dl::Group::Window)
      for (dl::Group g : dl::kFramedGroups) others.push_back(Scaled(dl::GroupFrame(g), run.dpi));
    for (const dl::Control& o : all) {
      if (&o == &c) continue;
      const RECT box = Scaled(dl::ClientBox(o), run.dpi);
      if (o.id == c.liesOn && o.index == c.index) {
        if (o.kind != dl::Kind::Face) continue;
        room = box;
        InflateRect(&room, -run.px(kFaceEdge), 0);
        continue;
      }
      const bool field = (o.style & dl::kBorder) || o.kind == dl::Kind::ListCombo ||
                         o.kind == dl::Kind::EditCombo || o.kind == dl::Kind::ScrollBar;
      (field ? fields : others).push_back(box);
    }
    const std::wstring caption = dl::Caption(c);
    const RECT text = run.place(caption, own, 0, c.kind == dl::Kind::FitLabel ? Align::Left
                                                                               : c.align, own.top);
    run.check(L"dialog " + std::to_wstring(static_cast<int>(c.id)) + L"," +
                  std::to_wstring(c.index), caption, text, own, others, room, fields);
  }
}

// What a control of the alarm's window may show: a value label its longest value, the note
// under the volume either of its texts.
std::vector<std::wstring> ShownTexts(const ao::Control& c) {
  using ao::Id;
  if (c.id == Id::VolumeValue) return {ao::ValueText(Id::Volume, 100)};
  if (c.id == Id::FadeValue) return {ao::ValueText(Id::FadeIn, 60)};
  if (c.id == Id::SnoozeValue) return {ao::ValueText(Id::Snooze, 60)};
  if (c.id == Id::CdNote) return {Tr(Text::CdVolume), Tr(Text::TestWhileRinging)};
  if (c.text == dl::kFilledIn || c.kind == ao::Kind::Edit || c.kind == ao::Kind::Slider)
    return {};
  return {Tr(c.text)};
}

// The alarm's window is made of the system's controls: a check box's caption follows its
// box and half a digit (as Wine draws it), a button's is centred inside its edges, a text's
// is aligned in its box.
// Laid out as the list of alarms opens it, with the time band: opened from a row, the same
// controls lie as far higher, without the band.
void CheckOptionCaption(Run& run, const ao::Control& c, const std::wstring& caption) {
  RECT own = Scaled(ao::Place(c, true), run.dpi);
  std::vector<RECT> others;
  for (const ao::Control& o : ao::Controls())
    if (&o != &c) others.push_back(Scaled(ao::Place(o, true), run.dpi));
  const int middle = own.top + (own.bottom - own.top - run.extent(caption).cy) / 2;
  RECT text;
  if (c.kind == ao::Kind::Check) {
    const int start = run.px(12) + 1 + std::max<int>(run.extent(L"0").cx / 2, run.px(3));
    text = run.place(caption, own, start, Align::Left, middle);
    own.left += start;
  } else if (c.kind == ao::Kind::Text) {
    text = run.place(caption, own, 0, c.align, own.top);
  } else {
    InflateRect(&own, -run.px(4), 0);
    text = run.place(caption, own, 0, Align::Centre, middle);
  }
  run.check(L"options " + std::to_wstring(static_cast<int>(c.id)) + L"," +
                std::to_wstring(c.index), caption, text, own, others,
            Scaled(ao::Client(true), run.dpi));
}

void CheckAlarmWindow(Run& run) {
  for (const ao::Control& c : ao::Controls())
    for (const std::wstring& caption : ShownTexts(c)) CheckOptionCaption(run, c, caption);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int checked = 0, faults = 0;
  HDC screen = GetDC(nullptr);
  for (int a = 1; a < argc; ++a) {
    const int dpi = std::wcstol(argv[a], nullptr, 10);
    for (const Language* fontOf : Languages()) {
      UseLanguage(*fontOf);
      const dl::FontSpec spec = dl::DialogFont();
      HFONT font = CreateFontW(-ScaleToDpi(spec.pixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, static_cast<BYTE>(spec.charset), OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               spec.face.c_str());
      HGDIOBJ before = SelectObject(screen, font);
      for (const Language* language : Languages()) {
        UseLanguage(*language);
        Run run{screen, dpi, std::wstring(language->code) + L"\t" + fontOf->code + L"\t" +
                                 std::to_wstring(dpi)};
        CheckDialog(run);
        CheckAlarmWindow(run);
        checked += run.checked;
        faults += run.faults;
      }
      SelectObject(screen, before);
      DeleteObject(font);
    }
  }
  ReleaseDC(nullptr, screen);
  std::printf("checked\t%d\n", checked);
  return faults ? 1 : 0;
}
