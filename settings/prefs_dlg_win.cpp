#include "settings/prefs_dlg_win.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "settings/prefs_rules.h"
#include "settings/settings_file_win.h"
#include "winkit/path_text.h"
#include "winkit/resource_string_win.h"
#include "winkit/tooltip_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr int kSliderTick = 10;
constexpr int kSliderPage = 10;
constexpr DWORD kFileDialogFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                                   OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;

struct ImageButton {
    int button;
    int box;
    UINT title;
};
constexpr ImageButton kImageButtons[] = {
    {IDC_BROWSE_WHITE_IMAGE, IDC_WHITE_IMAGE, IDS_WHITE_IMAGE_TITLE},
    {IDC_BROWSE_BLACK_IMAGE, IDC_BLACK_IMAGE, IDS_BLACK_IMAGE_TITLE},
    {IDC_BROWSE_KNIGHT_IMAGE, IDC_KNIGHT_IMAGE, IDS_KNIGHT_IMAGE_TITLE},
};

struct Tip {
    int control;
    UINT text;
};
constexpr Tip kTips[] = {
    {IDC_WHITE_IMAGE, IDS_TIP_SQUARE_IMAGE},  {IDC_BLACK_IMAGE, IDS_TIP_SQUARE_IMAGE},
    {IDC_WHITE_SWATCH, IDS_TIP_COLOR_SWATCH}, {IDC_BLACK_SWATCH, IDS_TIP_COLOR_SWATCH},
    {IDC_KNIGHT_IMAGE, IDS_TIP_KNIGHT_IMAGE}, {IDC_CURSOR_FILE, IDS_TIP_CURSOR_FILE},
    {IDC_HAND_CURSOR, IDS_TIP_HAND_CURSOR},
};

// "a|b||" with every "|" made a terminator: the double-terminated list the file dialog wants.
std::wstring FilterList(UINT id) {
    std::wstring filter = LoadResourceString(id);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');  // in case the string lost its final "||"
    return filter;
}

}  // namespace

CPrefsDlg::CPrefsDlg(AppSettings& settings, Desktop& desktop)
    : settings_(settings), desktop_(desktop), whiteSwatch_(desktop), blackSwatch_(desktop) {}

CPrefsDlg::~CPrefsDlg() {
    // A modeless dialog goes here, while its swatches and handlers are still whole.
    if (Hwnd() != nullptr && IsWindow(Hwnd())) {
        DestroyWindow(Hwnd());
    }
}

INT_PTR CPrefsDlg::DoModal(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);  // the slider's class
    return CDialogBase::DoModal(GetModuleHandleW(nullptr), IDD_PREFERENCES, owner);
}

HWND CPrefsDlg::CreateModeless(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    return CDialogBase::CreateModeless(GetModuleHandleW(nullptr), IDD_PREFERENCES, owner);
}

INT_PTR CPrefsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the platform sets no initial focus
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (reinterpret_cast<HWND>(lParam) == slider_) {
                UpdateCellSizeText();
                handled = true;
            }
            return 0;
        case WM_NOTIFY:
            // Custom draw and capture release too; the default answers are kept.
            if (reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == slider_) {
                UpdateCellSizeText();
            }
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_BROWSE_CURSOR:
                    BrowseCursor();
                    break;
                case IDC_BROWSE_WHITE_IMAGE:
                case IDC_BROWSE_BLACK_IMAGE:
                case IDC_BROWSE_KNIGHT_IMAGE:
                    BrowseImage(LOWORD(wParam));
                    break;
                case IDC_SOLID_COLOR:
                case IDC_TEXTURES:
                case IDC_HAND_CURSOR:
                    UpdateControlStates();
                    break;
                case IDOK:
                    ApplyAndSave();
                    break;
                case IDCANCEL:
                    EndDialog(IDCANCEL);
                    break;
                default:
                    return 0;
            }
            handled = true;
            return 0;
        default:
            return 0;
    }
}

void CPrefsDlg::OnInitDialog() {
    CentreWindow(Hwnd());

    slider_ = GetDlgItem(Hwnd(), IDC_CELL_SIZE);
    const CellSizeRange range =
        CellSizeRangeFor(AppSettings::MaxCellSize(), MinCellSizeAt(WindowDpi(Hwnd())));
    // The 32-bit range messages: the 16-bit halves of TBM_SETRANGE would cut a huge screen.
    SendMessageW(slider_, TBM_SETRANGEMIN, FALSE, range.low);
    SendMessageW(slider_, TBM_SETRANGEMAX, TRUE, range.high);
    SendMessageW(slider_, TBM_SETTICFREQ, kSliderTick, 0);
    SendMessageW(slider_, TBM_SETLINESIZE, 0, 1);
    SendMessageW(slider_, TBM_SETPAGESIZE, 0, kSliderPage);
    SendMessageW(slider_, TBM_SETPOS, TRUE, settings_.CellSize);

    SetDlgItemInt(Hwnd(), IDC_CELL_SIZE_TEXT, static_cast<UINT>(settings_.CellSize), TRUE);
    SetDlgItemTextW(Hwnd(), IDC_CALC_DURATION, std::to_wstring(settings_.CalcDuration).c_str());

    solidColor_ = settings_.SolidColor;
    cursorFile_ = settings_.CursorFile;
    handCursor_ = settings_.HandCursor;
    whiteImage_ = settings_.WhiteImage;
    blackImage_ = settings_.BlackImage;
    knightImage_ = settings_.KnightImage;

    CheckRadioButton(Hwnd(), IDC_SOLID_COLOR, IDC_TEXTURES,
                     solidColor_ ? IDC_SOLID_COLOR : IDC_TEXTURES);
    SetDlgItemTextW(Hwnd(), IDC_WHITE_IMAGE, whiteImage_.c_str());
    SetDlgItemTextW(Hwnd(), IDC_BLACK_IMAGE, blackImage_.c_str());
    SetDlgItemTextW(Hwnd(), IDC_KNIGHT_IMAGE, knightImage_.c_str());
    CheckDlgButton(Hwnd(), IDC_HAND_CURSOR, handCursor_ ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(Hwnd(), IDC_CURSOR_FILE, cursorFile_.c_str());

    whiteSwatch_.CreateOver(GetDlgItem(Hwnd(), IDC_WHITE_SWATCH));
    whiteSwatch_.SetColors(settings_.WhiteBgColor, settings_.WhiteFgColor);
    whiteSwatch_.SetCaptions(LoadResourceString(IDS_WHITE_BG_COLOR),
                             LoadResourceString(IDS_WHITE_FG_COLOR));
    blackSwatch_.CreateOver(GetDlgItem(Hwnd(), IDC_BLACK_SWATCH));
    blackSwatch_.SetColors(settings_.BlackBgColor, settings_.BlackFgColor);
    blackSwatch_.SetCaptions(LoadResourceString(IDS_BLACK_BG_COLOR),
                             LoadResourceString(IDS_BLACK_FG_COLOR));

    // Above their placeholders, which would otherwise be painted over them.
    for (const HWND swatch : {whiteSwatch_.Hwnd(), blackSwatch_.Hwnd()}) {
        SetWindowPos(swatch, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    UpdateControlStates();
    CreateTooltips();
}

void CPrefsDlg::UpdateControlStates() {
    const bool textures = IsDlgButtonChecked(Hwnd(), IDC_TEXTURES) == BST_CHECKED;
    for (int id :
         {IDC_WHITE_IMAGE, IDC_BLACK_IMAGE, IDC_BROWSE_WHITE_IMAGE, IDC_BROWSE_BLACK_IMAGE}) {
        EnableWindow(GetDlgItem(Hwnd(), id), textures);
    }
    const bool hand = IsDlgButtonChecked(Hwnd(), IDC_HAND_CURSOR) == BST_CHECKED;
    EnableWindow(GetDlgItem(Hwnd(), IDC_CURSOR_FILE), !hand);
    EnableWindow(GetDlgItem(Hwnd(), IDC_BROWSE_CURSOR), !hand);
}

void CPrefsDlg::UpdateCellSizeText() {
    const auto position = static_cast<int>(SendMessageW(slider_, TBM_GETPOS, 0, 0));
    SetDlgItemInt(Hwnd(), IDC_CELL_SIZE_TEXT, static_cast<UINT>(position), TRUE);
}

std::wstring CPrefsDlg::ItemText(int id) const {
    return WindowText(GetDlgItem(Hwnd(), id));
}

// The chosen full path, or empty when the player cancelled.
std::wstring CPrefsDlg::OpenFileDialog(const std::wstring& title, UINT filterId,
                                       const std::wstring& folder,
                                       const std::wstring& initialFile) {
    const std::wstring filter = FilterList(filterId);
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    std::copy_n(initialFile.begin(), std::min(initialFile.size(), file.size() - 1), file.begin());
    OPENFILENAMEW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = Hwnd();
    record.lpstrFilter = filter.c_str();
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    record.lpstrTitle = title.empty() ? nullptr : title.c_str();
    record.Flags = kFileDialogFlags;
    if (!desktop_.PickFile(record)) {
        return {};
    }
    return file.data();
}

// Starts from the path last chosen with this button (or shown at opening), not from the box.
void CPrefsDlg::BrowseImage(int button) {
    const auto* entry = std::find_if(std::begin(kImageButtons), std::end(kImageButtons),
                                     [button](const ImageButton& b) { return b.button == button; });
    std::wstring& copy = button == IDC_BROWSE_WHITE_IMAGE   ? whiteImage_
                         : button == IDC_BROWSE_BLACK_IMAGE ? blackImage_
                                                            : knightImage_;
    std::wstring folder;
    if (copy.empty()) {
        std::array<wchar_t, MAX_PATH> pictures{};
        if (SHGetSpecialFolderPathW(Hwnd(), pictures.data(), CSIDL_MYPICTURES, FALSE)) {
            folder = pictures.data();
        }
    } else {
        folder = FolderOf(copy);
    }
    const std::wstring chosen =
        OpenFileDialog(LoadResourceString(entry->title), IDS_IMAGE_FILTER, folder, copy);
    if (!chosen.empty()) {
        copy = chosen;
        SetDlgItemTextW(Hwnd(), entry->box, copy.c_str());
    }
}

// Starts in the folder of the typed file, or in the system's cursors.
void CPrefsDlg::BrowseCursor() {
    const std::wstring typed = ItemText(IDC_CURSOR_FILE);
    std::wstring folder;
    if (typed.empty()) {
        std::array<wchar_t, MAX_PATH> windows{};
        const UINT length = GetWindowsDirectoryW(windows.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            folder = std::wstring(windows.data(), length) + L"\\Cursors";
        }
    } else {
        folder = FolderOf(typed);
    }
    const std::wstring chosen = OpenFileDialog({}, IDS_CURSOR_FILTER, folder, {});
    if (!chosen.empty()) {
        SetDlgItemTextW(Hwnd(), IDC_CURSOR_FILE, chosen.c_str());
    }
}

void CPrefsDlg::CreateTooltips() {
    tooltip_ = CreateTooltipWindow(Hwnd());
    if (tooltip_ == nullptr) {
        return;
    }
    for (const Tip& tip : kTips) {
        AddTooltipTool(tooltip_, GetDlgItem(Hwnd(), tip.control), kToolId,
                       LoadResourceString(tip.text));
    }
}

// Every field changes together, just before the save. A failed save is reported (the player
// would otherwise lose the choices at the next start), but the values apply to this run anyway.
void CPrefsDlg::ApplyAndSave() {
    cursorFile_ = ItemText(IDC_CURSOR_FILE);
    settings_.CursorFile = cursorFile_;
    settings_.HandCursor = IsDlgButtonChecked(Hwnd(), IDC_HAND_CURSOR) == BST_CHECKED;
    settings_.CalcDuration = CalcDurationFromText(ItemText(IDC_CALC_DURATION));
    settings_.WhiteBgColor = whiteSwatch_.BackColor();
    settings_.BlackBgColor = blackSwatch_.BackColor();
    settings_.WhiteFgColor = whiteSwatch_.TextColor();
    settings_.BlackFgColor = blackSwatch_.TextColor();
    if (IsDlgButtonChecked(Hwnd(), IDC_SOLID_COLOR) == BST_CHECKED) {
        settings_.SolidColor = true;
    } else {
        settings_.SolidColor = false;
        settings_.WhiteImage = ItemText(IDC_WHITE_IMAGE);
        settings_.BlackImage = ItemText(IDC_BLACK_IMAGE);
    }
    settings_.KnightImage = ItemText(IDC_KNIGHT_IMAGE);
    settings_.CellSize = static_cast<int32_t>(SendMessageW(slider_, TBM_GETPOS, 0, 0));

    if (!settings_.Save()) {
        desktop_.ShowMessage(Hwnd(),
                             FormatResourceString(IDS_PREFS_SAVE_FAILED, SettingsFilePath()),
                             LoadResourceString(IDS_MAIN_CAPTION), MB_ICONEXCLAMATION | MB_OK);
    }
    settings_.ReloadBoardCursor();
    EndDialog(IDOK);
}

}  // namespace saltor
