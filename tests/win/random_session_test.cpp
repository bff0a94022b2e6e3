// A long random session on the real main window: clicks, buttons, keys, studies and Preferences
// in any order, with the tour, the buttons and the handle counts checked as it goes.
//
// SALTOR_SESSION_SEED picks another session (the seed is printed; a failure names the action);
// SALTOR_SESSION_TRACE prints each action to stderr as it starts.
// The searches run on a wall-clock budget, so a session replays the same actions only as long as
// every search ends the same way.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/main_window_rules.h"
#include "main_dlg_fixture.h"
#include "resources/resource.h"
#include "settings/caption_color_dialog_win.h"
#include "settings/prefs_dlg_win.h"

namespace saltor {
namespace {

constexpr int kActions = 10000;
constexpr int kCensusAt = 1000;
// Short searches keep 10,000 actions quick; the judge, hints and solving still fail and succeed.
constexpr uint32_t kSearchBudgetMs = 10;

const std::wstring kResources = SALTOR_RESOURCES_PATH;

// The controls whose state follows the game.
constexpr int kGameControls[] = {IDC_SOLVE,      IDC_NEW_GAME,    IDC_BACK, IDC_FORWARD,
                                 IDC_HINT,       IDC_FIRST,       IDC_LAST, IDC_LOAD_STUDY,
                                 IDC_SAVE_STUDY, IDC_BROWSE_FRAME};

// Wine keeps up to 64 window DCs cached, each with its region, and makes a new one whenever
// none is free: the count depends on how many were ever in use at once. Filled to the top
// first, the cache no longer grows, and only a DC that is never released shows.
void FillWindowDcCache(HWND window) {
    std::array<HDC, 64> held{};
    for (HDC& dc : held) {
        dc = GetDC(window);
    }
    for (HDC dc : held) {
        ReleaseDC(window, dc);
    }
}

// Handles of this process: what the platform reports (Wine reports 0) and a count of our own,
// USER objects by kind.
struct Census {
    DWORD gdiReported = 0, userReported = 0, gdi = 0, windows = 0, menus = 0, accelerators = 0,
          icons = 0;
    std::array<DWORD, 15> gdiByType{};  // by GetObjectType
    std::vector<std::string> bitmaps;   // their sizes, sorted, to name the ones that came
    // The counts; the sizes only name what changed (the board's pictures follow the square size).
    bool operator==(const Census& o) const {
        return std::tie(gdiReported, userReported, gdi, gdiByType, windows, menus, accelerators,
                        icons) == std::tie(o.gdiReported, o.userReported, o.gdi, o.gdiByType,
                                           o.windows, o.menus, o.accelerators, o.icons);
    }
};

// Wine takes GDI and USER handles by their table index alone, so the tables can be walked.
Census TakeCensus() {
    Census c;
    c.gdiReported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.userReported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        c.gdi += type != 0 ? 1 : 0;
        c.gdiByType[type < c.gdiByType.size() ? type : 0] += type != 0 ? 1 : 0;
        if (type == OBJ_BITMAP) {
            BITMAP bitmap{};
            GetObjectW(reinterpret_cast<HGDIOBJ>(index), sizeof(bitmap), &bitmap);
            c.bitmaps.push_back(std::to_string(bitmap.bmWidth) + "x" +
                                std::to_string(bitmap.bmHeight) + "x" +
                                std::to_string(bitmap.bmBitsPixel));
        }
    }
    const DWORD self = GetCurrentProcessId();
    for (ULONG_PTR value = 0x20; value < 0x10000; value += 2) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        DWORD owner = 0;
        ICONINFO icon{};
        if (IsWindow(static_cast<HWND>(handle))) {
            GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            c.windows += owner == self ? 1 : 0;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++c.menus;
        } else if (CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
            ++c.accelerators;
        } else if (GetIconInfo(static_cast<HICON>(handle), &icon)) {
            DeleteObject(icon.hbmMask);
            DeleteObject(icon.hbmColor);
            ++c.icons;
        }
    }
    std::sort(c.bitmaps.begin(), c.bitmaps.end());
    return c;
}

// Wine keeps 14 x 5 bitmaps of its own (none of ours has that size), made at moments we could
// not pin down; in long sessions one more may come between the counts, never two: that alone
// is let pass.
Census WithoutWinesBitmap(const Census& later, const Census& earlier) {
    const std::string wines = "14x5x24";
    auto count = [&wines](const Census& c) {
        return std::count(c.bitmaps.begin(), c.bitmaps.end(), wines);
    };
    Census c = later;
    if (count(later) == count(earlier) + 1) {
        c.bitmaps.erase(std::find(c.bitmaps.begin(), c.bitmaps.end(), wines));
        --c.gdi;
        --c.gdiByType[OBJ_BITMAP];
    }
    return c;
}

std::string Describe(const Census& c) {
    return "GDI " + std::to_string(c.gdiReported) + " reported, " + std::to_string(c.gdi) +
           " counted; USER " + std::to_string(c.userReported) + " reported, " +
           std::to_string(c.windows + c.menus + c.accelerators + c.icons) + " counted (" +
           std::to_string(c.windows) + " windows, " + std::to_string(c.menus) + " menus, " +
           std::to_string(c.accelerators) + " accelerator tables, " + std::to_string(c.icons) +
           " cursors and icons)" + [&c] {
               std::string types = "; GDI by type:";
               for (size_t t = 1; t < c.gdiByType.size(); ++t) {
                   types += " " + std::to_string(c.gdiByType[t]);
               }
               return types;
           }();
}

// The bitmap sizes that one count has more of than the other.
std::string BitmapChanges(const Census& earlier, const Census& later) {
    const std::vector<std::string>&before = earlier.bitmaps, &after = later.bitmaps;
    std::vector<std::string> gone, came;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(gone));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(came));
    std::string text = "bitmaps gone:";
    for (const std::string& s : gone) {
        text += " " + s;
    }
    text += "; bitmaps come:";
    for (const std::string& s : came) {
        text += " " + s;
    }
    return text;
}

std::mt19937 g_random;
int Pick(int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(g_random);
}
bool Coin() {
    return Pick(2) == 0;
}

// The stand-ins for the boxes Preferences may open: a random colour or path, or Cancel.
BOOL WINAPI RandomColor(CHOOSECOLORW* record) {
    record->rgbResult = static_cast<COLORREF>(g_random() & 0xFFFFFF);
    return Pick(4) != 0;
}
// Pictures for the picture buttons, the cursor for the cursor button (its filter names .cur).
BOOL WINAPI RandomFile(OPENFILENAMEW* record) {
    static const wchar_t* const kPictures[] = {L"knight.png", L"wood_light.bmp", L"wood_dark.bmp"};
    if (Pick(3) == 0) {
        return FALSE;
    }
    const bool cursor = std::wcsstr(record->lpstrFilter, L".cur") != nullptr;
    const std::wstring path = kResources + L"/" + (cursor ? L"knight.cur" : kPictures[Pick(3)]);
    lstrcpynW(record->lpstrFile, path.c_str(), static_cast<int>(record->nMaxFile));
    return TRUE;
}

struct HookDeleter {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter>;

// Ends a run of the loop once everything queued before it is handled. The fixture's quit
// message, posted first, would be met by every search looking at the board's queue (it peeks
// with the board as filter, which Wine's WM_QUIT passes), and each would stop short.
class EndOfQueue : public CMessageFilter {
public:
    static constexpr UINT kMessage = WM_APP + 1;
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->hwnd != nullptr || msg->message != kMessage) {
            return false;
        }
        PostQuitMessage(0);
        return true;
    }
};

class RandomSessionTest : public MainDlgFixture {
protected:
    void SetUp() override {
        MainDlgFixture::SetUp();
        loop_.AddMessageFilter(&endOfQueue_);
        settings_.CalcDuration = kSearchBudgetMs;
        desktop_.pickFile = RandomFile;
        desktop_.pickColor = RandomColor;
        self_ = this;
    }

    // Modal boxes (Preferences, About, or anything else) are served as soon as their own loop
    // waits, when it tells its owner with WM_ENTERIDLE. Only around the actions that can open
    // one: under Wine the hook costs every sent message a trip to the server.
    UniqueHook ServeModals() {
        UniqueHook hook(
            SetWindowsHookExW(WH_CALLWNDPROC, OnSentMessage, nullptr, GetCurrentThreadId()));
        EXPECT_NE(hook, nullptr);
        return hook;
    }

    void TearDown() override {
        loop_.RemoveMessageFilter(&endOfQueue_);
        self_ = nullptr;
        std::filesystem::remove(settingsPath_, ignored_);  // Preferences saved it
        MainDlgFixture::TearDown();
    }

    static LRESULT CALLBACK OnSentMessage(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_DIALOGBOX &&
            self_ != nullptr) {
            self_->ServeModal(reinterpret_cast<HWND>(sent->lParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void ServeModal(HWND box) {
        if (!IsWindowVisible(box) || box == served_) {
            return;
        }
        served_ = box;
        if (GetDlgItem(box, IDC_CELL_SIZE) != nullptr) {
            EditPreferences(box);
        } else if (GetDlgItem(box, IDC_ABOUT_VERSION) != nullptr) {
            SendMessageW(box, WM_COMMAND, Coin() ? IDOK : IDCANCEL, 0);
        } else {
            ++unexpectedBoxes_;
            EndDialog(box, IDCANCEL);
        }
        // A box opened by a queued key: its own loop ran the queue dry, end mark included.
        if (draining_) {
            PostThreadMessageW(GetCurrentThreadId(), EndOfQueue::kMessage, 0, 0);
        }
    }

    // Random changes to every kind of control, then OK or Cancel. Picture paths stay loadable
    // or empty; the cursor file may also be missing, which falls back silently.
    void EditPreferences(HWND box) {
        auto click = [box](int id) {
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
        };
        auto path = [](int choice) {
            static const wchar_t* const kPictures[] = {L"", L"knight.png", L"wood_light.bmp",
                                                       L"wood_dark.bmp"};
            return choice == 0 ? std::wstring() : kResources + L"/" + kPictures[choice];
        };
        for (int edits = Pick(6); edits > 0; --edits) {
            switch (Pick(9)) {
                case 0: {
                    const int id = Coin() ? IDC_SOLID_COLOR : IDC_TEXTURES;
                    CheckRadioButton(box, IDC_SOLID_COLOR, IDC_TEXTURES, id);
                    click(id);
                    break;
                }
                case 1:
                    CheckDlgButton(
                        box, IDC_HAND_CURSOR,
                        IsDlgButtonChecked(box, IDC_HAND_CURSOR) ? BST_UNCHECKED : BST_CHECKED);
                    click(IDC_HAND_CURSOR);
                    break;
                case 2: {
                    static const int kBoxes[] = {IDC_WHITE_IMAGE, IDC_BLACK_IMAGE,
                                                 IDC_KNIGHT_IMAGE};
                    SetDlgItemTextW(box, kBoxes[Pick(3)], path(Pick(4)).c_str());
                    break;
                }
                case 3: {
                    const std::wstring files[] = {L"", kResources + L"/knight.cur",
                                                  kResources + L"/absent.cur"};
                    SetDlgItemTextW(box, IDC_CURSOR_FILE, files[Pick(3)].c_str());
                    break;
                }
                case 4: {
                    static const WPARAM kKeys[] = {VK_LEFT, VK_RIGHT, VK_PRIOR,
                                                   VK_NEXT, VK_HOME,  VK_END};
                    SendMessageW(GetDlgItem(box, IDC_CELL_SIZE), WM_KEYDOWN, kKeys[Pick(6)], 0);
                    break;
                }
                case 5: {
                    static const wchar_t* const kTimes[] = {L"", L"7", L"150", L"abc",
                                                            L"99999999999"};
                    SetDlgItemTextW(box, IDC_CALC_DURATION, kTimes[Pick(5)]);
                    break;
                }
                case 6:
                case 7: {
                    RECT r{};
                    GetWindowRect(GetDlgItem(box, Coin() ? IDC_WHITE_SWATCH : IDC_BLACK_SWATCH),
                                  &r);
                    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                    ScreenToClient(box, &centre);
                    SendMessageW(ChildWindowFromPoint(box, centre),
                                 Coin() ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, 0);
                    break;
                }
                default: {
                    static const int kBrowse[] = {IDC_BROWSE_WHITE_IMAGE, IDC_BROWSE_BLACK_IMAGE,
                                                  IDC_BROWSE_KNIGHT_IMAGE, IDC_BROWSE_CURSOR};
                    const int button = kBrowse[Pick(4)];
                    if (IsWindowEnabled(GetDlgItem(box, button))) {
                        click(button);
                    }
                    break;
                }
            }
        }
        // A browsed cursor file may be a picture: it does not load and falls back.
        click(Coin() ? IDOK : IDCANCEL);
    }

    HWND Combo() const { return Item(IDC_STUDY_LIST); }

    // The loop over everything queued so far, then the idle pass of a drained queue.
    void Drain() {
        draining_ = true;
        PostThreadMessageW(GetCurrentThreadId(), EndOfQueue::kMessage, 0, 0);
        loop_.Run();
        draining_ = false;
        dlg_->OnIdle();
    }

    // A key as the keyboard queues it for `target`, with Control held down or not.
    void PressKey(HWND target, WPARAM vk, bool ctrl = false) {
        PostKey(target, vk, ctrl);
        Drain();
    }

    std::wstring ListedName(int index) const {
        std::array<wchar_t, 300> text{};
        SendMessageW(Combo(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
        return text.data();
    }

    // A click as the mouse queues it, at `x`, `y` of the window.
    void Press(HWND window, int x, int y) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    void PressSquare(Square s) {
        const int cell = Game().cellSize;
        Press(BoardWnd(), s.column * cell + Pick(cell), (7 - s.row) * cell + Pick(cell));
    }

    Square LegalSquare() {
        std::vector<Square> legal;
        for (int i = 0; i < 64; ++i) {
            if (Game().tour.IsLegal(SquareAt(i))) {
                legal.push_back(SquareAt(i));
            }
        }
        return legal.empty() ? SquareAt(Pick(64))
                             : legal[static_cast<size_t>(Pick(static_cast<int>(legal.size())))];
    }

    // A button as the player uses it when it can be used, otherwise its command as a key or
    // a stale message would bring it.
    void Button(int id) {
        const HWND button = Item(id);
        if (IsWindowVisible(button) && IsWindowEnabled(button)) {
            SendMessageW(button, BM_CLICK, 0, 0);
        } else {
            SendMessageW(Dlg(), WM_COMMAND, id, 0);
        }
        Drain();
    }

    // "Quitter" ends the program; the session goes on in a new one.
    void ReopenIfClosed() {
        if (dlg_->Hwnd() == nullptr) {
            Open();
            settings_.CalcDuration = kSearchBudgetMs;
            ++reopened_;
        }
    }

    // The same state at both counts, so that they compare like with like: the study list dropped
    // down once with a scroll bar (it keeps what it drew with), the plain look (pictures and a
    // cursor loaded from files hold handles of their own) and a full cache of window DCs.
    void Settle() {
        std::vector<std::wstring> fillers;
        for (int i = 0; i < 40; ++i) {  // enough for a scroll bar in the list, whatever it holds
            fillers.push_back(L"~ " + std::to_wstring(i));
            SendMessageW(Combo(), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(fillers.back().c_str()));
        }
        SendMessageW(Combo(), CB_SHOWDROPDOWN, TRUE, 0);
        Drain();
        SendMessageW(Combo(), CB_SHOWDROPDOWN, FALSE, 0);
        for (const std::wstring& filler : fillers) {
            SendMessageW(Combo(), CB_DELETESTRING,
                         SendMessageW(Combo(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(filler.c_str())),
                         0);
        }
        settings_.SolidColor = false;
        settings_.WhiteImage = settings_.BlackImage = settings_.KnightImage = L"";
        settings_.CursorFile = L"";
        settings_.HandCursor = false;
        settings_.ReloadBoardCursor();
        dlg_->Board().BuildImageCache();
        InvalidateRect(BoardWnd(), nullptr, TRUE);
        Drain();
        FillWindowDcCache(Dlg());
    }

    std::string CheckTour() {
        const TourState& t = Game().tour;
        const int count = t.SquaresOnBoard();
        if (t.moveCount != TourComplete && (t.moveCount < 0 || t.moveCount > 63)) {
            return "moveCount " + std::to_string(t.moveCount);
        }
        std::array<int, 64> expected{};
        expected.fill(-1);
        for (int i = 0; i < 64; ++i) {
            const Square s = t.moves[static_cast<size_t>(i)];
            if (i >= count) {
                if (!IsNoSquare(s)) {
                    return "move " + std::to_string(i) + " set past the count";
                }
                continue;
            }
            if (!IsOnBoard(s) || expected[static_cast<size_t>(IndexOf(s))] != -1) {
                return "move " + std::to_string(i) + " off the board or repeated";
            }
            expected[static_cast<size_t>(IndexOf(s))] = i;
            if (i > 0 && !AreKnightMoveApart(t.moves[static_cast<size_t>(i - 1)], s)) {
                return "moves " + std::to_string(i - 1) + " and " + std::to_string(i) +
                       " not a knight's move apart";
            }
        }
        for (int i = 0; i < 64; ++i) {
            if (t.visits[static_cast<size_t>(i)] != expected[static_cast<size_t>(i)]) {
                return "visits of square " + std::to_string(i) + " disagree with the moves";
            }
        }
        for (const int mark : {t.firstDoubtfulMove, t.firstLostMove}) {
            if (mark != NoMark && (mark < 0 || mark >= count)) {
                return "mark " + std::to_string(mark) + " with " + std::to_string(count) +
                       " squares played";
            }
        }
        if (Game().browseIndex < 0 || Game().browseIndex > 63) {
            return "browseIndex " + std::to_string(Game().browseIndex);
        }
        return {};
    }

    // The game controls of the current window; GetDlgItem lists every child through the
    // server under Wine, which 10,000 checks would feel.
    HWND Control(int id) {
        if (controlsOf_ != Dlg()) {
            controlsOf_ = Dlg();
            for (size_t i = 0; i < std::size(kGameControls); ++i) {
                controls_[i] = Item(kGameControls[i]);
            }
        }
        const auto* at = std::find(std::begin(kGameControls), std::end(kGameControls), id);
        return controls_[static_cast<size_t>(at - std::begin(kGameControls))];
    }

    std::string CheckWindow() {
        const bool hasStudies = SendMessageW(Combo(), CB_GETCOUNT, 0, 0) > 0;
        const bool nameTyped = GetWindowTextLengthW(Combo()) > 0;
        const ButtonStates s =
            ComputeButtonStates(Game().tour.moveCount, Game().browseIndex, hasStudies, nameTyped);
        const struct {
            int id;
            bool shown, enabled;
        } wanted[] = {
            {IDC_FIRST, s.browse, s.firstEnabled},     {IDC_LAST, s.browse, s.lastEnabled},
            {IDC_FORWARD, s.browse, s.forwardEnabled}, {IDC_BROWSE_FRAME, s.browse, true},
            {IDC_HINT, !s.browse, s.hintEnabled},      {IDC_BACK, true, s.backEnabled},
            {IDC_SOLVE, true, s.solveEnabled},         {IDC_NEW_GAME, true, s.newGameEnabled},
            {IDC_SAVE_STUDY, true, s.saveEnabled},     {IDC_LOAD_STUDY, true, s.loadEnabled}};
        for (const auto& w : wanted) {
            const HWND control = Control(w.id);
            const bool shown = (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
            const bool enabled = IsWindowEnabled(control) != FALSE;
            if (shown != w.shown || enabled != w.enabled) {
                return "control " + std::to_string(w.id) + (shown ? " shown" : " hidden") +
                       (enabled ? " enabled" : " disabled");
            }
        }
        if ((IsDlgButtonChecked(Dlg(), IDC_NO_HINTS) == BST_CHECKED) == settings_.HintsEnabled ||
            (IsDlgButtonChecked(Dlg(), IDC_MUTE) == BST_CHECKED) != settings_.Mute) {
            return "a check box disagrees with the settings";
        }
        // Nothing but the main window may be up: a box left open would wait for a click.
        int shown = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM counter) -> BOOL {
                *reinterpret_cast<int*>(counter) += IsWindowVisible(window) ? 1 : 0;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
        // Preferences' notice names the settings file; the board's report and the study list's
        // notices do not.
        const auto failedSaves = std::count_if(
            desktop_.boxes.begin(), desktop_.boxes.end(), [this](const RecordingDesktop::Box& box) {
                return box.text.find(settingsPath_.wstring()) != std::wstring::npos;
            });
        if (shown != 1 || unexpectedBoxes_ != 0 || failedSaves != 0) {
            return std::to_string(shown) + " windows up, " + std::to_string(unexpectedBoxes_) +
                   " unexpected boxes, " + std::to_string(failedSaves) + " failed saves";
        }
        return {};
    }

    std::string CheckStudyFile() {
        std::vector<std::wstring> listed, stored = GameFile(gamePath_).ReadNames();
        for (int i = 0, n = static_cast<int>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0)); i < n;
             ++i) {
            listed.push_back(ListedName(i));
        }
        for (std::wstring& name : stored) {
            CharLowerW(name.data());
        }
        std::sort(listed.begin(), listed.end());
        std::sort(stored.begin(), stored.end());
        return listed == stored ? std::string() : "the study list and the file disagree";
    }

    static RandomSessionTest* self_;
    EndOfQueue endOfQueue_;
    HWND served_ = nullptr;
    HWND controlsOf_ = nullptr;
    std::array<HWND, std::size(kGameControls)> controls_{};
    bool draining_ = false;
    int unexpectedBoxes_ = 0;
    int reopened_ = 0;

private:
};

RandomSessionTest* RandomSessionTest::self_ = nullptr;

TEST_F(RandomSessionTest, TenThousandRandomActionsKeepTheTourTheButtonsAndTheHandlesRight) {
    const char* fromEnvironment = std::getenv("SALTOR_SESSION_SEED");
    const uint32_t seed = fromEnvironment != nullptr
                              ? static_cast<uint32_t>(std::strtoul(fromEnvironment, nullptr, 0))
                              : 20261206u;
    std::printf("seed %u (set SALTOR_SESSION_SEED to replay another)\n", seed);
    g_random.seed(seed);

    static const wchar_t* const kNames[] = {
        L"",        L"partie", L"PARTIE",  L"\u00e9t\u00e9",     L"ouverture",
        L"fin a=b", L"[x]",    L"coin h8", L"\u0445\u043e\u0434"};
    // Keys as the keyboard queues them for the focused window; F1 (the help viewer) is left
    // to its own test.
    static const WPARAM kKeys[] = {VK_BACK,   VK_LEFT,   VK_RIGHT, 'A',      'C',    VK_HOME,
                                   VK_END,    'S',       VK_F2,    VK_SPACE, VK_TAB, VK_ESCAPE,
                                   VK_RETURN, VK_DELETE, 'X',      VK_UP,    VK_DOWN};
    static const int kFocusable[] = {IDC_NEW_GAME, IDC_SOLVE,       IDC_BACK,     IDC_MUTE,
                                     IDC_NO_HINTS, IDC_PREFERENCES, ID_APP_ABOUT, IDCANCEL};

    struct Action {
        const char* name;
        int weight;
        std::function<void()> run;
    };
    const std::vector<Action> actions = {
        {"legal square", 300,
         [&] {
             PressSquare(LegalSquare());
             Drain();
         }},
        {"any square", 100,
         [&] {
             PressSquare(SquareAt(Pick(64)));
             Drain();
         }},
        {"off the board", 30,
         [&] {
             const int side = 8 * Game().cellSize;
             if (Coin()) {  // the dialog beside the board: the splitter, or the column
                 Press(Dlg(), side + Pick(Coin() ? 5 : 200), Pick(side));
             } else {
                 Press(BoardWnd(), Coin() ? -1 - Pick(20) : side + Pick(20), Pick(side));
             }
             Drain();
         }},
        {"mouse move", 30,
         [&] {
             const int side = 8 * Game().cellSize;
             PostMessageW(BoardWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(Pick(side), Pick(side)));
             Drain();
         }},
        {"click then key during the judge", 20,
         [&] {
             PressSquare(LegalSquare());
             PostMessageW(BoardWnd(), WM_KEYDOWN, VK_RIGHT, 1);
             Drain();
         }},
        {"new game", 25, [&] { Button(IDC_NEW_GAME); }},
        {"back", 70, [&] { Button(IDC_BACK); }},
        {"hint or forward", 60, [&] { Button(Coin() ? IDC_HINT : IDC_FORWARD); }},
        {"first or restart", 25, [&] { Button(IDC_FIRST); }},
        {"last", 20, [&] { Button(IDC_LAST); }},
        {"solve", 30, [&] { Button(IDC_SOLVE); }},
        {"key", 120,
         [&] {
             const WPARAM key = kKeys[Pick(static_cast<int>(std::size(kKeys)))];
             HWND target = GetFocus() != nullptr ? GetFocus() : BoardWnd();
             if (key == VK_RETURN && target == Item(IDC_HELP_BUTTON)) {
                 target = BoardWnd();
             }
             // Enter presses the focused button, Préférences and À propos included.
             const UniqueHook serving = key == VK_RETURN ? ServeModals() : nullptr;
             PressKey(target, key);
         }},
        {"ctrl+z", 20,
         [&] { PressKey(GetFocus() != nullptr ? GetFocus() : BoardWnd(), 'Z', true); }},
        {"focus", 30,
         [&] {
             const int which = Pick(static_cast<int>(std::size(kFocusable)) + 2);
             SetFocus(which == 0   ? BoardWnd()
                      : which == 1 ? StudyEdit()
                                   : Item(kFocusable[which - 2]));
             Drain();
         }},
        {"no hints box", 20, [&] { Button(IDC_NO_HINTS); }},
        {"mute box", 20, [&] { Button(IDC_MUTE); }},
        {"study name", 40,
         [&] {
             const int listed = static_cast<int>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0));
             const std::wstring name = listed > 0 && Coin()
                                           ? ListedName(Pick(listed))
                                           : kNames[Pick(static_cast<int>(std::size(kNames)))];
             SetWindowTextW(Combo(), name.c_str());
             Drain();
         }},
        {"save study", 30, [&] { Button(IDC_SAVE_STUDY); }},
        {"load study", 30, [&] { Button(IDC_LOAD_STUDY); }},
        {"delete study", 10,
         [&] {
             const int listed = static_cast<int>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0));
             const bool dropped = Pick(4) != 0;
             SendMessageW(Combo(), CB_SHOWDROPDOWN, dropped, 0);
             SendMessageW(Combo(), CB_SETCURSEL, listed > 0 ? Pick(listed) : 0, 0);
             SetFocus(StudyEdit());
             PressKey(StudyEdit(), VK_DELETE);
             SendMessageW(Combo(), CB_SHOWDROPDOWN, FALSE, 0);
             Drain();
         }},
        {"preferences", 15,
         [&] {
             const UniqueHook serving = ServeModals();
             Button(IDC_PREFERENCES);
             settings_.CalcDuration = kSearchBudgetMs;  // OK may have set another
         }},
        {"about", 5,
         [&] {
             const UniqueHook serving = ServeModals();
             Button(ID_APP_ABOUT);
         }},
        {"panel", 20,
         [&] {
             SendMessageW(Dlg(), WM_COMMAND, ID_TOGGLE_PANEL, 0);
             Drain();
         }},
        {"quit and start again", 3, [&] { Button(IDCANCEL); }},
    };
    std::vector<int> weights;
    for (const Action& a : actions) {
        weights.push_back(a.weight);
    }
    std::discrete_distribution<size_t> choose(weights.begin(), weights.end());
    std::vector<int> done(actions.size());

    const bool trace = std::getenv("SALTOR_SESSION_TRACE") != nullptr;
    std::vector<double> seconds(actions.size());
    const auto start = std::chrono::steady_clock::now();
    Census early, late;
    for (int n = 1; n <= kActions; ++n) {
        const size_t which = choose(g_random);
        ++done[which];
        if (trace) {
            std::fprintf(stderr, "%d %s\n", n, actions[which].name);
        }
        served_ = nullptr;
        const auto before = std::chrono::steady_clock::now();
        actions[which].run();
        seconds[which] +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        ReopenIfClosed();
        std::string fault = CheckTour();
        if (fault.empty()) {
            fault = CheckWindow();
        }
        if (fault.empty() && (n == kCensusAt || n == kActions)) {
            fault = CheckStudyFile();
            Settle();
            (n == kCensusAt ? early : late) = TakeCensus();
        }
        if (!fault.empty()) {
            FAIL() << "action " << n << " (" << actions[which].name << ", seed " << seed
                   << "): " << fault;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    std::printf("%d actions in %.1f s, %d restarts of the window; done:", kActions, took.count(),
                reopened_);
    for (size_t i = 0; i < actions.size(); ++i) {
        std::printf("%s %s %d (%.1f s)", i == 0 ? "" : ",", actions[i].name, done[i], seconds[i]);
    }
    std::printf("\nafter action %d: %s\nafter action %d: %s\n", kCensusAt, Describe(early).c_str(),
                kActions, Describe(late).c_str());
    EXPECT_TRUE(WithoutWinesBitmap(late, early) == early)
        << "handles leaked between action " << kCensusAt << " and the end; "
        << BitmapChanges(early, late);
}

// Every window the program makes gives back what it took: the session restarts the window too.
TEST_F(RandomSessionTest, ReopeningTheMainWindowGivesBackItsHandles) {
    Open();  // classes and shared icons that stay for the whole run
    FillWindowDcCache(Dlg());
    const Census before = TakeCensus();
    for (int i = 0; i < 20; ++i) {
        Open();
    }
    const Census after = TakeCensus();
    EXPECT_TRUE(after == before) << Describe(before) << "\nthen " << Describe(after);
}

}  // namespace
}  // namespace saltor
