#include "files/study_names.h"

#include "winkit/text_format.h"

#include <algorithm>

namespace saltor {

namespace {

wchar_t AsciiLowerChar(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The blanks the profile functions strip around names, ^Z (a DOS end of file) included.
bool IsNameBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
           c == 0x1A;
}

}  // namespace

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLowerChar);
    return lower;
}

std::wstring TrimStudyName(std::wstring_view name) {
    while (!name.empty() && IsNameBlank(name.front())) {
        name.remove_prefix(1);
    }
    while (!name.empty() && IsNameBlank(name.back())) {
        name.remove_suffix(1);
    }
    return std::wstring(name);
}

bool IsStorableStudyName(std::wstring_view name) {
    return !name.empty() && name.front() != L'[' && name.front() != L';' &&
           name.find_first_of(L"=\r\n") == std::wstring_view::npos;
}

bool SameStudyName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return AsciiLowerChar(x) == AsciiLowerChar(y); });
}

std::wstring NumberedStudyName(std::wstring_view pattern, int n) {
    size_t numbered = 0;
    std::wstring name = FormatNumbers(pattern, {n}, &numbered);
    if (numbered == 0) {
        name += L' ' + std::to_wstring(n);  // a pattern without "%d" must still give distinct names
    }
    return name;
}

std::wstring FirstFreeStudyName(std::wstring_view pattern,
                                const std::vector<std::wstring>& listed) {
    // At most listed.size() numbers are taken, so this ends by listed.size() + 1.
    for (int n = 1;; ++n) {
        std::wstring name = NumberedStudyName(pattern, n);
        const bool taken = std::any_of(listed.begin(), listed.end(), [&](const std::wstring& s) {
            return SameStudyName(s, name);
        });
        if (!taken) {
            return name;
        }
    }
}

std::vector<std::wstring> SplitNameList(std::wstring_view list) {
    std::vector<std::wstring> names;
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = std::min(list.find(L'\0', start), list.size());
        if (end == start) {
            break;  // the empty name that ends the list
        }
        names.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace saltor
