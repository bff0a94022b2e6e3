#include "winkit/resource_string_win.h"

#include "winkit/text_format.h"

namespace saltor {

std::wstring LoadResourceString(UINT id) {
    // With a length of 0 LoadStringW hands out a pointer into the resource itself, which is not
    // terminated; its answer is the length.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring FormatResourceString(UINT id, std::wstring_view subject) {
    return FormatSubject(LoadResourceString(id), subject);
}

}  // namespace saltor
