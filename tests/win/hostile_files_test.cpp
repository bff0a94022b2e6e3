#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "board/image_cache_win.h"
#include "hostile_files.h"
#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/gdiplus_session_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The settings as a first run has them.
AppSettings Defaults() {
    AppSettings settings;
    settings.CellSize = std::min(kMinCellSize, AppSettings::MaxCellSize());
    return settings;
}

std::string Document(const AppSettings& settings) {
    return EncodeUtf8(BuildSettingsDocument(settings));
}

// The settings file of this test program (...\Lorvaine\win_tests\Saltor.cfg) and its folder,
// with whatever was there put aside for the test.
class HostileSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        fs::rename(folder_, aside_, ignored_);
        ASSERT_EQ(SettingsFolder(), folder_.wstring());  // made anew, empty
    }
    void TearDown() override {
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored_);
        fs::rename(aside_, folder_, ignored_);
    }

    // Loads into a fresh record, as the program does at start-up.
    static AppSettings Loaded() {
        AppSettings settings;
        settings.Load();
        return settings;
    }

    std::vector<fs::path> FolderContents() const {
        std::vector<fs::path> names;
        std::error_code none;  // a file in place of the folder has no contents
        for (const auto& entry : fs::directory_iterator(folder_, none)) {
            names.push_back(entry.path().filename());
        }
        return names;
    }

    const fs::path folder_ = SettingsFolder();
    const fs::path path_ = SettingsFilePath();
    const fs::path aside_ = folder_.parent_path() / L"win_tests.hostile-aside";
    std::error_code ignored_;
};

// Whatever the file holds, a load gives defaults for every key it cannot read, and the next
// save (Preferences OK) replaces the damage with a whole document.
TEST_F(HostileSettingsTest, DamagedContentFallsBackKeyByKeyAndASaveRepairsIt) {
    AppSettings chosen = Defaults();
    chosen.CursorFile = L"C:\\curseurs\\fl\u00e8che.cur";
    chosen.HandCursor = true;
    chosen.WhiteImage = L"C:\\bois\\clair.png";
    chosen.CellSize = std::max(chosen.CellSize, std::min(90, AppSettings::MaxCellSize()));
    chosen.CalcDuration = 2500;
    const std::string whole = Document(chosen);
    AppSettings beforeCellSize = Defaults();  // what survives a cut inside <CellSize>
    beforeCellSize.CursorFile = chosen.CursorFile;
    beforeCellSize.HandCursor = true;
    beforeCellSize.WhiteImage = chosen.WhiteImage;
    AppSettings longPaths = Defaults();
    longPaths.WhiteImage = L"C:\\" + std::wstring(300, L'b') + L".png";
    longPaths.KnightImage = std::wstring(100000, L'k');
    const std::wstring text = BuildSettingsDocument(chosen);

    const struct {
        const char* what;
        std::function<bool()> make;
        AppSettings expected;
    } cases[] = {
        {"empty", [&] { return WriteBytes(path_, ""), true; }, Defaults()},
        {"random bytes", [&] { return WriteBytes(path_, Noise(4096)), true; }, Defaults()},
        {"UTF-16 text",
         [&] {
             WriteBytes(path_, std::string(reinterpret_cast<const char*>(text.data()),
                                           text.size() * sizeof(wchar_t)));
             return true;
         },
         Defaults()},
        {"cut inside <CellSize>",
         [&] { return WriteBytes(path_, whole.substr(0, whole.find("<CellSize>") + 11)), true; },
         beforeCellSize},
        {"random bytes around whole elements",
         [&] { return WriteBytes(path_, Noise(300, 1) + whole + Noise(300, 2)), true; }, chosen},
        {"paths of 300 and 100,000 characters",
         [&] { return WriteBytes(path_, Document(longPaths)), true; }, longPaths},
        {"huge: 5 GB (sparse) after whole elements",
         [&] { return MakeSparseFile(path_, whole, 5ll << 30); }, chosen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.make());
        const auto start = Clock::now();
        EXPECT_EQ(Document(Loaded()), Document(c.expected));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
        ASSERT_TRUE(c.expected.Save());
        EXPECT_EQ(ReadBytes(path_), Document(c.expected));
    }
}

// The file cannot be read or replaced: defaults, a failed save, and what was there stays.
TEST_F(HostileSettingsTest, UnreadableOrIrreplaceableFilesAreLeftAsTheyWere) {
    AppSettings chosen = Defaults();
    chosen.KnightImage = L"cavalier.png";
    const std::string old = Document(chosen);
    const fs::path temp = path_.wstring() + L".tmp";
    const struct {
        const char* what;
        std::function<void()> make;
        fs::path held;  // then held open by another program, with no sharing
        bool readable;  // the old file can still be read
    } cases[] = {
        {"a folder in place of the file", [&] { fs::create_directory(path_); }, {}, false},
        {"the file held open", [&] { WriteBytes(path_, old); }, path_, false},
        {"a folder in place of the temporary file",
         [&] {
             WriteBytes(path_, old);
             fs::create_directory(temp);
         },
         {},
         true},
        {"another instance's temporary file, held open",
         [&] {
             WriteBytes(path_, old);
             WriteBytes(temp, "half");
         },
         temp, true},
        {"a file in place of the settings folder",
         [&] {
             fs::remove_all(folder_);
             WriteBytes(folder_, old);
         },
         {},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const std::string before = ReadBytes(path_);
        const std::vector<fs::path> contents = FolderContents();
        std::optional<UniqueHandle> lock;
        if (!c.held.empty()) {
            lock.emplace(LockFile(c.held));
            ASSERT_TRUE(lock->Valid());
        }
        EXPECT_EQ(Document(Loaded()), Document(c.readable ? chosen : Defaults()));
        EXPECT_FALSE(Defaults().Save());
        lock.reset();
        EXPECT_EQ(ReadBytes(path_), before);
        EXPECT_EQ(FolderContents(), contents);  // no temporary file left, none taken away
        if (fs::is_regular_file(folder_)) {
            EXPECT_EQ(ReadBytes(folder_), old);
        }
        fs::remove_all(folder_);
        ASSERT_EQ(SettingsFolder(), folder_.wstring());
    }
}

// Windows refuses to replace a read-only file; Wine, run as root, does not. Either way the file
// holds one whole document afterwards, the one the result says.
TEST_F(HostileSettingsTest, AReadOnlyFileIsReplacedWholeOrNotAtAll) {
    AppSettings chosen = Defaults();
    chosen.BlackImage = L"sombre.png";
    WriteBytes(path_, Document(chosen));
    ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Document(Loaded()), Document(chosen));
    const bool saved = Defaults().Save();
    EXPECT_EQ(ReadBytes(path_), Document(saved ? Defaults() : chosen));
    EXPECT_EQ(FolderContents().size(), 1u);
}

// The board cursor: a cursor file that cannot be had gives the hand or the knight, silently and
// at once; one that loads is used.
class HostileCursorTest : public testing::Test {
protected:
    // Which cursor the settings resolve to for this file, and how long that took.
    enum class Shown { FromFile, Fallback, Wrong };
    Shown Resolve(const fs::path& file, bool hand) {
        settings_.CursorFile = file.wstring();
        settings_.HandCursor = hand;
        const auto start = Clock::now();
        settings_.ReloadBoardCursor();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
        const auto cursor = static_cast<HCURSOR>(settings_.BoardCursor.get());
        const HCURSOR fallback =
            hand ? LoadCursorW(nullptr, IDC_HAND)
                 : LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));
        if (cursor == fallback) {
            return Shown::Fallback;
        }
        ICONINFO info{};
        if (cursor == nullptr || !GetIconInfo(cursor, &info)) {
            return Shown::Wrong;
        }
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        return Shown::FromFile;
    }

    AppSettings settings_;
    const ScratchFolder scratch_{"hostile-cursor"};
    const std::string cur_ = ReadBytes(fs::path(SALTOR_KNIGHT_CUR_PATH));
};

TEST_F(HostileCursorTest, CursorFilesThatCannotBeHadFallBackSilently) {
    ASSERT_GT(cur_.size(), 1000u);
    const auto file = [&](const wchar_t* name, const std::string& bytes) {
        const fs::path path = scratch_ / name;
        WriteBytes(path, bytes);
        return path;
    };
    // A header of one 16 x 16 image whose data would lie 2 GB past the start.
    const std::string farImage("\0\0\2\0\1\0\x10\x10\0\0\0\0\0\0\x68\x04\0\0\0\0\0\x80", 22);
    const fs::path locked = file(L"verrouill\u00e9.cur", cur_);
    const fs::path huge = scratch_ / L"\u00e9norme.cur";
    ASSERT_TRUE(MakeSparseFile(huge, cur_.substr(0, 6 + 16), 3ll << 30));
    const fs::path folder = scratch_ / L"dossier.cur";
    fs::create_directory(folder);

    const struct {
        const char* what;
        fs::path path;
    } cases[] = {
        {"empty", file(L"vide.cur", "")},
        {"cut in the directory", file(L"court.cur", cur_.substr(0, 30))},
        {"cut in its first image", file(L"coup\u00e9.cur", cur_.substr(0, 0x56 + 0x100))},
        {"random bytes", file(L"bruit.cur", Noise(4096))},
        {"65,535 images stated", file(L"trop.cur", cur_.substr(0, 4) + "\xFF\xFF" + Noise(64))},
        {"an image 2 GB past the start", file(L"loin.cur", farImage)},
        {"huge: 3 GB (sparse)", huge},
        {"a PNG image of 8,000 x 8,000", file(L"grand.cur", IconFile(2, PlainPng(8000)))},
        {"a PNG named .cur", file(L"image.cur", KnightPngBytes())},
        {"text named .ani", file(L"texte.ani", "pas un curseur anim\xC3\xA9")},
        {"an animated cursor with chunks past its end", file(L"anim.ani",
                                                             "RIFF\xF0\xFF\xFF\x7F"
                                                             "ACONanih\xF0\xFF\xFF\x7F" +
                                                                 Noise(36) +
                                                                 "LIST\xF0\xFF\xFF\x7F"
                                                                 "fram"
                                                                 "icon\xF0\xFF\xFF\x7F")},
        {"a folder", folder},
        {"a missing file", scratch_ / L"absent.cur"},
        {"a path of 40,000 characters", fs::path(L"C:\\" + std::wstring(40000, L'c') + L".cur")},
    };
    const UniqueHandle lock = LockFile(locked);
    ASSERT_TRUE(lock.Valid());
    for (const bool hand : {false, true}) {
        for (const auto& c : cases) {
            EXPECT_EQ(Resolve(c.path, hand), Shown::Fallback) << c.what << ", hand " << hand;
        }
        EXPECT_EQ(Resolve(locked, hand), Shown::Fallback) << "locked, hand " << hand;
    }
}

TEST_F(HostileCursorTest, ACursorPastMaxPathOrUnderAnotherExtensionStillLoads) {
    const fs::path renamed = scratch_ / L"curseur.png";
    WriteBytes(renamed, cur_);
    EXPECT_EQ(Resolve(renamed, false), Shown::FromFile);
    // Past MAX_PATH the platform may refuse the file; then the knight shows, nothing worse.
    const fs::path deep = scratch_.LongFolder() / L"curseur.cur";
    WriteBytes(deep, cur_);
    EXPECT_NE(Resolve(deep, false), Shown::Wrong);
}

// The board's pictures: a picture file that cannot be had leaves the plain colour (texture) or
// no knight, quickly, and takes nothing from the pictures that can.
class HostileImagesTest : public testing::Test {
protected:
    GdiplusSession gdiplus_;
    BoardImages images_;
    AppSettings settings_;
    const ScratchFolder scratch_{"hostile-image"};
    const std::string png_ = KnightPngBytes();
};

TEST_F(HostileImagesTest, UnusablePicturesLeaveThePlainColourAndNoKnight) {
    ASSERT_GT(png_.size(), 1000u);
    const auto file = [&](const wchar_t* name, const std::string& bytes) {
        const fs::path path = scratch_ / name;
        WriteBytes(path, bytes);
        return path;
    };
    // A PNG of 30,000 x 30,000 stated in its header: 3.6 GB once decoded.
    const std::string giantPng =
        png_.substr(0, 16) + BigEndian32(30000) + BigEndian32(30000) + png_.substr(24);
    const fs::path huge = scratch_ / L"\u00e9norme.png";
    ASSERT_TRUE(MakeSparseFile(huge, png_, 200ll << 20));
    const fs::path folder = scratch_ / L"dossier.png";
    fs::create_directory(folder);
    const fs::path locked = file(L"verrouill\u00e9.png", png_);
    // The dark squares get a good picture throughout: a PNG named .bmp, recognised by its bytes.
    settings_.BlackImage = file(L"cavalier.bmp", png_).wstring();

    const struct {
        const char* what;
        fs::path path;
    } cases[] = {
        {"empty", file(L"vide.png", "")},
        {"cut in half", file(L"moiti\u00e9.png", png_.substr(0, png_.size() / 2))},
        {"cut after its header", file(L"ent\u00eate.png", png_.substr(0, 40))},
        {"random bytes", file(L"bruit.jpg", Noise(8192))},
        {"text named .png", file(L"texte.png", "ceci n'est pas une image")},
        {"30,000 x 30,000 stated", file(L"g\u00e9ante.png", giantPng)},
        {"a GIF of 0 x 0", file(L"rien.gif", std::string("GIF89a\0\0\0\0\0\0\0;", 14))},
        {"a TIFF whose directory lies past its end",
         file(L"loin.tif", std::string("II*\0\xF0\xFF\xFF\x7F", 8) + Noise(64))},
        {"a JPEG of markers only", file(L"marques.jpg", "\xFF\xD8" + std::string(4096, '\xFF'))},
        {"huge: 200 MB (sparse)", huge},
        {"an icon holding a PNG of 8,000 x 8,000",
         file(L"ic\u00f4ne.ico", IconFile(1, PlainPng(8000)))},
        {"a folder", folder},
        {"held open with no sharing", locked},
        {"a missing file", scratch_ / L"absent.png"},
        {"a path of 40,000 characters", fs::path(L"C:\\" + std::wstring(40000, L'i') + L".png")},
    };
    const UniqueHandle lock = LockFile(locked);
    ASSERT_TRUE(lock.Valid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings_.WhiteImage = settings_.KnightImage = c.path.wstring();
        const auto start = Clock::now();
        images_.Build(settings_, 70, GetModuleHandleW(nullptr));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(images_.WhiteLook(), BoardImages::Look::Missing);
        EXPECT_EQ(images_.BlackLook(), BoardImages::Look::Translucent);
        EXPECT_NE(images_.Tile(), nullptr);
        EXPECT_EQ(images_.Knight(), nullptr);
    }
}

TEST_F(HostileImagesTest, AnIconOfReasonableSizeIsUsedAndPastMaxPathAPictureIsUsedOrLeftOut) {
    const fs::path icon = scratch_ / L"cavalier.ico";
    WriteBytes(icon, IconFile(1, png_));
    settings_.KnightImage = icon.wstring();
    images_.Build(settings_, 70, GetModuleHandleW(nullptr));
    EXPECT_NE(images_.Knight(), nullptr);

    const fs::path deep = scratch_.LongFolder() / L"cavalier.png";
    WriteBytes(deep, png_);
    settings_.WhiteImage = settings_.KnightImage = deep.wstring();
    images_.Build(settings_, 70, GetModuleHandleW(nullptr));
    // Both or neither: the same file, read the same way.
    EXPECT_EQ(images_.Knight() != nullptr, images_.WhiteLook() == BoardImages::Look::Translucent);
    EXPECT_NE(images_.Tile(), nullptr);  // the built-in dark wood at least
}

}  // namespace
}  // namespace saltor
