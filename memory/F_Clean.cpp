#include "memory/F_Clean.h"

#include <string>

#include "model/texts.h"
#include "ui/window_names.h"

void F_Clean::Form_Load() {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  // Topmost, so that it also covers a clock kept above other windows.
  if (!Create(kCleanerWindowClass, L"Tessarine", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, w, h))
    return;
  Timer1.SetEnabled(false);  // a timer of an earlier showing went with its window
  AttachTimer(Timer1);

  image_ = std::make_unique<ImageCanvas>(w, h);
  {
    HWND desktop = GetDesktopWindow();
    WindowDc screen(desktop);
    BitBlt(image_->Dc(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
  }

  // Mask-pen drawing: every pixel ANDed with the filter colour, byte by byte.
  HDC dc = image_->Dc();
  const COLORREF filter = ToColorRef(store_.Get().Filter_Color);
  Pen pen(CreatePen(PS_SOLID, 1, filter));
  Brush brush(CreateSolidBrush(filter));
  {
    SelectGuard selPen(dc, pen.get());
    SelectGuard selBrush(dc, brush.get());
    const int oldRop = SetROP2(dc, R2_MASKPEN);
    Rectangle(dc, 0, 0, w + 1, h + 1);
    SetROP2(dc, oldRop);
  }
  GdiFlush();
  image_->Freeze();  // the tinted picture is what the window repaints

  Show();
  UpdateWindow(hwnd());
  Timer1.SetEnabled(true);
}

void F_Clean::Timer1_Timer() {
  const ClaimResult r = CleanerTick(*this, memory_, allocator_);
  // Not shown to the user; a debugger (or a test) can see how much was cleaned.
  const std::wstring note = L"Tessarine: cleaned " + std::to_wstring(r.written) + L" bytes in " +
                           std::to_wstring(r.blocks) + (r.claimed ? L" blocks\n" : L" blocks, short\n");
  OutputDebugStringW(note.c_str());
}

void F_Clean::ShowShortageMessage() {
  MessageBoxW(hwnd(), Tr(Text::CleanerShortage).c_str(), Tr(Text::MessageTitle).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

void F_Clean::Close() {
  Unload();
  image_.reset();  // the screen-sized picture is not kept between showings
}

LRESULT F_Clean::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      if (image_) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, image_->Dc(), r.left,
               r.top, SRCCOPY);
      }
      EndPaint(hwnd(), &ps);
      return 0;
    }
  }
  return Form::HandleMessage(msg, wp, lp);
}
