#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace saltor {

// The GDI and USER handles of this process, by kind. Windows reports the totals; Wine reports 0
// but takes a handle by its table index alone, so there the tables are walked.
struct HandleCensus {
    // GDI objects by GetObjectType, then the reported GDI and USER totals, our windows, menus,
    // accelerator tables, cursors and icons, and Wine's own 14 x 5 bitmaps.
    std::array<DWORD, 22> counts{};
    enum { kReported = 15, kWindows = 17, kMenus, kAccelerators, kIcons, kWinesBitmaps };

    static HandleCensus Take() {
        HandleCensus c;
        c.counts[kReported] = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        c.counts[kReported + 1] = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        for (ULONG_PTR index = 1; index < 0x10000; ++index) {
            const auto object = reinterpret_cast<HGDIOBJ>(index);
            const DWORD type = GetObjectType(object);
            c.counts[type < kReported ? type : 0] += type != 0;
            BITMAP bitmap{};
            c.counts[kWinesBitmaps] += type == OBJ_BITMAP &&
                                       GetObjectW(object, sizeof(bitmap), &bitmap) &&
                                       bitmap.bmWidth == 14 && bitmap.bmHeight == 5;
        }
        for (ULONG_PTR value = 0x20; value < 0x10000; value += 2) {
            const auto handle = reinterpret_cast<HANDLE>(value);
            DWORD owner = 0;
            ICONINFO icon{};
            if (IsWindow(static_cast<HWND>(handle))) {
                GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
                c.counts[kWindows] += owner == GetCurrentProcessId();
            } else if (IsMenu(static_cast<HMENU>(handle))) {
                ++c.counts[kMenus];
            } else if (CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
                ++c.counts[kAccelerators];
            } else if (GetIconInfo(static_cast<HICON>(handle), &icon)) {
                DeleteObject(icon.hbmMask);
                DeleteObject(icon.hbmColor);
                ++c.counts[kIcons];
            }
        }
        return c;
    }

    // Wine makes 14 x 5 bitmaps of its own (none of ours has that size) at moments we could not
    // pin down; one more may come between two counts, never two: that alone passes.
    bool SameAs(const HandleCensus& earlier) const {
        HandleCensus c = *this;
        if (c.counts[kWinesBitmaps] == earlier.counts[kWinesBitmaps] + 1) {
            --c.counts[kWinesBitmaps];
            --c.counts[OBJ_BITMAP];
        }
        return c.counts == earlier.counts;
    }

    std::string Describe() const {
        std::string text;
        for (const DWORD count : counts) {
            text += " " + std::to_string(count);
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
