#include "winkit/text_format.h"

namespace saltor {

std::wstring FormatNumbers(std::wstring_view format, std::initializer_list<int> values,
                           size_t* used) {
    const int* next = values.begin();
    std::wstring text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L'd' && next != values.end()) {
                text += std::to_wstring(*next++);
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    if (used != nullptr) {
        *used = static_cast<size_t>(next - values.begin());
    }
    return text;
}

std::wstring FormatSubject(std::wstring_view format, std::wstring_view subject) {
    std::wstring text(format);
    if (const size_t at = text.find(L"%s"); at != std::wstring::npos) {
        text.replace(at, 2, subject);
    } else {
        text += L'\n';
        text += subject;
    }
    return text;
}

}  // namespace saltor
