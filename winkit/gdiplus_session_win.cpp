#include "winkit/gdiplus_session_win.h"

#include "winkit/gdiplus_win.h"

namespace saltor {

GdiplusSession::GdiplusSession() {
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        token_ = token;
    }
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

}  // namespace saltor
