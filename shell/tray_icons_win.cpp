#include "shell/tray_icons_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "shell/tray_icon.h"
#include "ui/gdi.h"

HICON MakeRingingIcon(HICON base) {
  ICONINFO info{};
  if (!base || !GetIconInfo(base, &info)) return nullptr;
  const Bitmap mask(info.hbmMask), colour(info.hbmColor);  // GetIconInfo's copies: ours to free
  if (!colour) return nullptr;
  BITMAP bm{};
  GetObjectW(mask.get(), sizeof bm, &bm);
  const int w = bm.bmWidth, h = bm.bmHeight;
  const Brush fill(CreateSolidBrush(RGB(224, 32, 32)));
  const Pen edge(CreatePen(PS_SOLID, std::max(1, w / 8), RGB(255, 255, 255)));
  {
    MemoryDc dc, maskDc;
    SelectGuard maskIn(maskDc.get(), mask.get());
    SelectGuard colourIn(dc.get(), colour.get());
    SelectGuard brush(dc.get(), fill.get());
    SelectGuard pen(dc.get(), GetStockObject(NULL_PEN));
    Ellipse(dc.get(), 0, 0, w + 1, h + 1);
    pen.Select(edge.get());
    brush.Select(GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), w / 4, h / 4, w - w / 4, h - h / 4);
    // Black wherever the mask lets the background through, as an icon's colours must be.
    BitBlt(dc.get(), 0, 0, w, h, maskDc.get(), 0, 0, 0x00220326 /* DSna */);
  }
  return CreateIconIndirect(&info);
}

HICON MakeContrastIcon(int size, Colour back, Colour fore) {
  const IconPixels pixels = ContrastClockIcon(size, back, fore);
  if (pixels.size <= 0) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const Bitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour || !bits) return nullptr;
  std::copy(pixels.argb.begin(), pixels.argb.end(), static_cast<std::uint32_t*>(bits));
  // The mask, in rows of whole 16-bit words: set (the taskbar) wherever the disc is not.
  const int stride = (size + 15) / 16 * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(stride * size), 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (!pixels.Inside(x, y))
        mask[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
  const Bitmap maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
  if (!maskBitmap) return nullptr;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = maskBitmap.get();
  info.hbmColor = colour.get();
  return CreateIconIndirect(&info);  // copies both bitmaps
}
