#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "main_dlg_fixture.h"
#include "recording_desktop.h"
#include "reference/board_fakes.h"
#include "reference/file_bytes.h"
#include "resources/resource.h"
#include "settings/app_settings.h"
#include "settings/caption_color_dialog_win.h"
#include "settings/prefs_dlg_win.h"
#include "settings/prefs_rules.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/handles_win.h"
#include "winkit/resource_string_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

COLORREF g_chosenColor = 0;
BOOL WINAPI FakeChooseColor(CHOOSECOLORW* record) {
    record->rgbResult = g_chosenColor;
    return TRUE;
}

// Windows stand in for USER objects where the platform reports none (Wine).
DWORD UserObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) {
        return reported;
    }
    DWORD count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<DWORD*>(counter);
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++*reinterpret_cast<DWORD*>(inner);
                    return TRUE;
                },
                counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The dialog run modeless on the real settings file of this test program, whatever was there
// put aside; message and colour boxes answered by stand-ins.
class PrefsDlgTest : public testing::Test {
protected:
    void SetUp() override {
        fs::rename(path_, aside_, ignored_);
        desktop_.pickColor = FakeChooseColor;
        settings_.WhiteImage = L"C:\\bois\\clair.png";
        settings_.BlackImage = L"C:\\bois\\fonce.png";
        settings_.ReloadBoardCursor();
    }
    void TearDown() override {
        dlg_.reset();
        fs::remove(SettingsFilePath(), ignored_);
        fs::rename(aside_, path_, ignored_);
    }

    void Open() {
        dlg_ = std::make_unique<CPrefsDlg>(settings_, desktop_);
        ASSERT_NE(dlg_->CreateModeless(nullptr), nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(dlg_->Hwnd(), id); }
    std::wstring Text(int id) const {
        std::array<wchar_t, 512> text{};
        GetDlgItemTextW(dlg_->Hwnd(), id, text.data(), static_cast<int>(text.size()));
        return text.data();
    }
    void SetText(int id, const std::wstring& text) {
        SetDlgItemTextW(dlg_->Hwnd(), id, text.c_str());
    }
    // A click as the button reports it: its state is toggled first.
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return IsDlgButtonChecked(dlg_->Hwnd(), id) == BST_CHECKED; }
    // The swatch on top of a placeholder static, as the mouse finds it.
    HWND SwatchOver(int placeholder) const {
        RECT r{};
        GetWindowRect(Item(placeholder), &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(dlg_->Hwnd(), &centre);
        return ChildWindowFromPoint(dlg_->Hwnd(), centre);
    }
    INT_PTR Press(int button) {
        SendMessageW(dlg_->Hwnd(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(button)));
        return dlg_->Result();
    }

    const fs::path path_ = SettingsFilePath();
    const fs::path aside_ = path_.parent_path().parent_path() / L"win_tests.cfg.prefs-aside";
    std::error_code ignored_;
    AppSettings settings_;
    RecordingDesktop desktop_;
    std::unique_ptr<CPrefsDlg> dlg_;
};

TEST_F(PrefsDlgTest, CancelChangesNothingAndOkWritesEveryFieldAndTheFile) {
    const CellSizeRange range = CellSizeRangeFor(AppSettings::MaxCellSize());
    ASSERT_GE(range.high, 81) << "the test needs a work area of at least 700 pixels";
    const std::wstring before = BuildSettingsDocument(settings_);

    Open();
    EXPECT_TRUE(Checked(IDC_TEXTURES));
    EXPECT_FALSE(Checked(IDC_SOLID_COLOR));
    EXPECT_EQ(Text(IDC_WHITE_IMAGE), settings_.WhiteImage);
    EXPECT_EQ(Text(IDC_CALC_DURATION), L"1000");
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"70");
    HWND slider = Item(IDC_CELL_SIZE);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), range.low);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), range.high);
    EXPECT_NE(SwatchOver(IDC_WHITE_SWATCH), Item(IDC_WHITE_SWATCH));
    EXPECT_NE(SwatchOver(IDC_WHITE_SWATCH), SwatchOver(IDC_BLACK_SWATCH));

    // Everything edited, colours included, then "Annuler": neither the record nor the file.
    SetText(IDC_KNIGHT_IMAGE, L"k.png");
    SetText(IDC_CALC_DURATION, L"5000");
    Click(IDC_HAND_CURSOR);
    g_chosenColor = RGB(1, 2, 3);
    SendMessageW(SwatchOver(IDC_WHITE_SWATCH), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, 90);
    EXPECT_EQ(Press(IDCANCEL), IDCANCEL);
    EXPECT_EQ(BuildSettingsDocument(settings_), before);
    EXPECT_FALSE(fs::exists(path_));

    // The "pixels" box follows the slider's keys: an arrow moves by 1, a page key by 10.
    Open();
    slider = Item(IDC_CELL_SIZE);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"71");
    SendMessageW(slider, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"81");
    SendMessageW(slider, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), std::to_wstring(range.high));
    SendMessageW(slider, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(slider, WM_KEYDOWN, VK_PRIOR, 0);  // stops at the low end
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), std::to_wstring(range.low));
    SendMessageW(slider, WM_KEYDOWN, VK_NEXT, 0);

    SetText(IDC_CURSOR_FILE, L"C:\\nulle\\part.cur");  // missing: falls back silently
    Click(IDC_HAND_CURSOR);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_CURSOR_FILE)));
    EXPECT_EQ(Text(IDC_CURSOR_FILE), L"C:\\nulle\\part.cur");
    SetText(IDC_WHITE_IMAGE, L"w.png");
    SetText(IDC_BLACK_IMAGE, L"  b.png");  // stored as typed
    SetText(IDC_KNIGHT_IMAGE, L"k.png");
    SetText(IDC_CALC_DURATION, L"150");
    g_chosenColor = RGB(10, 20, 30);
    SendMessageW(SwatchOver(IDC_BLACK_SWATCH), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(Press(IDOK), IDOK);

    EXPECT_EQ(settings_.CursorFile, L"C:\\nulle\\part.cur");
    EXPECT_TRUE(settings_.HandCursor);
    EXPECT_EQ(settings_.BoardCursor.get(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_FALSE(settings_.SolidColor);
    EXPECT_EQ(settings_.WhiteImage, L"w.png");
    EXPECT_EQ(settings_.BlackImage, L"  b.png");
    EXPECT_EQ(settings_.KnightImage, L"k.png");
    EXPECT_EQ(settings_.CellSize, 80);
    EXPECT_EQ(settings_.CalcDuration, 150u);
    EXPECT_EQ(settings_.WhiteBgColor, 0xFFFFFFu);
    EXPECT_EQ(settings_.WhiteFgColor, 0x000000u);
    EXPECT_EQ(settings_.BlackBgColor, 0x000000u);
    EXPECT_EQ(settings_.BlackFgColor, RGB(10, 20, 30));
    const std::string file = ReadBytes(path_);
    EXPECT_EQ(file, EncodeUtf8(BuildSettingsDocument(settings_)));
    EXPECT_NE(file.find("<CellSize>80</CellSize>"), std::string::npos);
    EXPECT_NE(file.find("<CalcDuration>150</CalcDuration>"), std::string::npos);
    EXPECT_NE(file.find("<BlackFgColor>0x1e140a</BlackFgColor>"), std::string::npos);
    EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(PrefsDlgTest, PlainColoursKeepTheImagesAndTheTimeIsCorrected) {
    for (const auto& [typed, stored] :
         {std::pair{L"50", 100u}, {L"150", 150u}, {L"", 100u}, {L"4294967296", 100u}}) {
        Open();
        Click(IDC_SOLID_COLOR);
        EXPECT_FALSE(IsWindowEnabled(Item(IDC_WHITE_IMAGE)));
        EXPECT_FALSE(IsWindowEnabled(Item(IDC_BROWSE_BLACK_IMAGE)));
        EXPECT_TRUE(IsWindowEnabled(Item(IDC_KNIGHT_IMAGE)));
        SetText(IDC_WHITE_IMAGE, L"ignored.png");
        SetText(IDC_BLACK_IMAGE, L"");
        SetText(IDC_KNIGHT_IMAGE, L"cavalier.png");
        SetText(IDC_CALC_DURATION, typed);
        EXPECT_EQ(Press(IDOK), IDOK);
        EXPECT_TRUE(settings_.SolidColor);
        EXPECT_EQ(settings_.WhiteImage, L"C:\\bois\\clair.png");
        EXPECT_EQ(settings_.BlackImage, L"C:\\bois\\fonce.png");
        EXPECT_EQ(settings_.KnightImage, L"cavalier.png");
        EXPECT_EQ(settings_.CalcDuration, stored) << typed;
    }
    // Reopened in plain-colour mode, the boxes show the kept paths, greyed.
    Open();
    EXPECT_TRUE(Checked(IDC_SOLID_COLOR));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_BLACK_IMAGE)));
    EXPECT_EQ(Text(IDC_BLACK_IMAGE), L"C:\\bois\\fonce.png");
}

// A loadable cursor file wins over the hand; one that is empty or no cursor falls back to the
// hand or the knight; the previous cursor is let go each time.
TEST_F(PrefsDlgTest, ALoadableCursorFileWinsOverTheHandBox) {
    const fs::path folder =
        fs::temp_directory_path() / ("saltor-cursors-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    const fs::path good = folder / L"mine.cur";
    ASSERT_TRUE(fs::copy_file(SALTOR_KNIGHT_CUR_PATH, good, fs::copy_options::overwrite_existing));
    std::ofstream(folder / L"empty.cur", std::ios::binary).close();
    std::ofstream(folder / L"text.cur", std::ios::binary) << "pas un curseur";
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR knight =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));

    Open();
    SetText(IDC_CURSOR_FILE, good.wstring());
    Click(IDC_HAND_CURSOR);
    ASSERT_TRUE(Checked(IDC_HAND_CURSOR));
    EXPECT_EQ(Press(IDOK), IDOK);
    const HCURSOR fromFile = static_cast<HCURSOR>(settings_.BoardCursor.get());
    EXPECT_NE(fromFile, nullptr);
    EXPECT_NE(fromFile, hand);
    EXPECT_NE(fromFile, knight);

    for (const auto& [file, handBox, expected] : {std::tuple{L"empty.cur", true, hand},
                                                  {L"text.cur", false, knight},
                                                  {L"", true, hand},
                                                  {L"", false, knight}}) {
        settings_.CursorFile = *file ? (folder / file).wstring() : std::wstring();
        settings_.HandCursor = handBox;
        settings_.ReloadBoardCursor();
        EXPECT_EQ(settings_.BoardCursor.get(), expected) << file;
    }

    settings_.BoardCursor.reset();
    fs::remove_all(folder, ignored_);
}

// The new values apply even when they cannot be kept: the player is told, once, which file.
TEST_F(PrefsDlgTest, AFailedSaveIsReportedAndTheValuesStillApply) {
    std::ofstream(path_, std::ios::binary) << "<CellSize>75</CellSize>";
    UniqueHandle holder(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    Open();
    SetText(IDC_CALC_DURATION, L"2500");
    EXPECT_EQ(Press(IDOK), IDOK);
    EXPECT_EQ(settings_.CalcDuration, 2500u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].owner, dlg_->Hwnd());
    EXPECT_EQ(desktop_.boxes[0].caption, LoadResourceString(IDS_MAIN_CAPTION));
    EXPECT_NE(desktop_.boxes[0].text.find(path_.wstring()), std::wstring::npos);
    EXPECT_NE(desktop_.boxes[0].text.find(L"session"), std::wstring::npos);
    holder.Reset();
    EXPECT_EQ(ReadBytes(path_), "<CellSize>75</CellSize>");
}

TEST_F(PrefsDlgTest, OpeningAndConfirmingFiftyTimesLeaksNoGdiOrUserObjects) {
    auto cycle = [this] {
        Open();
        Press(IDOK);
        dlg_.reset();
    };
    cycle();  // classes, fonts and strings that stay for the whole run
    const DWORD gdi = GdiObjects();
    const DWORD user = UserObjects();
    for (int i = 0; i < 50; ++i) {
        cycle();
    }
    EXPECT_LE(GdiObjects(), gdi);
    EXPECT_LE(UserObjects(), user);
}

// The real main window: Préférences, OK with the largest squares, then the board, its pictures
// and the window follow at once.
class PrefsFromMainWindowTest : public MainDlgFixture {
protected:
    void TearDown() override {
        std::filesystem::remove(settingsPath_, ignored_);  // this test does save
        MainDlgFixture::TearDown();
    }

    // Runs inside the dialog's modal loop: the largest square size, then OK.
    static void CALLBACK ConfirmLargest(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM out) -> BOOL {
                std::array<wchar_t, 64> title{};
                GetWindowTextW(window, title.data(), static_cast<int>(title.size()));
                if (std::wstring(title.data()) == L"Préférences") {
                    *reinterpret_cast<HWND*>(out) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found == nullptr) {
            return;
        }
        const HWND slider = GetDlgItem(found, IDC_CELL_SIZE);
        SendMessageW(slider, TBM_SETPOS, TRUE, SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
        SendMessageW(found, WM_COMMAND, IDOK, 0);
    }
};

TEST_F(PrefsFromMainWindowTest, OkAppliesSizeAndPicturesAtOnceAndRecentres) {
    const int largest = CellSizeRangeFor(AppSettings::MaxCellSize()).high;
    ASSERT_GT(largest, 70);
    SetTimer(nullptr, 0, 20, ConfirmLargest);
    Click(IDC_PREFERENCES);

    EXPECT_EQ(settings_.CellSize, largest);
    EXPECT_EQ(Game().cellSize, largest);
    EXPECT_EQ(dlg_->Board().Images().CellSize(), largest);
    RECT board{};
    GetClientRect(BoardWnd(), &board);
    EXPECT_EQ(board.right, 8 * largest);
    EXPECT_EQ(board.bottom, 8 * largest);
    RECT client{};
    GetClientRect(Dlg(), &client);
    EXPECT_GE(client.bottom, 8 * largest);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(Dlg(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT window{};
    GetWindowRect(Dlg(), &window);
    EXPECT_GE(window.top, monitor.rcWork.top);
    EXPECT_LE(window.bottom, monitor.rcWork.bottom);
    EXPECT_NEAR(window.left + window.right, monitor.rcWork.left + monitor.rcWork.right, 2);
    EXPECT_TRUE(std::filesystem::exists(settingsPath_));
}

}  // namespace
}  // namespace saltor
