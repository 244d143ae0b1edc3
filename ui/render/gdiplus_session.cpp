#include "ui/render/gdiplus_session.h"

#include <windows.h>
#include <gdiplus.h>

namespace {

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

}  // namespace

void StartGdiplusOnce() { static GdiplusSession session; }
