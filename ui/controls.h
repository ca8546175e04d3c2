// The dialog's controls: pictures from the program's resources, the image and label controls
// that a form draws on itself (so that they lie on its textured panels without a background
// of their own), and thin owners for the real combo boxes and scroll bars.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/align.h"
#include "ui/colour.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/scroll_range.h"

// A bitmap resource of the program, in the drawing made for a screen's density; empty when it
// is missing, and then draws nothing.
class Picture {
 public:
  Picture() = default;
  // Resource `resourceId` (the 100 % drawing) at the drawn scale nearest to `dpi`.
  explicit Picture(int resourceId, int dpi = kBaseDpi);
  bool Empty() const { return !bitmap_; }
  // The drawing's own pixels.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The whole picture at `r`'s top-left corner at its size for `dpi` (cut at `r`), or
  // stretched to fill `r`. Copied pixel for pixel when the drawing has that size already.
  void Draw(HDC dc, const RECT& r, bool stretch, int dpi = kBaseDpi) const;

 private:
  Bitmap bitmap_;
  int width_ = 0, height_ = 0;
  int scale_ = 100;  // percent, of the drawing loaded
};

RECT RectAt(int x, int y, int w, int h);

// An image control: shows a picture it does not own.
struct DrawnImage {
  RECT rect{};
  const Picture* picture = nullptr;
  bool Stretch = false;
  int dpi = kBaseDpi;  // of the window it is drawn on
  void Paint(HDC dc) const;
};

// A label control: text with a transparent background unless it has a colour of its own.
struct DrawnLabel {
  RECT rect{};
  std::wstring Caption;
  Colour ForeColor = 0;
  std::optional<Colour> BackColor;
  Align Alignment = Align::Left;
  bool Border = false;
  bool Enabled = true;
  // A bordered label narrows its font until the caption fits, down to a readable width; past
  // that, a path keeps its drive and file name around an ellipsis, anything else is cut.
  bool PathEllipsis = false;
  // A short word drawn at the right end, in the caption's colour, that the caption never
  // covers (a path's "not found"); not part of the caption, which stays the value.
  std::wstring Note;
  void Paint(HDC dc, HFONT font) const;
  // A label placed by its corner only takes the width of its caption.
  void AutoSize(HFONT font);
};

// A command button that shows a colour as its face and has no caption.
struct ColourButton {
  RECT rect{};
  Colour BackColor = 0;
  bool Pressed = false;
  void Paint(HDC dc) const;
};

class ComboBox {
 public:
  // A drop-down list, or with `editable` a box whose text can also be typed. The lists draw
  // their own items (DrawItem), so that two digits fit beside the button of a narrow box.
  bool Create(HWND parent, int id, const RECT& r, bool editable, HFONT font);
  // The box laid out anew (at another density), keeping its items, text and selection;
  // `fieldHeight` is the one MeasureItem gives a list.
  void Place(const RECT& r, HFONT font, int fieldHeight);
  // The parent's WM_MEASUREITEM and WM_DRAWITEM for a list.
  static void MeasureItem(MEASUREITEMSTRUCT& m, int fieldHeight);
  static void DrawItem(const DRAWITEMSTRUCT& d, HFONT font);
  HWND hwnd() const { return hwnd_; }
  void Clear();
  void AddItem(const std::wstring& text);
  // False (and no change) when `index` is not an item.
  bool SetListIndex(int index);
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  void SetEnabled(bool on);
  bool Dropped() const;

 private:
  void keepHeight(const RECT& r);

  HWND hwnd_ = nullptr;
  bool editable_ = false;
};

class ScrollBar {
 public:
  // Starts at the range's initial value.
  bool Create(HWND parent, int id, const RECT& r, const ScrollRange& range);
  // Moved and sized anew, keeping its value.
  void Place(const RECT& r);
  HWND hwnd() const { return hwnd_; }
  int Value() const { return value_; }
  // False (and no change) outside the bar's range.
  bool SetValue(int value);
  // One WM_HSCROLL request; true when the value changed. Dragging the thumb changes the value
  // only when it is let go.
  bool Scroll(int request, int thumbPosition);
  void SetEnabled(bool on);

 private:
  HWND hwnd_ = nullptr;
  ScrollRange range_{0, 0, 1, 1, 0};
  std::int16_t value_ = 0;
};
