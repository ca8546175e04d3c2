#include "ui/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// `font` (selected in `dc`) narrowed until `text` fits in `room` pixels, as a figure or an
// hour is squeezed rather than cut: every digit of it matters. Never narrower than half the
// font's own average character width, below which letters lose their shapes and run into
// strokes: a text that needs more is given that width and does not fit. No font when the text
// fits as it is.
struct Condensed {
  Font font;
  bool fits = true;
};

Condensed CondensedToFit(HDC dc, HFONT font, const std::wstring& text, int room) {
  const int n = static_cast<int>(text.size());
  SIZE extent{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), n, &extent);
  Condensed result;
  if (extent.cx <= room || room <= 0) return result;
  LOGFONTW lf{};
  TEXTMETRICW tm{};
  if (!GetObjectW(font, sizeof lf, &lf) || !GetTextMetricsW(dc, &tm)) return result;
  const LONG readable = std::max<LONG>(1, (tm.tmAveCharWidth + 1) / 2);
  // Each glyph rounds to whole pixels, so a text does not narrow in proportion to the width
  // asked for: measure each step, from the widest down.
  for (LONG width = std::max(tm.tmAveCharWidth - 1, readable); width >= readable; --width) {
    lf.lfWidth = width;
    result.font = Font(CreateFontIndirectW(&lf));
    SelectGuard sel(dc, result.font.get());
    GetTextExtentPoint32W(dc, text.c_str(), n, &extent);
    if (extent.cx <= room) return result;
  }
  result.fits = false;  // the last one tried is the narrowest readable
  return result;
}

}  // namespace

Picture::Picture(int resourceId, int dpi) {
  for (int scale : ArtScalesFor(dpi)) {
    bitmap_.reset(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ArtResourceId(resourceId, scale)),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bm{};
    if (bitmap_ && GetObjectW(bitmap_.get(), sizeof bm, &bm)) {
      width_ = bm.bmWidth;
      height_ = std::abs(bm.bmHeight);
      scale_ = scale;
      return;
    }
  }
}

void Picture::Draw(HDC dc, const RECT& r, bool stretch, int dpi) const {
  if (!bitmap_) return;
  MemoryDc src;
  SelectGuard sel(src.get(), bitmap_.get());
  // The size at 96 DPI comes back from the drawing's: a 150 % one is 1.5 times it, rounded
  // half up, which rounding the other way undoes.
  const int w = stretch ? r.right - r.left
                        : ScaleToDpi(static_cast<int>(std::lround(width_ * 100.0 / scale_)), dpi);
  const int h = stretch ? r.bottom - r.top
                        : ScaleToDpi(static_cast<int>(std::lround(height_ * 100.0 / scale_)), dpi);
  if (w == width_ && h == height_) {
    BitBlt(dc, r.left, r.top, std::min<int>(w, r.right - r.left),
           std::min<int>(h, r.bottom - r.top), src.get(), 0, 0, SRCCOPY);
    return;
  }
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  // A face stretched at the density it was drawn for repeats its pixels, the way its rows and
  // edge columns are meant to; a drawing of another density is resized smoothly rather than
  // in blocks of pixels.
  const bool ownDensity = dpi * 100 == scale_ * kBaseDpi;
  SetStretchBltMode(dc, ownDensity ? COLORONCOLOR : HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, r.left, r.top, w, h, src.get(), 0, 0, width_, height_, SRCCOPY);
  RestoreDC(dc, saved);
}

RECT RectAt(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

void DrawnImage::Paint(HDC dc) const {
  if (picture) picture->Draw(dc, rect, Stretch, dpi);
}

void DrawnLabel::Paint(HDC dc, HFONT font) const {
  RECT r = rect;
  if (BackColor) {
    Brush b(CreateSolidBrush(ToColorRef(*BackColor)));
    FillRect(dc, &r, b.get());
  }
  if (Border) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    InflateRect(&r, -1, 0);
  }
  if (Caption.empty() && Note.empty()) return;
  SelectGuard sel(dc, font);
  SetBkMode(dc, TRANSPARENT);
  if (!Note.empty()) {
    SetTextColor(dc, ToColorRef(ForeColor));
    RECT noteBox = r;
    DrawTextW(dc, Note.c_str(), static_cast<int>(Note.size()), &noteBox,
              DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_RIGHT);
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, Note.c_str(), static_cast<int>(Note.size()), &extent);
    r.right -= extent.cx + extent.cy / 2;
    if (Caption.empty() || r.right <= r.left) return;
  }
  // A bordered label keeps its text inside its frame, which a caption past the readable
  // narrowing would overrun.
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP | (Border ? 0 : DT_NOCLIP);
  if (Alignment == Align::Centre) format |= DT_CENTER;
  if (Alignment == Align::Right) format |= DT_RIGHT;
  const int n = static_cast<int>(Caption.size());
  Condensed condensed;
  if (Border) condensed = CondensedToFit(dc, font, Caption, r.right - r.left);
  if (!condensed.fits && PathEllipsis) format |= DT_PATH_ELLIPSIS;
  SelectGuard selCondensed(dc, condensed.font ? static_cast<HGDIOBJ>(condensed.font.get()) : font);
  if (Enabled) {
    SetTextColor(dc, ToColorRef(ForeColor));
    DrawTextW(dc, Caption.c_str(), n, &r, format);
  } else {
    // Engraved, the way the system shows disabled text.
    RECT lit = r;
    OffsetRect(&lit, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, Caption.c_str(), n, &lit, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, Caption.c_str(), n, &r, format);
  }
}

void DrawnLabel::AutoSize(HFONT font) {
  if (rect.right > rect.left) return;
  WindowDc screen(nullptr);
  SelectGuard sel(screen.get(), font);
  SIZE s{0, 0};
  GetTextExtentPoint32W(screen.get(), Caption.c_str(), static_cast<int>(Caption.size()), &s);
  rect.right = rect.left + s.cx + (Border ? 4 : 0);
  if (rect.bottom <= rect.top) rect.bottom = rect.top + s.cy;
}

void ColourButton::Paint(HDC dc) const {
  RECT r = rect;
  DrawEdge(dc, &r, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  Brush b(CreateSolidBrush(ToColorRef(BackColor)));
  FillRect(dc, &r, b.get());
}

namespace {
constexpr int kListHeight = 200;  // of a dropped list, below the closed box
}  // namespace

bool ComboBox::Create(HWND parent, int id, const RECT& r, bool editable, HFONT font) {
  editable_ = editable;
  const DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP |
      (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                : CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
  hwnd_ = CreateWindowExW(0, L"COMBOBOX", L"", style, r.left, r.top, r.right - r.left,
                          r.bottom - r.top + kListHeight, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (editable) keepHeight(r);  // a list's height came from MeasureItem
  return true;
}

void ComboBox::Place(const RECT& r, HFONT font, int fieldHeight) {
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + kListHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (editable_) {
    keepHeight(r);
  } else {
    // No new WM_MEASUREITEM comes: the field and the items take the height it would give.
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, fieldHeight);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// The closed box keeps the height it was laid out with, whatever the font.
void ComboBox::keepHeight(const RECT& r) {
  const int frame = static_cast<int>(SendMessageW(hwnd_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  RECT now;
  GetWindowRect(hwnd_, &now);
  const int extra = (now.bottom - now.top) - frame;
  if (extra > 0 && r.bottom - r.top > extra)
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), r.bottom - r.top - extra);
}

void ComboBox::MeasureItem(MEASUREITEMSTRUCT& m, int fieldHeight) {
  m.itemHeight = static_cast<UINT>(fieldHeight);
}

void ComboBox::DrawItem(const DRAWITEMSTRUCT& d, HFONT font) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  const bool disabled = (d.itemState & ODS_DISABLED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT
                                             : disabled ? COLOR_BTNFACE : COLOR_WINDOW));
  if (d.itemID != static_cast<UINT>(-1)) {
    wchar_t text[64] = {};
    if (SendMessageW(d.hwndItem, CB_GETLBTEXTLEN, d.itemID, 0) < 63)
      SendMessageW(d.hwndItem, CB_GETLBTEXT, d.itemID, reinterpret_cast<LPARAM>(text));
    SelectGuard sel(dc, font);
    r.left += 1;  // the narrow boxes need every pixel
    const Condensed condensed = CondensedToFit(dc, font, text, r.right - r.left);
    SelectGuard selCondensed(dc, condensed.font ? static_cast<HGDIOBJ>(condensed.font.get()) : font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected   ? COLOR_HIGHLIGHTTEXT
                                 : disabled ? COLOR_GRAYTEXT
                                            : COLOR_WINDOWTEXT));
    DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    r.left -= 1;
  }
  if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void ComboBox::Clear() { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }

void ComboBox::AddItem(const std::wstring& text) {
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ComboBox::SetListIndex(int index) {
  const int count = static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return false;
  SendMessageW(hwnd_, CB_SETCURSEL, index, 0);
  return true;
}

std::wstring ComboBox::Text() const {
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), n + 1)));
  return text;
}

void ComboBox::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void ComboBox::SetEnabled(bool on) { EnableWindow(hwnd_, on); }

bool ComboBox::Dropped() const { return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

bool ScrollBar::Create(HWND parent, int id, const RECT& r, const ScrollRange& range) {
  range_ = range;
  value_ = range.initial;
  hwnd_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, r.left,
                          r.top, r.right - r.left, r.bottom - r.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SetScrollRange(hwnd_, SB_CTL, range_.min, range_.max, FALSE);
  SetScrollPos(hwnd_, SB_CTL, value_, TRUE);
  return true;
}

void ScrollBar::Place(const RECT& r) {
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ScrollBar::SetValue(int value) {
  if (value < range_.min || value > range_.max) return false;
  if (value == value_) return true;
  value_ = static_cast<std::int16_t>(value);
  SetScrollPos(hwnd_, SB_CTL, value_, TRUE);
  return true;
}

bool ScrollBar::Scroll(int request, int thumbPosition) {
  int delta;
  switch (request) {
    case SB_LINELEFT: delta = -range_.small; break;
    case SB_LINERIGHT: delta = range_.small; break;
    case SB_PAGELEFT: delta = -range_.large; break;
    case SB_PAGERIGHT: delta = range_.large; break;
    case SB_LEFT: delta = range_.min - value_; break;
    case SB_RIGHT: delta = range_.max - value_; break;
    case SB_THUMBPOSITION: delta = thumbPosition - value_; break;
    default: return false;
  }
  const std::int16_t v = Scrolled(range_, value_, delta);
  if (v == value_) return false;
  value_ = v;
  SetScrollPos(hwnd_, SB_CTL, value_, TRUE);
  return true;
}

void ScrollBar::SetEnabled(bool on) { EnableWindow(hwnd_, on); }
