#include "app/help_path.h"

namespace saltor {

std::wstring HelpFilePathFor(std::wstring_view programPath) {
    if (programPath.empty()) {
        return {};  // the program's path is unknown: so is the document's
    }
    const size_t nameStart = programPath.find_last_of(L"\\/");
    const size_t dot = programPath.rfind(L'.');
    const bool hasExtension =
        dot != std::wstring_view::npos && (nameStart == std::wstring_view::npos || dot > nameStart);
    std::wstring path(hasExtension ? programPath.substr(0, dot) : programPath);
    path += L".chm";
    return path;
}

std::wstring HelpPagesFirstPageFor(std::wstring_view helpFile) {
    constexpr std::wstring_view extension = L".chm";
    if (helpFile.size() <= extension.size() || !helpFile.ends_with(extension)) {
        return {};
    }
    std::wstring page(helpFile.substr(0, helpFile.size() - extension.size()));
    page += L"-aide\\";
    page += kHelpFirstPage;
    return page;
}

}  // namespace saltor
