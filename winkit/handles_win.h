#pragma once

#include <windows.h>

namespace saltor {

// Owns one handle and gives it back to the system once, through `Traits::Close`. `Traits::Valid`
// says which values hold something: kernel handles have two empty values, since CreateFileW and
// the other creators disagree on the failure value.
template <typename Handle, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle Get() const noexcept { return handle_; }
    bool Valid() const noexcept { return Traits::Valid(handle_); }
    explicit operator bool() const noexcept { return Valid(); }

    Handle Release() noexcept {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

    void Reset(Handle handle = nullptr) noexcept {
        if (Valid()) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

namespace handle_traits {

struct Kernel {
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// Handles whose one empty value is null, given back by `close`.
template <typename Handle, auto close>
struct NullIsEmpty {
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { close(h); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<HANDLE, handle_traits::Kernel>;
template <typename Handle>
using UniqueGdiObject = UniqueResource<Handle, handle_traits::NullIsEmpty<Handle, DeleteObject>>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
// A memory device context from CreateCompatibleDC.
using UniqueMemoryDc = UniqueResource<HDC, handle_traits::NullIsEmpty<HDC, DeleteDC>>;
using UniqueAccelerators =
    UniqueResource<HACCEL, handle_traits::NullIsEmpty<HACCEL, DestroyAcceleratorTable>>;
using UniqueIcon = UniqueResource<HICON, handle_traits::NullIsEmpty<HICON, DestroyIcon>>;
// A window this object alone owns, such as a popup that its owner's destruction would not take.
using UniqueWindow = UniqueResource<HWND, handle_traits::NullIsEmpty<HWND, DestroyWindow>>;

// A window's (or, for null, the screen's) device context from GetDC, released with its window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects objects into a device context and puts back the one that was selected before the first
// of them, so a DC is never left holding an object that is about to be deleted. Declare it after
// the objects it selects, so that it is destroyed before them.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc) { Select(object); }
    ~SelectedObject() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // Switches to another object of the same kind; the original one is still what comes back.
    void Select(HGDIOBJ object) noexcept {
        if (object == nullptr) {
            return;
        }
        HGDIOBJ before = SelectObject(dc_, object);
        if (previous_ == nullptr && before != HGDI_ERROR) {
            previous_ = before;
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace saltor
