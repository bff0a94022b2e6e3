#include "app/version_text.h"

namespace saltor {

std::wstring FormatVersionText(const std::optional<VersionNumbers>& data) {
    const VersionNumbers numbers = data.value_or(VersionNumbers{});
    const auto part = [](uint32_t word, int shift) {
        return std::to_wstring((word >> shift) & 0xFFFF);
    };
    const std::wstring major = part(numbers.productVersionMS, 16);
    const std::wstring minor = part(numbers.productVersionMS, 0);
    if (data.has_value() && (numbers.fileFlags & kPreReleaseFlag) == 0) {
        return L"Version " + major + L"." + minor;
    }
    return L"Version \u00DF " + major + L"." + minor + L"." + part(numbers.productVersionLS, 16) +
           L"." + part(numbers.productVersionLS, 0);
}

}  // namespace saltor
