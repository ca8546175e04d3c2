// The drawing surface the clock face is painted on. The Win32 picture box implements it with
// GDI; unit tests implement it by recording the calls. Coordinates are in the surface's user
// scale (pixels until SetScale is called), with y growing downwards.
#pragma once

#include <string>

#include "ui/colour.h"

enum class BlitMode { Copy, Or };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The user scale: (left, top) is the top-left corner, (right, bottom) the bottom-right one.
  virtual void SetScale(double left, double top, double right, double bottom) = 0;
  virtual void ResetScale() = 0;  // back to pixels
  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;

  virtual void SetBackColour(Colour c) = 0;  // and clears to it: a new colour is a new surface
  // Pen width in pixels for the lines and outlines that follow (1 until set).
  virtual void SetDrawWidth(int pixels) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, Colour c) = 0;
  // Outline of radius r, scaled per axis (a circle in a stretched scale is an ellipse).
  virtual void Circle(double cx, double cy, double r, Colour c) = 0;
  // Solid disc without outline, the way a null pen and a solid brush paint it.
  virtual void FilledDisc(double cx, double cy, double r, Colour fill) = 0;
  // Text with transparent background, its top-left corner at (x, y).
  virtual void Print(double x, double y, const std::wstring& text, Colour c) = 0;
  virtual double TextWidth(const std::wstring& text) = 0;
  virtual double TextHeight(const std::wstring& text) = 0;

  // Clear to the frozen background picture if there is one, else to the back colour.
  virtual void Clear() = 0;
  // Make the current image the background picture that Clear restores.
  virtual void Freeze() = 0;
  // Copy a w x h pixel block of `src` at (sx, sy) to this surface at pixel (x, y).
  virtual void Blit(int x, int y, int w, int h, Canvas& src, int sx, int sy, BlitMode mode) = 0;
};
