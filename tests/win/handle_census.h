#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace saltor {

// The GDI and USER handles of this process, by kind. Windows reports the totals; Wine reports 0
// but takes a handle by its table index alone, so there the tables are walked.
struct HandleCensus {
    DWORD gdiReported = 0, userReported = 0, windows = 0, menus = 0, accelerators = 0, icons = 0;
    std::array<DWORD, 15> gdiByType{};  // by GetObjectType
    std::vector<std::string> bitmaps;   // their sizes, sorted, to name the ones that came

    bool operator==(const HandleCensus& o) const {
        return std::tie(gdiReported, userReported, gdiByType, windows, menus, accelerators,
                        icons) == std::tie(o.gdiReported, o.userReported, o.gdiByType, o.windows,
                                           o.menus, o.accelerators, o.icons);
    }

    static HandleCensus Take() {
        HandleCensus c;
        c.gdiReported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        c.userReported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        for (ULONG_PTR index = 1; index < 0x10000; ++index) {
            const auto object = reinterpret_cast<HGDIOBJ>(index);
            const DWORD type = GetObjectType(object);
            c.gdiByType[type < c.gdiByType.size() ? type : 0] += type != 0 ? 1 : 0;
            BITMAP bitmap{};
            if (type == OBJ_BITMAP && GetObjectW(object, sizeof(bitmap), &bitmap)) {
                c.bitmaps.push_back(std::to_string(bitmap.bmWidth) + "x" +
                                    std::to_string(bitmap.bmHeight) + "x" +
                                    std::to_string(bitmap.bmBitsPixel));
            }
        }
        const DWORD self = GetCurrentProcessId();
        for (ULONG_PTR value = 0x20; value < 0x10000; value += 2) {
            const auto handle = reinterpret_cast<HANDLE>(value);
            DWORD owner = 0;
            ICONINFO icon{};
            if (IsWindow(static_cast<HWND>(handle))) {
                GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
                c.windows += owner == self ? 1 : 0;
            } else if (IsMenu(static_cast<HMENU>(handle))) {
                ++c.menus;
            } else if (CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
                ++c.accelerators;
            } else if (GetIconInfo(static_cast<HICON>(handle), &icon)) {
                DeleteObject(icon.hbmMask);
                DeleteObject(icon.hbmColor);
                ++c.icons;
            }
        }
        std::sort(c.bitmaps.begin(), c.bitmaps.end());
        return c;
    }

    // Wine keeps 14 x 5 bitmaps of its own (none of ours has that size), made at moments we
    // could not pin down; one more may come between two counts, never two: that alone passes.
    HandleCensus WithoutWinesBitmapSince(const HandleCensus& earlier) const {
        const std::string wines = "14x5x24";
        HandleCensus c = *this;
        if (std::count(bitmaps.begin(), bitmaps.end(), wines) ==
            std::count(earlier.bitmaps.begin(), earlier.bitmaps.end(), wines) + 1) {
            c.bitmaps.erase(std::find(c.bitmaps.begin(), c.bitmaps.end(), wines));
            --c.gdiByType[OBJ_BITMAP];
        }
        return c;
    }

    std::string Describe() const {
        std::string text = "GDI reported " + std::to_string(gdiReported) + ", by type:";
        for (size_t t = 1; t < gdiByType.size(); ++t) {
            text += " " + std::to_string(gdiByType[t]);
        }
        text += "; USER reported " + std::to_string(userReported) + ", " + std::to_string(windows) +
                " windows, " + std::to_string(menus) + " menus, " + std::to_string(accelerators) +
                " accelerator tables, " + std::to_string(icons) + " cursors and icons; bitmaps:";
        for (const std::string& b : bitmaps) {
            text += " " + b;
        }
        return text;
    }
};

// Wine keeps up to 64 window DCs cached and makes a new one whenever none is free: the count
// depends on how many were ever in use at once. Filled to the top first, the cache no longer
// grows, and only a DC that is never released shows.
inline void FillWindowDcCache(HWND window) {
    std::array<HDC, 64> held{};
    for (HDC& dc : held) {
        dc = GetDC(window);
    }
    for (HDC dc : held) {
        ReleaseDC(window, dc);
    }
}

}  // namespace saltor
