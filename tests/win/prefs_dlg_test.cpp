#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <cwchar>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "hostile_files.h"
#include "recording_desktop.h"
#include "resources/resource.h"
#include "settings/caption_color_dialog_win.h"
#include "settings/prefs_dlg_win.h"
#include "settings/prefs_rules.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// What the colour dialog was asked; it answers g_chosenColor, or Cancel for black, after leaving
// a stray colour in the record and defining a custom colour.
std::vector<std::pair<CHOOSECOLORW, std::wstring>> g_colorCalls;  // with the title asked for
COLORREF g_chosenColor = 0;
BOOL WINAPI ChooseColorStandIn(CHOOSECOLORW* record) {
    g_colorCalls.emplace_back(
        *record, record->lCustData ? reinterpret_cast<const wchar_t*>(record->lCustData) : L"");
    record->lpCustColors[0] = RGB(1, 2, 3);
    record->rgbResult = g_chosenColor != 0 ? g_chosenColor : RGB(77, 77, 77);
    return g_chosenColor != 0;
}

// What the file dialog was asked; it answers with g_chosenFile, or Cancel when that is empty.
struct FileDialogCall {
    std::wstring title, filter, folder, file;
    DWORD flags;
};
std::vector<FileDialogCall> g_fileCalls;
std::wstring g_chosenFile;
BOOL WINAPI PickFileStandIn(OPENFILENAMEW* r) {
    const auto text = [](const wchar_t* s) { return std::wstring(s != nullptr ? s : L"(none)"); };
    g_fileCalls.push_back(
        {text(r->lpstrTitle),
         text(r->lpstrFilter) + L"|" + text(r->lpstrFilter + wcslen(r->lpstrFilter) + 1),
         text(r->lpstrInitialDir), text(r->lpstrFile), r->Flags});
    lstrcpynW(r->lpstrFile, g_chosenFile.c_str(), static_cast<int>(r->nMaxFile));
    return !g_chosenFile.empty();
}

// The dialog run modeless on the real settings file of this test program, whatever was there
// put aside; colour and file dialogs answered by stand-ins.
class PrefsDlgTest : public testing::Test {
protected:
    void SetUp() override {
        fs::rename(path_, aside_, ignored_);
        desktop_.pickColor = ChooseColorStandIn;
        desktop_.pickFile = PickFileStandIn;
        g_fileCalls.clear();
        g_colorCalls.clear();
        settings_.WhiteImage = L"C:\\bois\\clair.png";
        settings_.BlackImage = L"C:\\bois\\fonce.png";
        settings_.KnightImage = L"D:\\cavalier.png";
        settings_.CursorFile = L"C:\\curseurs\\fl\u00e8che.cur";
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
    std::wstring Text(int id) const { return WindowText(Item(id)); }
    void SetText(int id, const std::wstring& text) { SetWindowTextW(Item(id), text.c_str()); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(dlg_->Hwnd(), id) == BST_CHECKED; }
    // A click as the button reports it: its state is toggled first.
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Slide(WPARAM key) { SendMessageW(Item(IDC_CELL_SIZE), WM_KEYDOWN, key, 0); }
    // The swatch on top of a placeholder static, as the mouse finds it.
    HWND SwatchOver(int placeholder) const {
        RECT r = ChildRect(dlg_->Hwnd(), Item(placeholder));
        return ChildWindowFromPoint(dlg_->Hwnd(),
                                    POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
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

TEST_F(PrefsDlgTest, ShowsEveryFieldCancelKeepsThemAndOkStoresThemAll) {
    const CellSizeRange range = CellSizeRangeFor(AppSettings::MaxCellSize());
    ASSERT_GE(range.high, 81) << "the test needs a work area of at least 700 pixels";
    const std::wstring before = BuildSettingsDocument(settings_);

    Open();
    EXPECT_TRUE(Checked(IDC_TEXTURES) && !Checked(IDC_SOLID_COLOR) && !Checked(IDC_HAND_CURSOR));
    EXPECT_EQ(Text(IDC_WHITE_IMAGE), settings_.WhiteImage);
    EXPECT_EQ(Text(IDC_BLACK_IMAGE), settings_.BlackImage);
    EXPECT_EQ(Text(IDC_KNIGHT_IMAGE), settings_.KnightImage);
    EXPECT_EQ(Text(IDC_CURSOR_FILE), settings_.CursorFile);
    EXPECT_EQ(Text(IDC_CALC_DURATION), L"1000");
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"70");
    EXPECT_TRUE(Enabled(IDC_WHITE_IMAGE) && Enabled(IDC_CURSOR_FILE) && Enabled(IDC_BROWSE_CURSOR));
    EXPECT_EQ(SendMessageW(Item(IDC_CELL_SIZE), TBM_GETRANGEMIN, 0, 0), range.low);
    EXPECT_EQ(SendMessageW(Item(IDC_CELL_SIZE), TBM_GETRANGEMAX, 0, 0), range.high);
    EXPECT_NE(SwatchOver(IDC_WHITE_SWATCH), Item(IDC_WHITE_SWATCH));
    EXPECT_NE(SwatchOver(IDC_WHITE_SWATCH), SwatchOver(IDC_BLACK_SWATCH));
    // A swatch shows the background with a digit in the text colour, white on black here.
    {
        RECT r{};
        GetClientRect(SwatchOver(IDC_BLACK_SWATCH), &r);
        const WindowDc screen(nullptr);
        const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
        const SelectedObject selected(dc.Get(), bitmap.Get());
        SendMessageW(SwatchOver(IDC_BLACK_SWATCH), WM_ERASEBKGND, WPARAM(dc.Get()), 0);
        int digit = 0;
        for (int at = 0; at < r.right * r.bottom; ++at) {
            digit += GetPixel(dc.Get(), at % r.right, at / r.right) == RGB(255, 255, 255);
        }
        EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(0, 0, 0));
        EXPECT_GT(digit, 3);
        EXPECT_LT(digit, r.right * r.bottom / 4);
    }
    // The colour dialog's hook titles it when it starts, and only then.
    CHOOSECOLORW record{};
    record.lCustData = reinterpret_cast<LPARAM>(L"Titre");
    CCaptionColorDialog::HookProc(Item(IDC_CELL_SIZE_TEXT), WM_COMMAND, 0, LPARAM(&record));
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"70");
    CCaptionColorDialog::HookProc(Item(IDC_CELL_SIZE_TEXT), WM_INITDIALOG, 0, LPARAM(&record));
    EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), L"Titre");
    // One tip window for the seven fields that explain themselves.
    HWND tips = nullptr;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr));) {
        tips = GetWindow(w, GW_OWNER) == dlg_->Hwnd() ? w : tips;
    }
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 7);
    // Centred over the screen's work area, as it has no owner here.
    RECT box{}, work{};
    GetWindowRect(dlg_->Hwnd(), &box);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(box.left + box.right, work.left + work.right, 2);

    // Everything edited, colours included, then "Annuler": neither the record nor the file.
    SetText(IDC_KNIGHT_IMAGE, L"k.png");
    SetText(IDC_CALC_DURATION, L"5000");
    Click(IDC_HAND_CURSOR);
    g_chosenColor = RGB(1, 2, 3);
    SendMessageW(SwatchOver(IDC_WHITE_SWATCH), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    Slide(VK_END);
    EXPECT_EQ(Press(IDCANCEL), IDCANCEL);
    EXPECT_EQ(BuildSettingsDocument(settings_), before);
    EXPECT_FALSE(fs::exists(path_));

    // The "pixels" box follows the slider's keys: an arrow moves by 1, a page key by 10.
    Open();
    const std::pair<WPARAM, std::wstring> keys[] = {{VK_RIGHT, L"71"},
                                                    {VK_NEXT, L"81"},
                                                    {VK_END, std::to_wstring(range.high)},
                                                    {VK_HOME, std::to_wstring(range.low)},
                                                    {VK_PRIOR, std::to_wstring(range.low)},
                                                    {VK_NEXT, L"80"}};
    for (const auto& [key, shown] : keys) {
        Slide(key);
        EXPECT_EQ(Text(IDC_CELL_SIZE_TEXT), shown) << key;
    }
    SetText(IDC_CURSOR_FILE, L"C:\\nulle\\part.cur");  // missing: falls back silently
    Click(IDC_HAND_CURSOR);
    EXPECT_FALSE(Enabled(IDC_CURSOR_FILE) || Enabled(IDC_BROWSE_CURSOR));
    SetText(IDC_WHITE_IMAGE, L"w.png");
    SetText(IDC_BLACK_IMAGE, L"  b.png");  // stored as typed
    SetText(IDC_KNIGHT_IMAGE, L"k.png");
    SetText(IDC_CALC_DURATION, L"150");
    g_chosenColor = RGB(10, 20, 30);
    SendMessageW(SwatchOver(IDC_BLACK_SWATCH), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    g_chosenColor = RGB(40, 50, 60);
    SendMessageW(SwatchOver(IDC_WHITE_SWATCH), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    g_chosenColor = 0;  // cancelled: the text stays black
    SendMessageW(SwatchOver(IDC_WHITE_SWATCH), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(Press(IDOK), IDOK);

    AppSettings expected;
    expected.CursorFile = L"C:\\nulle\\part.cur";
    expected.HandCursor = true;
    expected.WhiteImage = L"w.png";
    expected.BlackImage = L"  b.png";
    expected.KnightImage = L"k.png";
    expected.CellSize = 80;
    expected.CalcDuration = 150;
    expected.WhiteBgColor = RGB(40, 50, 60);
    expected.BlackFgColor = RGB(10, 20, 30);
    EXPECT_EQ(BuildSettingsDocument(settings_), BuildSettingsDocument(expected));
    // The colour dialog opens titled for the colour it edits, on that colour unless black, over
    // custom colours that last between dialogs.
    ASSERT_EQ(g_colorCalls.size(), 4u);
    const std::pair<std::wstring, DWORD> asked[] = {
        {L"Couleur des cases blanches", CC_RGBINIT},
        {L"Couleur du texte des cases noires", CC_RGBINIT},
        {L"Couleur des cases blanches", CC_RGBINIT},
        {L"Couleur du texte des cases blanches", 0}};
    for (size_t i = 0; i < 4; ++i) {
        const auto& [call, title] = g_colorCalls[i];
        EXPECT_EQ(title, asked[i].first);
        EXPECT_EQ(call.Flags, CC_FULLOPEN | CC_ENABLEHOOK | asked[i].second);
        EXPECT_EQ(call.lpCustColors, g_colorCalls[0].first.lpCustColors);
    }
    EXPECT_EQ(g_colorCalls[2].first.lpCustColors[0], RGB(1, 2, 3));
    EXPECT_EQ(g_colorCalls[1].first.rgbResult, RGB(255, 255, 255));
    EXPECT_EQ(settings_.BoardCursor.get(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(ReadBytes(path_), EncodeUtf8(BuildSettingsDocument(expected)));
    EXPECT_TRUE(desktop_.boxes.empty());
}

// Plain colours grey the texture fields and keep their paths; the time is corrected.
TEST_F(PrefsDlgTest, PlainColoursKeepTheTexturesAndTheTimeIsCorrected) {
    for (const auto& [typed, stored] :
         {std::pair{L"50", 100u}, {L"150", 150u}, {L"", 100u}, {L"4294967296", 100u}}) {
        Open();
        Click(IDC_SOLID_COLOR);
        EXPECT_FALSE(Enabled(IDC_WHITE_IMAGE) || Enabled(IDC_BROWSE_BLACK_IMAGE));
        EXPECT_TRUE(Enabled(IDC_KNIGHT_IMAGE));
        SetText(IDC_WHITE_IMAGE, L"ignored.png");
        SetText(IDC_BLACK_IMAGE, L"");
        SetText(IDC_KNIGHT_IMAGE, L"");
        SetText(IDC_CALC_DURATION, typed);
        EXPECT_EQ(Press(IDOK), IDOK);
        EXPECT_TRUE(settings_.SolidColor);
        EXPECT_EQ(settings_.WhiteImage, L"C:\\bois\\clair.png");
        EXPECT_EQ(settings_.BlackImage, L"C:\\bois\\fonce.png");
        EXPECT_EQ(settings_.KnightImage, L"");
        EXPECT_EQ(settings_.CalcDuration, stored) << typed;
    }
    Open();  // reopened in plain-colour mode, the boxes show the kept paths, greyed
    EXPECT_TRUE(Checked(IDC_SOLID_COLOR));
    EXPECT_FALSE(Enabled(IDC_BLACK_IMAGE));
    EXPECT_EQ(Text(IDC_BLACK_IMAGE), L"C:\\bois\\fonce.png");
}

// Each picture button starts from the path last chosen with it (or shown at opening), the cursor
// button from the typed file's folder or the system's cursors; a cancel changes nothing.
TEST_F(PrefsDlgTest, BrowseButtonsStartWhereThePlayerWasAndTakeOnlyAChoice) {
    settings_.KnightImage.clear();
    Open();
    g_chosenFile = L"E:\\images\\ch\u00eane.png";
    Click(IDC_BROWSE_WHITE_IMAGE);
    EXPECT_EQ(Text(IDC_WHITE_IMAGE), g_chosenFile);
    SetText(IDC_WHITE_IMAGE, L"typed.png");
    Click(IDC_BROWSE_WHITE_IMAGE);
    EXPECT_EQ(Text(IDC_WHITE_IMAGE), g_chosenFile);
    g_chosenFile.clear();
    Click(IDC_BROWSE_KNIGHT_IMAGE);
    EXPECT_EQ(Text(IDC_KNIGHT_IMAGE), L"");
    SetText(IDC_CURSOR_FILE, L"");
    Click(IDC_BROWSE_CURSOR);
    SetText(IDC_CURSOR_FILE, L"F:\\mes curseurs\\main.cur");
    Click(IDC_BROWSE_CURSOR);
    EXPECT_EQ(Text(IDC_CURSOR_FILE), L"F:\\mes curseurs\\main.cur");

    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring images = L"Fichiers images |*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff";
    const std::wstring cursors = L"Fichiers curseurs (*.cur;*.ani)|*.cur;*.ani";
    ASSERT_EQ(g_fileCalls.size(), 5u);
    const std::vector<std::wstring> expected[] = {
        {L"Image pour les cases blanches", images, L"C:\\bois", L"C:\\bois\\clair.png"},
        {L"Image pour les cases blanches", images, L"E:\\images", L"E:\\images\\ch\u00eane.png"},
        {L"Image du cavalier", images, g_fileCalls[2].folder, L""},
        {L"(none)", cursors, std::wstring(windows) + L"\\Cursors", L""},
        {L"(none)", cursors, L"F:\\mes curseurs", L""}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        const FileDialogCall& call = g_fileCalls[i];
        EXPECT_EQ((std::vector{call.title, call.filter, call.folder, call.file}), expected[i]) << i;
        EXPECT_EQ(call.flags, DWORD{OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                                    OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING});
    }
    EXPECT_NE(g_fileCalls[2].folder, L"(none)");  // the player's pictures
}

// The new values apply even when they cannot be kept: the player is told, once, which file.
TEST_F(PrefsDlgTest, AFailedSaveIsReportedAndTheValuesStillApply) {
    WriteBytes(path_, "<CellSize>75</CellSize>");
    const UniqueHandle holder = LockFile(path_);
    ASSERT_TRUE(holder.Valid());
    Open();
    SetText(IDC_CALC_DURATION, L"2500");
    EXPECT_EQ(Press(IDOK), IDOK);
    EXPECT_EQ(settings_.CalcDuration, 2500u);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].owner, dlg_->Hwnd());
    EXPECT_EQ(desktop_.boxes[0].caption, L"Cavalier Saltor");
    EXPECT_EQ(desktop_.boxes[0].text,
              L"Les pr\u00e9f\u00e9rences n'ont pas pu \u00eatre enregistr\u00e9es dans le "
              L"fichier :\n" +
                  path_.wstring() + L"\n\nElles ne valent que pour cette session.");
}

}  // namespace
}  // namespace saltor
