#include "winkit/window_base_win.h"

namespace saltor {

// By now the derived object is gone: the window is cut loose first, so that the messages of its
// destruction reach DefWindowProc instead of a half-destroyed object.
CWindowBase::~CWindowBase() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

HWND CWindowBase::Create(const wchar_t* className, UINT classStyle, HWND parent, DWORD style,
                         DWORD exStyle, const RECT& rect, UINT_PTR id, HCURSOR classCursor) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = classStyle;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = classCursor;
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    return CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(id), instance, this);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<CWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    bool handled = false;
    const LRESULT result = self->HandleMessage(msg, wParam, lParam, handled);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return handled ? result : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// As for windows: the dialog is cut loose before it is destroyed. A derived class that must see
// its own WM_DESTROY destroys the dialog in its destructor.
CDialogBase::~CDialogBase() {
    if (hwnd_ && IsWindow(hwnd_) && !modal_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

HWND CDialogBase::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = false;
    result_ = 0;
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogBase::DoModal(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = true;
    result_ = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
    return result_;
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) {
        return FALSE;
    }
    bool handled = false;
    const INT_PTR result = self->HandleMessage(msg, wParam, lParam, handled);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    if (msg == WM_INITDIALOG) {
        return result;
    }
    if (handled) {
        // A dialog procedure answers TRUE for "handled" and puts the result in DWLP_MSGRESULT.
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

}  // namespace saltor
