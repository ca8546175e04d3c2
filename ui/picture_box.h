// Picture boxes: a drawing surface with a persistent image (a 32-bit DIB section), a frozen
// background picture that Clear restores, and a user coordinate scale. ImageCanvas is the
// surface alone (an off-screen sprite); PictureBox adds the child window that shows it and
// reports mouse events to its owner.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "ui/canvas.h"
#include "ui/gdi.h"

// The font a new surface prints in: 12 pixels (at 96 DPI) of the Japanese user-interface font,
// small enough for twelve numerals to stand clear of each other inside an 80-pixel dial.
inline constexpr wchar_t kNumeralFace[] = L"MS UI Gothic";
inline constexpr int kNumeralPixels96 = 12;

class ImageCanvas : public Canvas {
 public:
  ImageCanvas(int width, int height);
  ImageCanvas(const ImageCanvas&) = delete;
  ImageCanvas& operator=(const ImageCanvas&) = delete;

  void SetScale(double left, double top, double right, double bottom) override;
  void ResetScale() override;
  double ScaleWidth() const override { return scaleW_; }
  double ScaleHeight() const override { return scaleH_; }
  void SetBackColour(Colour c) override;
  void SetDrawWidth(int pixels) override { drawWidth_ = pixels < 1 ? 1 : pixels; }
  void Line(double x1, double y1, double x2, double y2, Colour c) override;
  void Circle(double cx, double cy, double r, Colour c) override;
  void FilledDisc(double cx, double cy, double r, Colour fill) override;
  void Print(double x, double y, const std::wstring& text, Colour c) override;
  double TextWidth(const std::wstring& text) override;
  double TextHeight(const std::wstring& text) override;
  void Clear() override;
  void Freeze() override;
  void Blit(int x, int y, int w, int h, Canvas& src, int sx, int sy, BlitMode mode) override;

  HDC Dc() const { return dc_.get(); }
  int PixelWidth() const { return width_; }
  int PixelHeight() const { return height_; }
  // The font of Print and the text measures; the box keeps its own copy.
  void SetFont(const wchar_t* face, int pixelHeight, BYTE charset,
               BYTE quality = DEFAULT_QUALITY);

 protected:
  // Called after every change to the image, so a window can repaint.
  virtual void Changed() {}

 private:
  int px(double x) const;
  int py(double y) const;
  SIZE textExtent(const std::wstring& text);

  // Lines and outlines one pixel wide take the DC's own pen in their colour; a wider pen is
  // made once for its colour and width and kept (the memory pie's spokes and rim take four in
  // turn). Selects it into the DC.
  void selectPen(Colour c);

  // Each selection is owned beside what it selects and declared after it, so it is undone
  // before the object or the DC is deleted.
  int width_, height_;
  MemoryDc dc_;
  Bitmap image_;
  SelectGuard imageSelected_;
  std::uint32_t* bits_ = nullptr;
  std::vector<std::uint32_t> frozen_;
  Font font_;
  SelectGuard fontSelected_;
  struct KeptPen {
    Colour colour = 0;
    int width = 0;
    Pen pen;
  };
  std::array<KeptPen, 4> keptPens_;
  std::size_t nextKeptPen_ = 0;
  SelectGuard penSelected_;
  Colour back_ = 0;
  int drawWidth_ = 1;
  double left_ = 0, top_ = 0, scaleW_, scaleH_;
};

class PictureBox : public ImageCanvas {
 public:
  struct MouseHandlers {
    std::function<void(int button)> down;  // 1 left, 2 right, 4 middle
    std::function<void()> move;
    std::function<void()> up;
  };

  PictureBox(HWND parent, int x, int y, int width, int height);
  ~PictureBox() override;

  HWND hwnd() const { return hwnd_; }
  void SetMouseHandlers(MouseHandlers h) { mouse_ = std::move(h); }
  // An animated box presents its frames itself with Refresh instead of waiting for a
  // WM_PAINT after every change: under Wine that round trip is most of the cost of a frame.
  void SetManualRefresh(bool manual) { manualRefresh_ = manual; }
  // Copies the image (or the part of it in `area`) to the screen now.
  void Refresh(const RECT* area = nullptr);

 protected:
  void Changed() override;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  HDC screenDc_ = nullptr;  // the window's own DC (CS_OWNDC); goes with the window
  MouseHandlers mouse_;
  bool manualRefresh_ = false;
};
