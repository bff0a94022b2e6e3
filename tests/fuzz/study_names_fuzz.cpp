// The naming rules of studies on any text. The input is a list of null-terminated names, as the
// game file's section listing gives them; its first name doubles as a numbering pattern.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/study_names.h"
#include "fuzz/fuzz_input.h"

namespace saltor {
namespace {

bool IsNameBlank(wchar_t c) {
    return std::wstring_view(L" \t\r\n\v\f\x1A").find(c) != std::wstring_view::npos;
}

// Names come out whole, non-empty and in order; the list ends at its first empty name.
void CheckSplit(std::wstring_view list, const std::vector<std::wstring>& names) {
    size_t pos = 0;
    for (const std::wstring& name : names) {
        SALTOR_FUZZ_CHECK(!name.empty() && name.find(L'\0') == std::wstring::npos);
        SALTOR_FUZZ_CHECK(list.substr(pos, name.size()) == name);
        pos += name.size();
        SALTOR_FUZZ_CHECK(pos == list.size() || list[pos] == L'\0');
        ++pos;
    }
    SALTOR_FUZZ_CHECK(pos >= list.size() || list[pos] == L'\0');
}

void CheckName(std::wstring_view name) {
    const std::wstring trimmed = TrimStudyName(name);
    SALTOR_FUZZ_CHECK(name.find(trimmed) != std::wstring_view::npos);
    SALTOR_FUZZ_CHECK(trimmed.empty() ||
                      (!IsNameBlank(trimmed.front()) && !IsNameBlank(trimmed.back())));
    SALTOR_FUZZ_CHECK(TrimStudyName(trimmed) == trimmed);

    // A storable name never breaks the game file's line, entry or section structure.
    if (IsStorableStudyName(trimmed)) {
        SALTOR_FUZZ_CHECK(!trimmed.empty() && trimmed.front() != L'[' && trimmed.front() != L';');
        SALTOR_FUZZ_CHECK(trimmed.find_first_of(L"=\r\n") == std::wstring::npos);
    }

    const std::wstring lower = AsciiLower(name);
    SALTOR_FUZZ_CHECK(lower.size() == name.size() && AsciiLower(lower) == lower);
    SALTOR_FUZZ_CHECK(SameStudyName(name, lower) && SameStudyName(lower, name));
    for (size_t i = 0; i < name.size(); ++i) {
        // Only A..Z change, so "É" and the Turkish dotted I never match their small forms.
        const bool capital = name[i] >= L'A' && name[i] <= L'Z';
        SALTOR_FUZZ_CHECK(capital ? lower[i] == name[i] + (L'a' - L'A') : lower[i] == name[i]);
    }
}

// The first free name is not listed and every smaller number's name is; since numbers give
// distinct names, it is found within one more number than there are names listed.
void CheckNumbering(std::wstring_view pattern, const std::vector<std::wstring>& listed) {
    const std::wstring free = FirstFreeStudyName(pattern, listed);
    const auto isListed = [&](const std::wstring& name) {
        return std::any_of(listed.begin(), listed.end(),
                           [&](const std::wstring& s) { return SameStudyName(s, name); });
    };
    SALTOR_FUZZ_CHECK(!isListed(free));
    for (int n = 1;; ++n) {
        SALTOR_FUZZ_CHECK(n <= static_cast<int>(listed.size()) + 1);
        const std::wstring name = NumberedStudyName(pattern, n);
        if (name == free) {
            break;
        }
        SALTOR_FUZZ_CHECK(isListed(name));
    }
}

}  // namespace
}  // namespace saltor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace saltor;
    const std::wstring list = fuzz::WideFromBytes(data, size);
    std::vector<std::wstring> names = SplitNameList(list);
    CheckSplit(list, names);
    for (const std::wstring& name : names) {
        CheckName(name);
    }
    if (!names.empty()) {
        // Bounded, so a long list does not make one input quadratic in its size.
        names.resize(std::min<size_t>(names.size(), 64));
        CheckNumbering(names.front(), names);
        for (size_t i = 1; i < names.size(); ++i) {
            SALTOR_FUZZ_CHECK(SameStudyName(names[0], names[i]) ==
                              SameStudyName(names[i], names[0]));
            SALTOR_FUZZ_CHECK(SameStudyName(names[0], names[i]) ==
                              (AsciiLower(names[0]) == AsciiLower(names[i])));
        }
    }
    return 0;
}
