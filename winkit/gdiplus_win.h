#pragma once

// GDI+ for our sources. <windows.h> under WIN32_LEAN_AND_MEAN leaves out IStream, and NOMINMAX
// the min and max that MSVC's GDI+ headers call unqualified: both are supplied before <gdiplus.h>.
#include <windows.h>

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
