#pragma once

#include <windows.h>

namespace saltor {

// Owns one GDI object (brush, font, pen, bitmap) and deletes it once.
template <typename Handle>
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(Handle handle) noexcept : handle_(handle) {}
    ~UniqueGdiObject() { Reset(); }

    UniqueGdiObject(UniqueGdiObject&& other) noexcept : handle_(other.Release()) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    Handle Release() noexcept {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

    void Reset(Handle handle = nullptr) noexcept {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;

// Owns a memory device context from CreateCompatibleDC.
class UniqueMemoryDc {
public:
    UniqueMemoryDc() = default;
    explicit UniqueMemoryDc(HDC dc) noexcept : dc_(dc) {}
    ~UniqueMemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    UniqueMemoryDc(const UniqueMemoryDc&) = delete;
    UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
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
