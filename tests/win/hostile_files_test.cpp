#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/startup_settings_win.h"
#include "board/image_cache_win.h"
#include "main_dlg_fixture.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/file_win.h"
#include "winkit/gdiplus_session_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// The calling thread's processor time: unlike the clock, it does not run on while a busy machine
// keeps the thread waiting.
uint64_t ThreadMilliseconds() {
    FILETIME unused, kernel, user;
    GetThreadTimes(GetCurrentThread(), &unused, &unused, &kernel, &user);
    const uint64_t ticks = uint64_t{kernel.dwHighDateTime + user.dwHighDateTime} << 32;
    return (ticks + kernel.dwLowDateTime + user.dwLowDateTime) / 10000;
}

std::string Document(const AppSettings& settings) {
    return EncodeUtf8(BuildSettingsDocument(settings));
}

// Loads into a fresh record, as the program does at start-up.
std::string LoadedDocument() {
    AppSettings settings;
    settings.Load();
    return Document(settings);
}

// Settings files of every kind, the test program's own put aside.
class SettingsFileTest : public testing::Test, protected SettingsAside {
protected:
    const fs::path temp_ = settingsPath_.wstring() + L".tmp";
};

// A load takes what it can key by key and writes nothing; a save replaces the file whole, as
// UTF-8 without a byte-order mark, or leaves it as it was and says so.
TEST_F(SettingsFileTest, EachKindOfFileLoadsWhatItCanAndIsReplacedWholeOrNotAtAll) {
    EXPECT_EQ(LoadedDocument(), Document(AppSettings{}));
    EXPECT_TRUE(fs::is_directory(settingsFolder_) &&
                fs::is_empty(settingsFolder_));  // made, but no file
    // At start-up the help is looked for beside the program, and the cursor follows the file.
    WriteBytes(settingsPath_, "<HandCursor>1</HandCursor>");
    const AppSettings startup = LoadStartupSettings();
    EXPECT_EQ(startup.HelpFilePath, fs::path(ProgramFilePath()).replace_extension(L".chm"));
    EXPECT_EQ(startup.BoardCursor.get(), LoadCursorW(nullptr, IDC_HAND));

    AppSettings chosen;
    chosen.WhiteImage = L"C:\\Bois & \"ch\u00eane\"\\l'\u00e9rable <clair> \U0001F40E.png";
    chosen.BlackImage = std::wstring(100000, L'b');
    chosen.CalcDuration = 2500;
    const std::string whole = Document(chosen);
    AppSettings noCalc = chosen;  // its last key lost
    noCalc.CalcDuration = AppSettings{}.CalcDuration;
    std::string damaged = Noise(300, 1) + whole + Noise(300, 2);  // no zero: it ends the text
    damaged.erase(damaged.find("<CalcDuration>") + 13, 1);
    // Spaces first, so that the last key's closing tag ends with the first 16 MiB.
    const std::string to16MiB = std::string((16 << 20) + 2 - whole.size(), ' ') + whole;
    const struct {
        const char* what;
        std::string bytes;
        fs::path folder;  // made in place of the file
        fs::path held;    // made if need be, kept open by a reader that lets others write
        AppSettings loads;
        std::optional<bool> saves;  // none: read-only, which Wine run as root replaces anyway
    } rows[] = {
        {"a byte-order mark first", "\xEF\xBB\xBF" + whole, {}, {}, chosen, true},
        {"a damaged element amid random bytes", damaged, {}, {}, noCalc, true},
        {"a document ending at 16 MiB", to16MiB, {}, {}, chosen, true},
        {"a document ending past 16 MiB", ' ' + to16MiB, {}, {}, noCalc, true},
        {"a folder in place of the file", "lost", settingsPath_, {}, AppSettings{}, false},
        {"the file held open", damaged, {}, settingsPath_, AppSettings{}, false},
        {"another instance's temporary file", damaged, {}, temp_, noCalc, false},
        {"a read-only file", damaged, {}, {}, noCalc, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(settingsFolder_);
        ASSERT_EQ(SettingsFolder(), settingsFolder_.wstring());
        fs::create_directory(row.folder, ignored_);
        WriteBytes(settingsPath_, row.bytes);
        SetFileAttributesW(settingsPath_.c_str(),
                           row.saves ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY);
        const std::string before = ReadBytes(settingsPath_);
        UniqueHandle lock(CreateFileW(
            row.held.c_str(), GENERIC_READ,
            FILE_SHARE_READ | FILE_SHARE_WRITE | (row.held == temp_ ? FILE_SHARE_DELETE : 0),
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_EQ(lock.Valid(), !row.held.empty());
        EXPECT_EQ(LoadedDocument(), Document(row.loads));
        const bool saved = chosen.Save();
        EXPECT_EQ(saved, row.saves.value_or(saved));
        lock.Reset();
        EXPECT_EQ(ReadBytes(settingsPath_), saved ? whole : before);
        // None left behind; another instance's neither deleted nor overwritten.
        EXPECT_EQ(fs::exists(temp_), row.held == temp_);
        EXPECT_EQ(ReadBytes(temp_), "");
    }
}

// Whether the handle still stands for a cursor: a destroyed one has no bitmaps to give.
bool IsLive(HCURSOR cursor) {
    ICONINFO info{};
    const bool live = GetIconInfo(cursor, &info) != FALSE;
    DeleteObject(info.hbmMask);  // none to delete when it is not
    DeleteObject(info.hbmColor);
    return live;
}

// Files for the readers to choke on, in a scratch folder.
class HostileFilesTest : public testing::Test {
protected:
    // Sparse when a size is given.
    fs::path Put(const fs::path& name, const std::string& bytes, int64_t size = 0) {
        WriteBytes(scratch_.Path() / name, bytes);
        EXPECT_TRUE(size == 0 || MakeSparseFile(scratch_.Path() / name, bytes, size));
        return scratch_.Path() / name;
    }
    // Held open by another program, sharing nothing, until the test ends.
    fs::path Locked(const fs::path& name, const std::string& bytes) {
        locks_.push_back(LockFile(Put(name, bytes)));
        EXPECT_TRUE(locks_.back().Valid());
        return scratch_.Path() / name;
    }

    const ScratchFolder scratch_{"hostile"};
    std::vector<UniqueHandle> locks_;
};

// The readers trust what it says of a file's size and bytes: a read past the end gives what is
// there, and a file that cannot be opened gives nothing at all.
TEST_F(HostileFilesTest, ReadOnlyFileReadsWhatTheFileHoldsAndNothingOfOneItCannotOpen) {
    ReadOnlyFile file(Put(L"fichier.bin", "\377\376ab").wstring(), kShareAll);
    EXPECT_EQ(file.Size(), 4u);
    EXPECT_EQ(file.Read(3), std::optional<std::string>("\377\376a"));
    EXPECT_EQ(file.Read(16), std::optional<std::string>("b"));  // short at the end
    EXPECT_EQ(file.Read(16), std::optional<std::string>(""));
    ReadOnlyFile locked(Locked(L"verrou.bin", "ab").wstring(), kShareAll);
    EXPECT_FALSE(locked.Opened());
    EXPECT_EQ(locked.Read(4), std::nullopt);
}

// A cursor file wins when it is worth loading and loads; otherwise the hand or the knight shows,
// at once. A cursor loaded from a file is destroyed once another replaces it.
TEST_F(HostileFilesTest, TheBoardCursorIsTheFileWhenItLoadsAndTheHandOrKnightOtherwise) {
    const std::string cur = ReadBytes(fs::path(SALTOR_KNIGHT_CUR_PATH));
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), fromFile = nullptr;  // any other
    const HCURSOR knight =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));
    const struct {
        const char* what;
        fs::path path;
        bool hand;
        HCURSOR shown;
    } rows[] = {
        {"a cursor named .png", Put(L"curseur.png", cur), true, fromFile},
        {"a cursor of 16 MiB", Put(L"limite.cur", cur, 16 << 20), false, fromFile},
        {"a missing file", scratch_ / L"absent.cur", true, hand},
        {"a cursor of 16 MiB and a byte", Put(L"trop.cur", cur, (16 << 20) + 1), false, knight},
        {"a PNG cursor of 256 x 256", Put(L"256.cur", IconFile(2, PlainPng(256))), true, fromFile},
        {"held open", Locked(L"verrouill\u00e9.cur", cur), false, knight},
        {"a PNG cursor of 257 x 257", Put(L"257.cur", IconFile(2, PlainPng(257))), true, hand},
        {"a PNG cursor of 32 x 32, then a PNG of 8,000 x 8,000",
         Put(L"cadres.cur", IconFile(2, PlainPng(32)) + PlainPng(8000)), true, hand},
        {"a cursor ending in a PNG header cut short",
         Put(L"coup\u00e9.cur", cur + "\x89PNG\r\n\x1a\n" + std::string(8, 'x')), false, knight},
        {"text", Put(L"texte.cur", "pas un curseur"), true, hand},
    };
    AppSettings settings;
    HCURSOR replaced = nullptr;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        settings.CursorFile = row.path.wstring();
        settings.HandCursor = row.hand;
        settings.ReloadBoardCursor();
        const auto cursor = static_cast<HCURSOR>(settings.BoardCursor.get());
        EXPECT_TRUE(IsLive(cursor));
        EXPECT_TRUE(replaced == nullptr || !IsLive(replaced));
        replaced = cursor == hand || cursor == knight ? nullptr : cursor;
        EXPECT_EQ(replaced ? fromFile : cursor, row.shown);
    }
}

// A picture that cannot be had, or would cost too much to decode, leaves the plain colour and no
// knight, at once; one that can is used, whatever its name says.
TEST_F(HostileFilesTest, ABoardPictureIsUsedOnlyWhenItIsWorthDecodingAndDecodes) {
    const GdiplusSession gdiplus;
    const std::string png = KnightPngBytes(), big = PlainPng(8000);
    // Its big PNG lies past the first 256 KiB, where only a look at the whole file finds it.
    std::string farIcon = IconFile(1, big);
    farIcon.replace(18, 4, LittleEndian(22 + (256 << 10), 4)).insert(22, 256 << 10, '\0');
    const struct {
        const char* what;
        fs::path path;
        std::optional<bool> used;  // none: either, past MAX_PATH
    } rows[] = {
        {"a missing file", scratch_ / L"absent.png", false},
        {"held open", Locked(L"verrouill\u00e9.png", png), false},
        {"text named .png", Put(L"texte.png", "ceci n'est pas une image"), false},
        {"a PNG of 64 MiB named .bmp", Put(L"limite.bmp", png, 64 << 20), true},
        {"a PNG of 64 MiB and a byte", Put(L"trop.png", png, (64 << 20) + 1), false},
        {"a PNG of 8,000 x 8,000", Put(L"grand.png", big), false},
        {"an icon holding a PNG of 8,000 x 8,000", Put(L"loin.ico", farIcon), false},
        {"an icon holding the knight", Put(L"cavalier.ico", IconFile(1, png)), true},
        {"a PNG past MAX_PATH", Put(scratch_.LongFolder() / L"cavalier.png", png), std::nullopt},
    };
    AppSettings settings;
    BoardImages images;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        settings.WhiteImage = settings.KnightImage = row.path.wstring();
        const uint64_t start = ThreadMilliseconds();
        images.Build(settings, 70, GetModuleHandleW(nullptr));
        // Far more than any good file takes, far less than decoding 8,000 x 8,000 pixels (1 s).
        EXPECT_LT(ThreadMilliseconds() - start, 400u);
        const bool used = images.Knight() != nullptr;
        EXPECT_EQ(used, row.used.value_or(used));
        EXPECT_EQ(images.WhiteLook(),
                  used ? BoardImages::Look::Translucent : BoardImages::Look::Missing);
        EXPECT_NE(images.Tile(), nullptr);  // the built-in dark wood at least
    }
}

}  // namespace
}  // namespace saltor
