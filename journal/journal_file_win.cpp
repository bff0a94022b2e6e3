#include "journal/journal_file_win.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/file_win.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

// A journal line holds at least 40 bytes: below this size it cannot need trimming, and the file
// is not read after each game.
constexpr uint64_t kTrimCheckBytes = kJournalLimit * 40;

// Held while the journal or the schedule is written: copies of the game append one after
// another, none appends while another trims, none rewrites the schedule another has just read. A
// copy that died holding it leaves it abandoned, which is taken.
class FileLock {
public:
    FileLock(std::wstring_view kind, const std::wstring& path) {
        std::wstring name = L"Local\\Saltor." + std::wstring(kind) + L"." + path;
        std::replace(name.begin() + 6, name.end(), L'\\', L'/');
        mutex_.Reset(CreateMutexW(nullptr, FALSE, name.substr(0, MAX_PATH - 1).c_str()));
        held_ = mutex_.Valid() && WaitForSingleObject(mutex_.Get(), 5000) != WAIT_TIMEOUT;
    }
    ~FileLock() {
        if (held_) {
            ReleaseMutex(mutex_.Get());
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    UniqueHandle mutex_;
    bool held_ = false;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Rewrites the journal with its newest lines once it holds a tenth more than the limit; the
// caller holds the lock, so no line is appended meanwhile that the new file would lack.
void TrimJournal(const std::wstring& path) {
    const std::optional<std::wstring> text = ReadTextFile(path);
    if (!text) {
        return;
    }
    if (std::count(text->begin(), text->end(), L'\n') <=
        static_cast<ptrdiff_t>(kJournalLimit + kJournalLimit / 10)) {
        return;
    }
    if (const std::optional<std::wstring> kept = TrimmedJournal(*text, kJournalLimit)) {
        ReplaceTextFile(path, *kept);
    }
}

std::wstring BesideSettings(const wchar_t* name) {
    const std::wstring folder = SettingsFolder();
    return folder.empty() ? std::wstring() : folder + L"\\" + name;
}

}  // namespace

std::wstring JournalFilePath() {
    return BesideSettings(L"journal.tsv");
}

std::wstring DrillFilePath() {
    return BesideSettings(L"exercices.tsv");
}

bool AppendToJournal(const std::wstring& path, const JournalRecord& record) {
    if (path.empty()) {
        return false;
    }
    const FileLock lock(L"journal", path);
    uint64_t size = 0;
    {
        const UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER before{};
        if (!file.Valid() || !GetFileSizeEx(file.Get(), &before)) {
            return false;
        }
        const std::wstring line = FormatJournalLine(record) + L"\r\n";
        const std::string bytes =
            EncodeUtf8(before.QuadPart == 0 ? std::wstring(kJournalHeader) + L"\r\n" + line : line);
        if (!WriteAll(file.Get(), bytes)) {
            return false;
        }
        size = static_cast<uint64_t>(before.QuadPart) + bytes.size();
    }
    if (size >= kTrimCheckBytes) {
        TrimJournal(path);
    }
    return true;
}

std::optional<std::wstring> ReadTextFile(const std::wstring& path) {
    ReadOnlyFile file(path, kShareAll);
    if (!file.Opened()) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = file.Read(static_cast<size_t>(file.Size()));
    if (!bytes) {
        return std::nullopt;
    }
    return DecodeUtf8(bytes->data(), bytes->size());
}

bool ReplaceTextFile(const std::wstring& path, std::wstring_view text) {
    return ReplaceWholeFile(path, EncodeUtf8(text));
}

DrillFileUpdate UpdateDrillFile(const std::wstring& path,
                                const std::function<bool(std::vector<Drill>&)>& change) {
    DrillFileUpdate update;
    if (path.empty()) {
        change(update.drills);
        return update;
    }
    const FileLock lock(L"drills", path);
    const std::optional<std::wstring> text = ReadTextFile(path);
    const bool missing =
        !text && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
    if (text) {
        update.drills = ParseDrills(*text);
    }
    const bool changed = change(update.drills);
    update.saved =
        (text || missing) && (!changed || ReplaceTextFile(path, FormatDrills(update.drills)));
    return update;
}

std::wstring LocalTimeText(int64_t secondsAgo) {
    FILETIME now{}, local{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};  // hundreds of nanoseconds
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    ticks.QuadPart -= static_cast<uint64_t>(std::max<int64_t>(secondsAgo, 0)) * 10000000;
    now.dwLowDateTime = ticks.LowPart;
    now.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&now, &local) || !FileTimeToSystemTime(&local, &t)) {
        GetLocalTime(&t);
    }
    wchar_t text[32] = {};
    swprintf(text, std::size(text), L"%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute, t.wSecond);
    return text;
}

int32_t LocalToday() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return DayNumber(t.wYear, t.wMonth, t.wDay);
}

uint32_t ClockHost::TickCount() {
    return GetTickCount();
}

std::vector<JournalRecord> ReadJournal(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
        return {};
    }
    // Only its end: the line cut there is skipped as a damaged one.
    const LONGLONG start = std::max<LONGLONG>(size.QuadPart - kJournalReadBytes, 0);
    std::string bytes(static_cast<size_t>(size.QuadPart - start), '\0');
    DWORD read = 0;
    LARGE_INTEGER offset{};
    offset.QuadPart = start;
    if (!SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN) ||
        !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    return ParseJournal(DecodeUtf8(bytes.data(), read));
}

}  // namespace saltor
