#include "board/gdiplus_session.h"

// <windows.h> under WIN32_LEAN_AND_MEAN leaves out IStream, and NOMINMAX the min and max that
// MSVC's GDI+ headers call unqualified: both are supplied before <gdiplus.h>.
#include <windows.h>

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

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
