#include "ui/picture_box.h"

#include "ui/form.h"

#include <cmath>
#include <cstring>

namespace {

// DIB pixels are 0x00RRGGBB; colours are red in the low byte.
std::uint32_t ToPixel(Colour c) {
  const std::uint32_t v = static_cast<std::uint32_t>(c);
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

int RoundPixel(double v) { return static_cast<int>(std::floor(v + 0.5)); }

const wchar_t kPictureClass[] = L"Tessarine_PictureBox";

HBITMAP NewImage(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : width_(width),
      height_(height),
      image_(NewImage(width, height)),
      imageSelected_(dc_.get(), image_.get()),
      font_(CreateFontW(-kNumeralPixels96, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, kNumeralFace)),
      fontSelected_(dc_.get(), font_.get()),
      penSelected_(dc_.get(), GetStockObject(DC_PEN)),
      scaleW_(width),
      scaleH_(height) {
  DIBSECTION dib{};
  if (image_ && GetObjectW(image_.get(), sizeof dib, &dib) == sizeof dib)
    bits_ = static_cast<std::uint32_t*>(dib.dsBm.bmBits);
  SetBkMode(dc_.get(), TRANSPARENT);
  Clear();
}

void ImageCanvas::SetScale(double left, double top, double right, double bottom) {
  if (right == left || bottom == top) return;  // no such scale: keep the one in force
  left_ = left;
  top_ = top;
  scaleW_ = right - left;
  scaleH_ = bottom - top;
}

void ImageCanvas::ResetScale() { SetScale(0, 0, width_, height_); }

int ImageCanvas::px(double x) const { return RoundPixel((x - left_) * width_ / scaleW_); }
int ImageCanvas::py(double y) const { return RoundPixel((y - top_) * height_ / scaleH_); }

void ImageCanvas::SetBackColour(Colour c) {
  back_ = c;
  frozen_.clear();
  Clear();
}

void ImageCanvas::selectPen(Colour c) {
  HDC dc = dc_.get();
  if (drawWidth_ == 1) {
    SetDCPenColor(dc, ToColorRef(c));
    penSelected_.Select(GetStockObject(DC_PEN));
    return;
  }
  for (const KeptPen& kept : keptPens_) {
    if (kept.pen && kept.colour == c && kept.width == drawWidth_) {
      penSelected_.Select(kept.pen.get());
      return;
    }
  }
  KeptPen& kept = keptPens_[nextKeptPen_];
  nextKeptPen_ = (nextKeptPen_ + 1) % keptPens_.size();
  penSelected_.Select(GetStockObject(DC_PEN));  // the pen given up may be the selected one
  kept.colour = c;
  kept.width = drawWidth_;
  kept.pen.reset(CreatePen(PS_SOLID, drawWidth_, ToColorRef(c)));
  penSelected_.Select(kept.pen.get());
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, Colour c) {
  HDC dc = dc_.get();
  selectPen(c);
  MoveToEx(dc, px(x1), py(y1), nullptr);
  LineTo(dc, px(x2), py(y2));
  // A line includes its end point; a wide pen's round cap already covers it.
  if (drawWidth_ == 1) SetPixelV(dc, px(x2), py(y2), ToColorRef(c));
  Changed();
}

void ImageCanvas::Circle(double cx, double cy, double r, Colour c) {
  HDC dc = dc_.get();
  selectPen(c);
  SelectGuard selBrush(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, px(cx - r), py(cy - r), px(cx + r) + 1, py(cy + r) + 1);
  Changed();
}

void ImageCanvas::FilledDisc(double cx, double cy, double r, Colour fill) {
  HDC dc = dc_.get();
  SetDCBrushColor(dc, ToColorRef(fill));
  SelectGuard selPen(dc, GetStockObject(NULL_PEN));
  SelectGuard selBrush(dc, GetStockObject(DC_BRUSH));
  const int left = px(cx - r), top = py(cy - r), right = px(cx + r), bottom = py(cy + r);
  if (right == left && bottom == top) {
    // A zero radius is still the disc's centre pixel; GDI paints nothing for a 1 x 1 ellipse.
    SetPixelV(dc, left, top, ToColorRef(fill));
  } else {
    // A null pen leaves the right and bottom edge unpainted; one more pixel makes the disc
    // span the whole diameter.
    Ellipse(dc, left, top, right + 1, bottom + 1);
  }
  Changed();
}

void ImageCanvas::Print(double x, double y, const std::wstring& text, Colour c) {
  SetTextColor(dc_.get(), ToColorRef(c));
  TextOutW(dc_.get(), px(x), py(y), text.c_str(), static_cast<int>(text.size()));
  Changed();
}

void ImageCanvas::SetFont(const wchar_t* face, int pixelHeight, BYTE charset, BYTE quality) {
  Font font(CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                        DEFAULT_PITCH | FF_DONTCARE, face));
  if (!font) return;
  fontSelected_.Select(font.get());
  font_ = std::move(font);  // the font it replaces is no longer selected
}

SIZE ImageCanvas::textExtent(const std::wstring& text) {
  SIZE s{0, 0};
  GetTextExtentPoint32W(dc_.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

double ImageCanvas::TextWidth(const std::wstring& text) {
  return textExtent(text).cx * scaleW_ / width_;
}

double ImageCanvas::TextHeight(const std::wstring& text) {
  return textExtent(text).cy * scaleH_ / height_;
}

void ImageCanvas::Clear() {
  if (!bits_) return;
  GdiFlush();
  const size_t n = static_cast<size_t>(width_) * height_;
  if (frozen_.size() == n) {
    std::memcpy(bits_, frozen_.data(), n * sizeof(std::uint32_t));
  } else {
    const std::uint32_t p = ToPixel(back_);
    for (size_t i = 0; i < n; ++i) bits_[i] = p;
  }
  Changed();
}

void ImageCanvas::Freeze() {
  if (!bits_) return;
  GdiFlush();
  frozen_.assign(bits_, bits_ + static_cast<size_t>(width_) * height_);
}

void ImageCanvas::Blit(int x, int y, int w, int h, Canvas& src, int sx, int sy, BlitMode mode) {
  auto* from = dynamic_cast<ImageCanvas*>(&src);
  if (!from) return;
  BitBlt(dc_.get(), x, y, w, h, from->Dc(), sx, sy, mode == BlitMode::Or ? SRCPAINT : SRCCOPY);
  Changed();
}

PictureBox::PictureBox(HWND parent, int x, int y, int width, int height)
    : ImageCanvas(width, height) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  // A device context of its own: releasing a shared one after every frame costs the X
  // server a rejected clip request and the font a reload, ten times a second.
  EnsureWindowClass(kPictureClass, &PictureBox::Proc, CS_OWNDC);
  hwnd_ = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                          width, height, parent, nullptr, inst, this);
  if (hwnd_) screenDc_ = GetDC(hwnd_);  // the class's own DC: kept, never released
}

PictureBox::~PictureBox() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void PictureBox::Changed() {
  if (hwnd_ && !manualRefresh_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Refresh(const RECT* area) {
  // A hidden box (its clock sent to the tray) presents nothing: the paint that comes with
  // showing it again copies the whole image.
  if (!screenDc_ || !IsWindowVisible(hwnd_)) return;
  RECT r{0, 0, PixelWidth(), PixelHeight()};
  if (area) IntersectRect(&r, &r, area);
  BitBlt(screenDc_, r.left, r.top, r.right - r.left, r.bottom - r.top, Dc(), r.left, r.top,
         SRCCOPY);
}

LRESULT CALLBACK PictureBox::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<PictureBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT PictureBox::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      BitBlt(dc, 0, 0, PixelWidth(), PixelHeight(), Dc(), 0, 0, SRCCOPY);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // The box keeps the mouse while a button is down, so a drag goes on when the cursor
      // runs ahead of the window.
      SetCapture(hwnd_);
      const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      if (mouse_.down) mouse_.down(button);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (mouse_.move) mouse_.move();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == hwnd_) ReleaseCapture();
      if (mouse_.up) mouse_.up();
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      // The form sees every key, whichever box has the focus.
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}
