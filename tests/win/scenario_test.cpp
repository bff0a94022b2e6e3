// Scenarios of the real main window and its Preferences, one step a line, in
// tests/win/scenarios/*.txt:
//
//   <action> [<argument>]            something the player does, or a file the program meets
//   = <probe> [<argument>] : <value>  what the window, the game or the files show at that point
//
// Texts are UTF-8 with \n and \t escapes; %game%, %settings%, %windows% and %pictures% stand for
// the game file's path, the settings file's, the Windows folder and the player's pictures, %min%
// and %max% for the square sizes this screen allows. The actions and probes are below.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/drill_dlg_win.h"
#include "board/pixel_rect_win.h"
#include "board/search_host_win.h"
#include "journal/journal_file_win.h"
#include "journal/progress_dlg_win.h"
#include "main_dlg_fixture.h"
#include "reference/case_file.h"
#include "settings/prefs_dlg_win.h"
#include "settings/prefs_rules.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// clang-format off
const std::map<std::string, int> kControls = {
    {"new", IDC_NEW_GAME}, {"back", IDC_BACK}, {"forward", IDC_FORWARD}, {"hint", IDC_HINT},
    {"first", IDC_FIRST}, {"last", IDC_LAST}, {"solve", IDC_SOLVE}, {"save", IDC_SAVE_STUDY},
    {"load", IDC_LOAD_STUDY}, {"quit", IDCANCEL}, {"help", IDC_HELP_BUTTON}, {"about", ID_APP_ABOUT},
    {"nohints", IDC_NO_HINTS}, {"mute", IDC_MUTE}, {"splitter", IDC_SPLITTER},
    {"frame", IDC_BROWSE_FRAME}, {"combo", IDC_STUDY_LIST}, {"panel", ID_TOGGLE_PANEL},
    {"preferences", IDC_PREFERENCES}, {"ok", IDOK}, {"cancel", IDCANCEL},
    {"solid", IDC_SOLID_COLOR}, {"textures", IDC_TEXTURES}, {"hand", IDC_HAND_CURSOR},
    {"cursor", IDC_CURSOR_FILE}, {"white", IDC_WHITE_IMAGE}, {"black", IDC_BLACK_IMAGE},
    {"knight", IDC_KNIGHT_IMAGE}, {"time", IDC_CALC_DURATION}, {"size", IDC_CELL_SIZE_TEXT},
    {"slider", IDC_CELL_SIZE}, {"browse-white", IDC_BROWSE_WHITE_IMAGE},
    {"browse-black", IDC_BROWSE_BLACK_IMAGE}, {"browse-knight", IDC_BROWSE_KNIGHT_IMAGE},
    {"browse-cursor", IDC_BROWSE_CURSOR}, {"white-swatch", IDC_WHITE_SWATCH},
    {"black-swatch", IDC_BLACK_SWATCH}, {"challenge", IDC_CHALLENGE}, {"entry", IDC_SQUARE_ENTRY},
    {"status", IDC_STATUS_LINE}, {"exam", ID_PRACTICE_EXAM}, {"blind", ID_PRACTICE_BLIND},
    {"handin", ID_PRACTICE_HAND_IN}, {"next", IDC_DRILL_NEXT}};
const std::map<std::string, WPARAM> kKeys = {
    {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Home", VK_HOME}, {"End", VK_END},
    {"PageUp", VK_PRIOR}, {"PageDown", VK_NEXT}, {"F2", VK_F2}, {"Space", VK_SPACE},
    {"Enter", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Delete", VK_DELETE}, {"Back", VK_BACK},
    {"Tab", VK_TAB}};
// clang-format on

// The colour and file dialogs: what they were asked, and what they answer next (Cancel when
// nothing is set).
std::vector<std::wstring> g_asked;
std::optional<COLORREF> g_nextColor;
std::optional<std::wstring> g_nextFile;
BOOL WINAPI ColorStandIn(CHOOSECOLORW* r) {
    g_asked.push_back((r->lCustData ? reinterpret_cast<const wchar_t*>(r->lCustData) : L"") +
                      std::wstring(r->Flags & CC_RGBINIT ? L" from " : L" ") +
                      std::to_wstring(r->rgbResult));
    r->rgbResult = g_nextColor.value_or(RGB(77, 77, 77));  // a cancel may leave anything
    return std::exchange(g_nextColor, std::nullopt).has_value();
}
BOOL WINAPI FileStandIn(OPENFILENAMEW* r) {
    const auto text = [](const wchar_t* s) { return s ? std::wstring(s) : L"-"; };
    g_asked.push_back(text(r->lpstrTitle) + L"|" + text(r->lpstrFilter) + L"|" +
                      text(r->lpstrFilter + wcslen(r->lpstrFilter) + 1) + L"|" +
                      text(r->lpstrInitialDir) + L"|" + text(r->lpstrFile));
    lstrcpynW(r->lpstrFile, g_nextFile.value_or(L"").c_str(), static_cast<int>(r->nMaxFile));
    return std::exchange(g_nextFile, std::nullopt).has_value();
}

class ScenarioTest : public MainDlgFixture, public testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        MainDlgFixture::SetUp();
        desktop_.pickColor = ColorStandIn;
        desktop_.pickFile = FileStandIn;
        g_asked.clear();
    }
    void TearDown() override {
        prefs_.reset();
        drills_.reset();
        progress_.reset();
        MainDlgFixture::TearDown();
    }

    // A line's text: \n and \t, and the paths by name.
    std::wstring Text(std::string line) const {
        line = std::regex_replace(std::regex_replace(line, std::regex(R"(\\n)"), "\n"),
                                  std::regex(R"(\\t)"), "\t");
        std::wstring text = DecodeUtf8(line.data(), line.size());
        wchar_t windows[MAX_PATH] = {}, pictures[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures);
        const CellSizeRange sizes = CellSizeRangeFor(AppSettings::MaxCellSize());
        for (const auto& [name, value] : {std::pair{L"%game%", gamePath_},
                                          {L"%journal%", JournalFilePath()},
                                          {L"%settings%", settingsPath_.wstring()},
                                          {L"%windows%", std::wstring(windows)},
                                          {L"%pictures%", std::wstring(pictures)},
                                          {L"%min%", std::to_wstring(sizes.low)},
                                          {L"%max%", std::to_wstring(sizes.high)}}) {
            for (size_t at; (at = text.find(name)) != std::wstring::npos;) {
                text.replace(at, wcslen(name), value);
            }
        }
        return text;
    }
    // A control of Preferences when it is open and has it, else of the main window.
    HWND Control(const std::string& name) const {
        if (name == "board" || name == "edit" || name == "dialog") {
            return name == "board" ? BoardWnd() : name == "edit" ? StudyEdit() : Dlg();
        }
        const int id = kControls.at(name);
        const HWND inPrefs = prefs_ ? GetDlgItem(prefs_->Hwnd(), id) : nullptr;
        const HWND inDrills = drills_ ? GetDlgItem(drills_->Hwnd(), id) : nullptr;
        return inPrefs ? inPrefs : inDrills ? inDrills : Item(id);
    }
    static Square SquareNamed(const std::string& name) { return {name[0] - 'a', name[1] - '1'}; }

    // A square typed in its box and Enter pressed there.
    void Type(const std::wstring& text) {
        SetWindowTextW(Control("entry"), text.c_str());
        Key(Control("entry"), VK_RETURN);
    }
    // Whether the board on screen shows anything but the plain colours of its squares (plain
    // colours chosen): a number, a mark, the knight.
    bool BoardShowsMore() {
        RedrawWindow(BoardWnd(), nullptr, nullptr, RDW_UPDATENOW);
        const int side = 8 * Game().cellSize;
        const WindowDc screen(BoardWnd());
        const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        const UniqueBitmap bitmap(
            CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const SelectedObject selected(dc.Get(), bitmap.Get());
        BitBlt(dc.Get(), 0, 0, side, side, screen.Get(), 0, 0, SRCCOPY);
        GdiFlush();
        const auto plain = [this](uint32_t p) {
            const COLORREF c = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
            return c == settings_.WhiteBgColor || c == settings_.BlackBgColor;
        };
        const auto* pixels = static_cast<const uint32_t*>(bits);
        return !std::all_of(pixels, pixels + side * side, plain);
    }

    void Act(const std::string& action, const std::string& arg) {
        std::istringstream words(arg);
        std::string a, b;
        words >> a >> b;
        const std::wstring rest = Text(arg.size() > a.size() ? arg.substr(a.size() + 1) : "");
        if (action == "open") {
            Open();
        } else if (action == "squares") {
            for (std::istringstream each(arg); each >> a;) {
                ClickSquare(SquareNamed(a));
            }
        } else if (action == "right") {  // the right button on a square
            const Square s = SquareNamed(a);
            const int cell = Game().cellSize;
            SendMessageW(BoardWnd(), WM_RBUTTONDOWN, MK_RBUTTON,
                         MAKELPARAM(s.column * cell + 1, (8 - s.row) * cell - 1));
        } else if (action == "pick") {  // an item of the challenge list, as the mouse chooses it
            SendMessageW(Control("challenge"), CB_SETCURSEL, std::stoi(a), 0);
            SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_CHALLENGE, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(Control("challenge")));
            Pump();
        } else if (action == "click") {  // a button as the mouse presses it
            SendMessageW(Control(a), BM_CLICK, 0, 0);
            Pump();
        } else if (action == "command") {  // as a key or a stale message would send it
            SendMessageW(prefs_ ? prefs_->Hwnd() : Dlg(), WM_COMMAND, kControls.at(a), 0);
            Pump();
        } else if (action == "board") {  // a command sent to the board itself
            SendMessageW(BoardWnd(), WM_COMMAND, kControls.at(a), 0);
        } else if (action == "key" || action == "ctrl") {  // to the control named, or the focus
            Key(b.empty() ? GetFocus() : Control(b), a.size() == 1 ? a[0] : kKeys.at(a),
                action == "ctrl");
        } else if (action == "focus") {  // as Tab moves it, which makes a button the default
            SendMessageW(Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(a)), TRUE);
        } else if (action == "set") {
            SetWindowTextW(Control(a), rest.c_str());
            Pump();
        } else if (action == "type") {  // each square typed in its box, then Enter (no square:
                                        // the empty box); a move played shows nothing on the
                                        // board, and the status line names the knight's square
            std::istringstream each(arg);
            std::vector<std::string> typed{std::istream_iterator<std::string>(each), {}};
            for (const std::string& square : typed.empty() ? std::vector{std::string()} : typed) {
                const int moves = Game().tour.moveCount;
                Type(Text(square));
                const std::wstring said = L"Coup " + std::to_wstring(Game().tour.moveCount) +
                                          L" : cavalier en " + Text(square) + L",";
                EXPECT_TRUE(Game().tour.moveCount == moves || Game().IsBrowsing() ||
                            (!BoardShowsMore() && WindowText(Control("status")).starts_with(said)))
                    << square;
            }
        } else if (action == "tour") {
            DecodeTour(Game().tour, Text(arg));
        } else if (action == "file") {  // the game file's bytes, \xNN escapes
            std::string bytes = std::regex_replace(arg, std::regex(R"(\\r\\n)"), "\r\n");
            for (size_t at; (at = bytes.find("\\x")) != std::string::npos;) {
                bytes.replace(at, 4, 1,
                              static_cast<char>(std::stoi(bytes.substr(at + 2, 2), nullptr, 16)));
            }
            WriteBytes(gamePath_, bytes);
            WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());
        } else if (action == "store") {  // name=tour, written by the game file's own writer
            const std::wstring study = Text(arg);
            GameFile(gamePath_).Write(study.substr(0, study.find(L'=')),
                                      study.substr(study.find(L'=') + 1));
        } else if (action == "lock") {
            const fs::path file = a == "settings"  ? settingsPath_
                                  : a == "journal" ? fs::path(JournalFilePath())
                                                   : fs::path(gamePath_);
            fs::create_directories(file.parent_path());
            if (!fs::exists(file)) {
                WriteBytes(file, "<CellSize>75</CellSize>");
            }
            lock_ = LockFile(file);
        } else if (action == "unlock") {
            lock_.Reset();
        } else if (action == "delete") {  // Delete in the edit field, the list dropped or not
            const std::vector<std::wstring> names = Listed();
            const auto at = std::find(names.begin(), names.end(), rest);
            ASSERT_NE(at, names.end());
            SendMessageW(Combo(), CB_SHOWDROPDOWN, a == "dropped", 0);
            SendMessageW(Combo(), CB_SETCURSEL, at - names.begin(), 0);
            SetFocus(StudyEdit());
            Key(StudyEdit(), VK_DELETE);
            SendMessageW(Combo(), CB_SHOWDROPDOWN, FALSE, 0);
        } else if (action == "squares-size") {  // as Preferences applies it
            settings_.CellSize = std::stoi(a);
            dlg_->Board().FollowSettings();
            SendMessageW(Dlg(), WM_SIZE, 0, 0);
            Pump();
        } else if (action == "smear") {  // pixels the window no longer holds, as a closing
                                         // dialog leaves them under X until they are repainted
            RECT client{};
            GetClientRect(Dlg(), &client);
            FillRect(WindowDc(Dlg()).Get(), &client, HBRUSH(GetStockObject(BLACK_BRUSH)));
        } else if (action == "place") {
            SetWindowPos(Dlg(), nullptr, std::stoi(a), std::stoi(b), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        } else if (action == "show") {
            ShowWindow(Dlg(), a == "minimised" ? SW_MINIMIZE : SW_RESTORE);
            Pump();
        } else if (action == "press") {  // a click on the dialog's own area, at x y
            SendMessageW(Dlg(), WM_LBUTTONDOWN, 0, MAKELPARAM(std::stoi(a), std::stoi(b)));
        } else if (action == "forget") {
            desktop_.beeps.clear();
            desktop_.boxes.clear();
            g_asked.clear();
        } else if (action == "preferences") {  // Preferences over the settings, modeless
            prefs_ = std::make_unique<CPrefsDlg>(settings_, desktop_);
            ASSERT_NE(prefs_->CreateModeless(nullptr), nullptr);
        } else if (action == "setting") {  // a stored field, as the settings file would give it
            const std::wstring field = Text(a), value = rest;
            const std::wregex element(L"<" + field + L">[^<]*</" + field + L">");
            ApplySettingsDocument(
                settings_,
                std::regex_replace(BuildSettingsDocument(settings_), element,
                                   L"<" + field + L">" + value + L"</" + field + L">"),
                AppSettings::MaxCellSize());
            settings_.ReloadBoardCursor();
        } else if (action == "queue") {  // a key for the board, or a quit request, left queued
            a == "quit" ? PostQuitMessage(std::stoi(b))
                        : void(PostMessageW(BoardWnd(), WM_KEYDOWN, kKeys.at(a), 0));
        } else if (action == "hover") {
            const Square s = SquareNamed(a);
            SendMessageW(
                BoardWnd(), WM_MOUSEMOVE, 0,
                MAKELPARAM(s.column * Game().cellSize + 1, (8 - s.row) * Game().cellSize - 1));
        } else if (action == "pointer-over") {  // the mouse pointer, not moving it further
            const RECT r = ChildRect(nullptr, Control(a));
            MovePointer({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            Sleep(100);  // and the motion it makes reaches the window under it
            Pump();
        } else if (action == "long-search") {  // the board's host through a search of a ms
            // The judge now settles every position in a few milliseconds, so the search is
            // stretched; on a loaded machine one Sleep may outlast the stretch before the host
            // reads its clock twice, so it goes on until the wait cursor shows.
            WinSearchHost host(BoardWnd());
            const DWORD start = GetTickCount();
            const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
            while (GetTickCount() - start < static_cast<DWORD>(std::stoi(a)) ||
                   (GetCursor() != wait && GetTickCount() - start < 5000)) {
                for (int square = 0; square < 1024; ++square) {
                    host.PollCancel();
                    host.ShowBusy();
                }
                Sleep(1);
            }
            host.SearchEnded();
            Pump();
        } else if (action == "resize-board") {  // as any other window might resize it
            SetWindowPos(BoardWnd(), nullptr, 0, 0, std::stoi(a), std::stoi(b),
                         SWP_NOMOVE | SWP_NOZORDER);
        } else if (action == "slide") {
            SendMessageW(Control("slider"), WM_KEYDOWN, kKeys.at(a), 0);
        } else if (action == "colour") {  // the next colour dialog's answer
            g_nextColor = std::stoul(a, nullptr, 16);
        } else if (action == "choose") {  // the next file dialog's answer
            g_nextFile = Text(arg);
        } else if (action == "swatch") {  // the swatch over a placeholder, clicked left or right
            const RECT r = ChildRect(prefs_->Hwnd(), Control(a));
            SendMessageW(ChildWindowFromPoint(
                             prefs_->Hwnd(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}),
                         b == "left" ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, 0);
        } else if (action == "close") {
            SendMessageW(prefs_->Hwnd(), WM_COMMAND, MAKEWPARAM(kControls.at(a), BN_CLICKED), 0);
            result_ = prefs_->Result();
            prefs_.reset();
        } else if (action == "drills") {  // the menu's windows, modeless
            drills_ = std::make_unique<CDrillDlg>(settings_, desktop_);
            ASSERT_NE(drills_->CreateModeless(Dlg()), nullptr);
        } else if (action == "progress") {
            progress_ = std::make_unique<CProgressDlg>();
            ASSERT_NE(progress_->CreateModeless(Dlg()), nullptr);
        } else if (action == "other-drill") {  // another copy's answer, box 3 due in 5 days
            const Drill other{*ParsePathField(Text(a)), {}, SquareNamed(b), 3, LocalToday() + 5};
            UpdateDrillFile(DrillFilePath(), [&other](std::vector<Drill>& drills) {
                PutDrill(drills, other);
                return true;
            });
        } else if (action == "drill-square") {
            const Square s = SquareNamed(a);
            const int cell = drills_->Board().Game().cellSize;
            SendMessageW(drills_->Board().Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(s.column * cell + cell / 2, (7 - s.row) * cell + cell / 2));
        } else {
            FAIL() << "no action " << action;
        }
    }

    std::wstring Probe(const std::string& probe, const std::string& arg) {
        const auto join = [](const std::vector<std::wstring>& items) {
            std::wstring text;
            for (const std::wstring& item : items) {
                text += (text.empty() ? L"" : L" | ") + item;
            }
            return text;
        };
        const auto rect = [&] { return ChildRect(Dlg(), Control(arg)); };
        const auto named = [](Square s) {
            return IsNoSquare(s) ? L"-"
                                 : std::wstring{wchar_t(L'a' + s.column), wchar_t(L'1' + s.row)};
        };
        if (probe == "panel") {
            const std::string p = Panel();
            return {p.begin(), p.end()};
        }
        if (probe == "moves" || probe == "browse" || probe == "hints" || probe == "errors") {
            return std::to_wstring(probe == "moves"    ? Game().tour.moveCount
                                   : probe == "browse" ? Game().browseIndex
                                   : probe == "hints"  ? Game().hintCount
                                                       : Game().tour.errorCount);
        }
        if (probe == "painted") {  // anything on the board besides its squares' plain colours
            return BoardShowsMore() ? L"yes" : L"no";
        }
        if (probe == "menu") {  // an item of the menu bar: checked, enabled or disabled
            const UINT state = GetMenuState(GetMenu(Dlg()), kControls.at(arg), MF_BYCOMMAND);
            return state & MF_CHECKED ? L"checked" : state & MF_GRAYED ? L"disabled" : L"enabled";
        }
        if (probe == "queued") {  // what a search left in the queue: keys, a quit request
            std::wstring queued;
            for (MSG msg; PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE) ||
                          PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
                queued += msg.message == WM_QUIT      ? L"quit " + std::to_wstring(msg.wParam)
                          : msg.message == WM_KEYDOWN ? L"key "
                                                      : L"";
            }
            return queued;
        }
        if (probe == "up-to-date") {  // the board, the whole window, or its part under a control
            const bool whole = arg == "board" || arg == "dialog";
            return (whole ? ShowsAFullRepaint(Control(arg))
                          : ShowsAFullRepaint(Dlg(), ChildRect(Dlg(), Control(arg))))
                       ? L"yes"
                       : L"no";
        }
        if (probe == "board-size") {
            const RECT r = ChildRect(Dlg(), BoardWnd());
            return std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
        }
        if (probe == "tour") {
            return EncodeTour(Game().tour);
        }
        if (probe == "hint") {  // the square the thumbs-up stands on
            return named(Game().hintSquare);
        }
        if (probe == "beeps") {  // ! for the exclamation, . for the plain beep
            std::wstring beeps;
            for (const BeepKind kind : desktop_.beeps) {
                beeps += kind == BeepKind::Exclamation ? L'!' : L'.';
            }
            return beeps;
        }
        if (probe == "boxes") {  // each as "owner caption: text"
            std::vector<std::wstring> boxes;
            for (const auto& box : desktop_.boxes) {
                const std::wstring owner = box.owner == Dlg()        ? L"window"
                                           : box.owner == BoardWnd() ? L"board"
                                                                     : L"preferences";
                boxes.push_back(owner + L" " + box.caption + L": " + box.text);
            }
            return join(boxes);
        }
        if (probe == "listed") {
            std::vector<std::wstring> names = Listed();
            std::sort(names.begin(), names.end());
            return join(names);
        }
        if (probe == "stored") {  // the game file's names, sorted, or one study's tour
            std::vector<std::wstring> names = GameFile(gamePath_).ReadNames();
            std::sort(names.begin(), names.end());
            return arg.empty() ? join(names) : GameFile(gamePath_).Read(Text(arg));
        }
        if (probe == "tip") {  // the pointer rests on the square: its tip, outside it if so
            const RECT square = ToRect(Game().SquareRect(SquareNamed(arg)));
            SendMessageW(BoardWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(square.left + 1, square.top + 1));
            wchar_t text[512] = {};
            TTTOOLINFOW tool{TTTOOLINFOW_V2_SIZE, 0, BoardWnd(), 1, {}, nullptr, text, 0, nullptr};
            SendMessageW(MarkTip(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
            NMHDR shows{MarkTip(), 0, TTN_SHOW};
            SendMessageW(BoardWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&shows));
            return (*text && !EqualRect(&tool.rect, &square) ? L"(outside) " : L"") +
                   std::wstring(text);
        }
        if (probe == "outlined") {  // on the main board, or the drill's
            std::vector<std::wstring> squares;
            const BoardGame& game = arg == "drill" ? drills_->Board().Game() : Game();
            for (uint64_t rest = game.outlined; rest != 0; rest &= rest - 1) {
                squares.push_back(named(SquareAt(std::countr_zero(rest))));
            }
            return join(squares);
        }
        if (probe == "default") {  // what Enter sends when the focus is on no button
            const LRESULT id = SendMessageW(Dlg(), DM_GETDEFID, 0, 0);
            return HIWORD(id) == DC_HASDEFID && !Item(LOWORD(id)) ? L"no control"
                                                                  : L"a control or nothing";
        }
        if (probe == "stored-challenge") {
            return GameFile(gamePath_, kChallengeSection).Read(Text(arg));
        }
        if (probe == "asked") {
            return join(g_asked);
        }
        if (probe == "focus") {
            for (const std::string name : {"board", "edit", "new", "quit", "solve", "back"}) {
                if (Control(name) == GetFocus()) {
                    return Text(name);
                }
            }
            return L"?";
        }
        if (probe == "text") {
            return WindowText(Control(arg));
        }
        if (probe == "state") {  // - hidden, o shown but disabled, X enabled; then checked or not
            const HWND c = Control(arg);
            const bool shown = (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0;
            return std::wstring(1, !shown               ? L'-'
                                   : IsWindowEnabled(c) ? L'X'
                                                        : L'o') +
                   (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? L" checked" : L"");
        }
        if (probe == "left" || probe == "bottom") {
            return std::to_wstring(probe == "left" ? rect().left : rect().bottom);
        }
        if (probe == "window") {  // left, top and width on screen
            RECT r{};
            GetWindowRect(Dlg(), &r);
            return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                   std::to_wstring(r.right - r.left);
        }
        if (probe == "panel-shown") {
            return dlg_->PanelShown() ? L"yes" : L"no";
        }
        if (probe == "settings" ||
            probe == "saved") {  // the stored fields that differ from the defaults
            const std::wstring now = BuildSettingsDocument(settings_),
                               first = BuildSettingsDocument(AppSettings());
            std::string bytes = ReadBytes(settingsPath_);
            const std::wstring document =
                probe == "settings" ? now : DecodeUtf8(bytes.data(), bytes.size());
            std::vector<std::wstring> changed;
            const std::wregex field(LR"(<(\w+)>([^<]*)</\1>)");
            for (std::wsregex_iterator it(document.begin(), document.end(), field), end; it != end;
                 ++it) {
                if (first.find(it->str()) == std::wstring::npos) {
                    changed.push_back(it->str(1) + L"=" + it->str(2));
                }
            }
            return join(changed);
        }
        if (probe == "cursor" || probe == "pointer") {  // the board's, or the one shown
            const auto cursor = probe == "pointer"
                                    ? GetCursor()
                                    : static_cast<HCURSOR>(settings_.BoardCursor.get());
            if (cursor == LoadCursorW(nullptr, IDC_NO) ||
                cursor == LoadCursorW(nullptr, IDC_ARROW)) {
                return cursor == LoadCursorW(nullptr, IDC_NO) ? L"forbidden" : L"arrow";
            }
            return cursor == LoadCursorW(nullptr, IDC_HAND) ? L"hand"
                   : cursor == LoadCursorW(GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR))
                       ? L"knight"
                       : L"from its file";
        }
        if (probe == "result") {
            return std::to_wstring(result_);
        }
        if (probe == "journal") {  // its lines from the third field on: the rest is the clock's
            const std::wstring lines =
                std::regex_replace(ReadTextFile(JournalFilePath()).value_or(L""),
                                   std::wregex(L"[^\t\n]*\t[^\t\n]*\t([^\r\n]*)\r?\n"), L"$1\n");
            return lines.substr(0, lines.size() - (lines.empty() ? 0 : 1));
        }
        if (probe == "schedule") {  // each drill's position, losing move, box and days to wait
            std::vector<std::wstring> drills;
            for (const Drill& d : ParseDrills(ReadTextFile(DrillFilePath()).value_or(L""))) {
                drills.push_back(PathField(d.position) + L" " + PathField({d.losingMove}) +
                                 L" box " + std::to_wstring(d.box) + L" in " +
                                 std::to_wstring(d.dueDay - LocalToday()));
            }
            return join(drills);
        }
        if (probe == "drill-position") {
            return EncodeTour(drills_->Board().Game().tour);
        }
        if (probe == "drill-text") {
            return WindowText(GetDlgItem(drills_->Hwnd(), IDC_DRILL_TEXT));
        }
        if (probe == "progress-table") {  // rows, cells between "|"; or the plot's sentence
            const HWND table = GetDlgItem(progress_->Hwnd(), IDC_PROGRESS_TABLE);
            std::vector<std::wstring> rows;
            for (int row = 0; row < ListView_GetItemCount(table); ++row) {
                std::wstring cells;
                for (int column = 0; column < 5; ++column) {
                    wchar_t cell[64] = {};
                    ListView_GetItemText(table, row, column, cell, 64);
                    cells += (column == 0 ? L"" : L"|") + std::wstring(cell);
                }
                rows.push_back(cells);
            }
            return join(rows) + WindowText(GetDlgItem(progress_->Hwnd(), IDC_PROGRESS_PLOT));
        }
        ADD_FAILURE() << "no probe " << probe;
        return {};
    }

    std::unique_ptr<CPrefsDlg> prefs_;
    std::unique_ptr<CDrillDlg> drills_;
    std::unique_ptr<CProgressDlg> progress_;
    UniqueHandle lock_;
    INT_PTR result_ = 0;
};

TEST_P(ScenarioTest, Runs) {
    const std::vector<CaseLine> steps = ReadCases(fs::path(SALTOR_SCENARIOS_PATH) / GetParam());
    ASSERT_FALSE(steps.empty()) << GetParam();
    for (const auto& [line, where] : steps) {
        SCOPED_TRACE(where + ": " + line);
        if (line.starts_with("= ")) {  // "= probe [argument] :" and the value, maybe empty
            const size_t colon = line.find(" :");
            const std::string probe = line.substr(2, colon - 2);
            const size_t space = probe.find(' ');
            EXPECT_EQ(Probe(probe.substr(0, space),
                            space == std::string::npos ? "" : probe.substr(space + 1)),
                      Text(line.substr(std::min(line.size(), colon + 3))));
        } else {
            const size_t space = line.find(' ');
            Act(line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
        }
        if (HasFatalFailure()) {
            return;
        }
    }
}

std::vector<std::string> Scenarios() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(SALTOR_SCENARIOS_PATH)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScenarioTest, testing::ValuesIn(Scenarios()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace saltor
