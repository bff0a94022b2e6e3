#include "winkit/path_text.h"

namespace saltor {

namespace {

constexpr wchar_t kSeparators[] = L"\\/";

}  // namespace

std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view extension) {
    if (path.empty()) {
        return {};
    }
    const size_t nameStart = path.find_last_of(kSeparators);
    const size_t dot = path.rfind(L'.');
    const bool hasExtension =
        dot != std::wstring_view::npos && (nameStart == std::wstring_view::npos || dot > nameStart);
    std::wstring result(hasExtension ? path.substr(0, dot) : path);
    result += extension;
    return result;
}

std::wstring BaseNameWithoutExtension(std::wstring_view path) {
    const size_t slash = path.find_last_of(kSeparators);
    std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring_view::npos) {
        name = name.substr(0, dot);
    }
    return std::wstring(name);
}

std::wstring FolderOf(std::wstring_view path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

void AppendPathPart(std::wstring& path, std::wstring_view part) {
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    path += part;
}

}  // namespace saltor
