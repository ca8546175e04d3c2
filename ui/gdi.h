// RAII owners for GDI objects and device contexts, so that no drawing path restores or
// deletes by hand.
#pragma once

#include <windows.h>

#include <string>

#include <cstdint>

#include "ui/dpi.h"
#include "ui/font_spec.h"
#include "ui/handle.h"

// A program colour (red + 256 * green + 65536 * blue) as GDI takes it; a high byte, which GDI
// would read as flags, is dropped.
inline COLORREF ToColorRef(std::int32_t c) { return static_cast<COLORREF>(c) & 0xFFFFFF; }

// Owns one GDI object (brush, pen, font, bitmap, region) and deletes it.
struct DeleteObjectCall {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
template <typename H>
using GdiObject = Owned<H, DeleteObjectCall>;

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A font `pixels` high (the character height), as every window's text is made.
inline HFONT CreatePixelFont(const std::wstring& face, int pixels, int charset,
                             int weight = FW_NORMAL) {
  return CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, static_cast<BYTE>(charset),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

// The layout's font at a window's density.
inline HFONT FontAt(const FontSpec& spec, int dpi, int weight = FW_NORMAL) {
  return CreatePixelFont(spec.face, ScaleToDpi(spec.pixels, dpi), spec.charset, weight);
}

// Selects an object into a DC and puts the previous one back when it goes. Windows refuses
// to delete an object that is still selected, so a guard lives beside its object, declared
// after it (and after the DC's owner): it is undone before either is deleted.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  // Another object of the same kind in the guarded place; what the DC held before the guard
  // still comes back at the end.
  void Select(HGDIOBJ obj) {
    HGDIOBJ previous = SelectObject(dc_, obj);
    if (!old_ || old_ == HGDI_ERROR) old_ = previous;
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC that is deleted with its owner.
class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC / ReleaseDC for one scope.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};
