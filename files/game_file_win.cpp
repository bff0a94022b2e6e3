#include "files/game_file_win.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "files/study_names.h"
#include "winkit/file_win.h"
#include "winkit/handles_win.h"

namespace saltor {

namespace {

// Far more than thousands of names; a file that large is not ours to list.
constexpr DWORD kMaxNameListChars = 16u * 1024 * 1024;

// The profile functions copy the full path into a buffer of MAX_PATH characters, and past that
// Wine goes on with whatever the buffer held: a save wrote a stray file of a garbage name into
// the current folder. So a path that long counts as no file: nothing is listed, and saves and
// deletes fail and are reported.
bool Reachable(const std::wstring& path) {
    return !path.empty() && path.size() < MAX_PATH;
}

}  // namespace

std::vector<std::wstring> GameFile::ReadNames() const {
    if (!Reachable(path_)) {
        return {};  // the program's path is unknown or too long: so is the file
    }
    // The function cannot tell how much room the list needs; when it fills the buffer (it then
    // returns the size less 2), the list was cut and is read again into twice the room.
    std::wstring buffer(4096, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileStringW(section_.c_str(), nullptr, L"", buffer.data(),
                                                      size, path_.c_str());
        if (length + 2 < size || size >= kMaxNameListChars) {
            buffer.resize(std::min<size_t>(length + 1, buffer.size()));
            return SplitNameList(buffer);
        }
        buffer.assign(static_cast<size_t>(size) * 2, L'\0');
    }
}

std::wstring GameFile::Read(const std::wstring& name) const {
    wchar_t value[256] = {};
    if (!Reachable(path_)) {
        return {};
    }
    GetPrivateProfileStringW(section_.c_str(), name.c_str(), L"", value, 256, path_.c_str());
    return value;
}

bool GameFile::Write(const std::wstring& name, const std::wstring& value) const {
    if (!Reachable(path_)) {
        return false;
    }
    CreateUnicodeFile();
    if (!IsUnicodeFile() && !(SurvivesAnsi(name) && SurvivesAnsi(value))) {
        return false;  // it would be stored as question marks, a junk entry of another name
    }
    if (!WritePrivateProfileStringW(section_.c_str(), name.c_str(), value.c_str(), path_.c_str())) {
        return false;
    }
    // The functions may report success for a copy held in memory, and a name with "=" or "["
    // is stored as something else: only what the file gives back counts.
    ForgetCachedCopy();
    return Read(name) == value;
}

bool GameFile::Remove(const std::wstring& name) const {
    if (!Reachable(path_)) {
        return false;
    }
    // Counted, not looked up: a file from elsewhere may hold the name twice, in two cases.
    auto count = [&] {
        const std::vector<std::wstring> names = ReadNames();
        return std::count_if(names.begin(), names.end(),
                             [&](const std::wstring& n) { return SameStudyName(n, name); });
    };
    const auto before = count();
    if (!WritePrivateProfileStringW(section_.c_str(), name.c_str(), nullptr, path_.c_str())) {
        return false;
    }
    ForgetCachedCopy();
    return before == 0 || count() < before;  // none to remove is no failure
}

// The profile functions write a new file in the ANSI code page, where names outside it turn into
// question marks; a file that starts as UTF-16LE with its byte-order mark stays so. An existing
// file is left as it is.
void GameFile::CreateUnicodeFile() const {
    const UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return;  // it exists, or cannot be made: the write below tells
    }
    const unsigned char bom[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.Get(), bom, sizeof(bom), &written, nullptr);
}

// A file that keeps any character: UTF-16 or UTF-8 with a byte-order mark. Files without one
// are read and written in the ANSI code page.
bool GameFile::IsUnicodeFile() const {
    ReadOnlyFile file(path_, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file.Opened()) {
        return true;  // nothing to spoil: the write fails or makes a new file
    }
    const std::optional<std::string> head = file.Read(3);
    return head && (head->starts_with("\xFF\xFE") || head->starts_with("\xFE\xFF") ||
                    *head == "\xEF\xBB\xBF");
}

bool GameFile::SurvivesAnsi(const std::wstring& text) {
    if (text.empty() || GetACP() == CP_UTF8) {
        return true;
    }
    BOOL lossy = FALSE;
    const int size = static_cast<int>(text.size());
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), size, nullptr, 0,
                               nullptr, &lossy) > 0 &&
           !lossy;
}

// Makes the next read come from the disk rather than from a cached copy.
void GameFile::ForgetCachedCopy() const {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
}

}  // namespace saltor
