// A Canvas for tests: records every drawing call with its arguments in user units, together
// with the scale in force at the time, so a test can check a position in dial units or in
// pixels. Text is measured with a fixed pixel size per character, converted to user units by
// the scale in force, as the GDI canvas converts its font metrics.
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"

class RecordingCanvas : public Canvas {
 public:
  enum class Kind { SetScale, ResetScale, SetBackColour, Line, Circle, FilledDisc, Print, Clear, Freeze, Blit };

  struct Scale {
    double left = 0, top = 0, width = 0, height = 0;
  };

  struct Call {
    Kind kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;  // Line: both ends; Circle/Disc: centre, r
    Colour colour = 0;
    std::wstring text;
    int w = 0, h = 0, sx = 0, sy = 0;  // Blit (x1, y1 hold the destination pixel)
    Canvas* source = nullptr;
    BlitMode mode = BlitMode::Copy;
    Scale scale;
    int width = 1;  // the pen width in force
  };

  static constexpr double CharWidthPx = 7;
  static constexpr double TextHeightPx = 13;

  RecordingCanvas(int widthPx, int heightPx)
      : widthPx_(widthPx), heightPx_(heightPx), scale_{0, 0, double(widthPx), double(heightPx)} {}

  std::vector<Call> calls;

  std::vector<Call> Of(Kind k) const {
    std::vector<Call> out;
    for (const auto& c : calls)
      if (c.kind == k) out.push_back(c);
    return out;
  }

  // User units of the scale in force at a recorded call, mapped to pixels.
  double PixelX(const Call& c, double x) const { return (x - c.scale.left) * widthPx_ / c.scale.width; }
  double PixelY(const Call& c, double y) const { return (y - c.scale.top) * heightPx_ / c.scale.height; }

  void SetScale(double left, double top, double right, double bottom) override {
    scale_ = {left, top, right - left, bottom - top};
    record(Kind::SetScale);
  }
  void ResetScale() override {
    scale_ = {0, 0, double(widthPx_), double(heightPx_)};
    record(Kind::ResetScale);
  }
  double ScaleWidth() const override { return scale_.width; }
  double ScaleHeight() const override { return scale_.height; }

  void SetBackColour(Colour c) override { record(Kind::SetBackColour).colour = c; }
  void SetDrawWidth(int pixels) override { width_ = pixels; }
  void Line(double x1, double y1, double x2, double y2, Colour c) override {
    Call& k = record(Kind::Line);
    k.x1 = x1, k.y1 = y1, k.x2 = x2, k.y2 = y2, k.colour = c;
  }
  void Circle(double cx, double cy, double r, Colour c) override {
    Call& k = record(Kind::Circle);
    k.x1 = cx, k.y1 = cy, k.r = r, k.colour = c;
  }
  void FilledDisc(double cx, double cy, double r, Colour c) override {
    Call& k = record(Kind::FilledDisc);
    k.x1 = cx, k.y1 = cy, k.r = r, k.colour = c;
  }
  void Print(double x, double y, const std::wstring& text, Colour c) override {
    Call& k = record(Kind::Print);
    k.x1 = x, k.y1 = y, k.text = text, k.colour = c;
  }
  double TextWidth(const std::wstring& text) override {
    return CharWidthPx * text.size() * scale_.width / widthPx_;
  }
  double TextHeight(const std::wstring&) override { return TextHeightPx * scale_.height / heightPx_; }
  void Clear() override { record(Kind::Clear); }
  void Freeze() override { record(Kind::Freeze); }
  void Blit(int x, int y, int w, int h, Canvas& src, int sx, int sy, BlitMode mode) override {
    Call& k = record(Kind::Blit);
    k.x1 = x, k.y1 = y, k.w = w, k.h = h, k.source = &src, k.sx = sx, k.sy = sy, k.mode = mode;
  }

 private:
  Call& record(Kind k) {
    Call c;
    c.kind = k;
    calls.push_back(c);
    calls.back().scale = scale_;
    calls.back().width = width_;
    return calls.back();
  }

  int widthPx_, heightPx_;
  Scale scale_;
  int width_ = 1;
};

inline Colour Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
