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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace saltor;
    const std::wstring list = fuzz::WideFromBytes(data, size);
    std::vector<std::wstring> names = SplitNameList(list);
    // Names come out whole, non-empty and in order; the list ends at its first empty name.
    size_t pos = 0;
    for (const std::wstring& name : names) {
        SALTOR_FUZZ_CHECK(!name.empty() && list.compare(pos, name.size(), name) == 0);
        pos += name.size();
        SALTOR_FUZZ_CHECK(pos == list.size() || list[pos] == L'\0');
        ++pos;
    }
    SALTOR_FUZZ_CHECK(pos >= list.size() || list[pos] == L'\0');

    for (const std::wstring& name : names) {
        const std::wstring trimmed = TrimStudyName(name);
        constexpr std::wstring_view blanks = L" \t\r\n\v\f\x1A";
        SALTOR_FUZZ_CHECK(name.find(trimmed) != std::wstring::npos);
        SALTOR_FUZZ_CHECK(trimmed.empty() || (blanks.find(trimmed.front()) == blanks.npos &&
                                              blanks.find(trimmed.back()) == blanks.npos));
        // A storable name never breaks the game file's line, entry or section structure.
        SALTOR_FUZZ_CHECK(!IsStorableStudyName(trimmed) ||
                          (trimmed.front() != L'[' && trimmed.front() != L';' &&
                           trimmed.find_first_of(L"=\r\n") == std::wstring::npos));
        // Only A..Z change, so "É" and the Turkish dotted I never match their small forms.
        const std::wstring lower = AsciiLower(name);
        SALTOR_FUZZ_CHECK(lower.size() == name.size() && SameStudyName(lower, name));
        for (size_t i = 0; i < name.size(); ++i) {
            const bool capital = name[i] >= L'A' && name[i] <= L'Z';
            SALTOR_FUZZ_CHECK(lower[i] == name[i] + (capital ? L'a' - L'A' : 0));
        }
    }
    if (names.empty()) {
        return 0;
    }
    // Bounded, so a long list does not make one input quadratic in its size.
    names.resize(std::min<size_t>(names.size(), 64));
    for (const std::wstring& name : names) {
        SALTOR_FUZZ_CHECK(SameStudyName(names[0], name) ==
                          (AsciiLower(names[0]) == AsciiLower(name)));
    }
    // The first free name is not listed and every smaller number's name is; since numbers give
    // distinct names, it is found within one more number than there are names listed.
    const std::wstring free = FirstFreeStudyName(names[0], names);
    const auto listed = [&](const std::wstring& name) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::wstring& s) { return SameStudyName(s, name); });
    };
    for (int n = 1; NumberedStudyName(names[0], n) != free; ++n) {
        SALTOR_FUZZ_CHECK(n <= static_cast<int>(names.size()) &&
                          listed(NumberedStudyName(names[0], n)));
    }
    SALTOR_FUZZ_CHECK(!listed(free));
    return 0;
}
