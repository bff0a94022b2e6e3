#include "app/program_paths.h"

#include "winkit/path_text.h"

namespace saltor {

std::wstring HelpFilePathFor(std::wstring_view programPath) {
    return ReplaceExtension(programPath, L".chm");
}

std::wstring GameFilePathFor(std::wstring_view programPath) {
    return ReplaceExtension(programPath, L".ini");
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
