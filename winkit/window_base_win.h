#pragma once

#include <windows.h>

namespace saltor {

// A window whose messages go to a C++ object: the object is recovered from the window at
// WM_NCCREATE, and HandleMessage says whether it handled a message; the rest gets the default.
class CWindowBase {
public:
    CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;
    virtual ~CWindowBase();

    HWND Hwnd() const { return hwnd_; }

    // Registers `className` on first use (with the given class style and class cursor, none by
    // default) and creates the window.
    HWND Create(const wchar_t* className, UINT classStyle, HWND parent, DWORD style, DWORD exStyle,
                const RECT& rect, UINT_PTR id = 0, HCURSOR classCursor = nullptr);

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// A dialog from a template, modeless or modal, with the same message routing.
class CDialogBase {
public:
    CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;
    virtual ~CDialogBase();

    HWND Hwnd() const { return hwnd_; }

    HWND CreateModeless(HINSTANCE instance, int templateId, HWND owner);
    INT_PTR DoModal(HINSTANCE instance, int templateId, HWND owner);
    // Ends the dialog, modal or modeless (which tests drive without a loop of its own); Result()
    // then tells how it was closed, 0 before.
    void EndDialog(INT_PTR result) {
        result_ = result;
        ::EndDialog(hwnd_, result);
    }
    INT_PTR Result() const { return result_; }

protected:
    // For WM_INITDIALOG, the returned value is the dialog procedure's answer.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool modal_ = false;
    INT_PTR result_ = 0;
};

}  // namespace saltor
