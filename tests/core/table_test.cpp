// The rules that turn text or numbers into text, checked on the cases of data/<name>.txt, one a
// line: "kind | input | ... | expected". Escapes: \t \r \n \0 \\ \xHH \uHHHH \UHHHHHHHH; "" is
// an empty field; a line starting with # is a comment.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window_rules.h"
#include "app/program_paths.h"
#include "app/version_text.h"
#include "board/board_game.h"
#include "board/image_limits.h"
#include "board/knight_fit.h"
#include "board/mark_text.h"
#include "board/paint_plan.h"
#include "board/practice_text.h"
#include "engine/loss_explanation.h"
#include "files/study_names.h"
#include "files/tour_text.h"
#include "reference/board_fakes.h"
#include "reference/case_file.h"
#include "reference/tour_checks.h"
#include "settings/app_settings.h"
#include "settings/practice_options.h"
#include "settings/prefs_rules.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"
#include "winkit/image_header.h"
#include "winkit/path_text.h"
#include "winkit/placement.h"
#include "winkit/text_format.h"

namespace saltor {
namespace {

using Fields = std::vector<std::wstring>;

void AppendCodePoint(std::wstring& text, uint32_t cp) {
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {  // UTF-16 on Windows
        text += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        cp = 0xDC00 + ((cp - 0x10000) & 0x3FF);
    }
    text += static_cast<wchar_t>(cp);
}

std::wstring Unescape(const std::string& field) {
    std::wstring text;
    for (size_t i = 0; field != "\"\"" && i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(field[i]));
            continue;
        }
        const char c = field[++i];
        const size_t digits = c == 'x' ? 2 : c == 'u' ? 4 : c == 'U' ? 8 : 0;
        if (digits > 0) {
            AppendCodePoint(text, std::stoul(field.substr(i + 1, digits), nullptr, 16));
            i += digits;
        } else {
            const size_t k = std::string("trnvf0").find(c);  // \0 picks the terminator
            text += k == std::string::npos ? static_cast<wchar_t>(c) : L"\t\r\n\v\f"[k];
        }
    }
    return text;
}

// Byte strings are written as wide text of units below 256.
std::string Bytes(const std::wstring& text) {
    return {text.begin(), text.end()};
}
std::wstring Units(const std::string& bytes) {
    std::wstring text;
    for (const char c : bytes) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return text;
}

std::vector<long long> Numbers(const std::wstring& text, int base = 10) {
    std::vector<long long> numbers;
    wchar_t* end = nullptr;
    for (const wchar_t* p = text.c_str();; p = end) {
        const long long n = std::wcstoll(p, &end, base);
        if (end == p) {
            return numbers;
        }
        numbers.push_back(n);
    }
}

template <typename... T>
std::wstring Joined(T... values) {
    std::wstring text;
    ((text += (text.empty() ? L"" : L" ") + std::to_wstring(values)), ...);
    return text;
}

std::wstring YesNo(bool b) {
    return b ? L"yes" : L"no";
}
std::wstring OrNone(const std::optional<std::wstring>& text) {
    return text.value_or(L"(none)");
}
std::wstring Hex(uint32_t n) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%x", n);
    return text;
}

WindowRect Rect(const std::wstring& text) {
    const auto n = Numbers(text);
    return {int(n.at(0)), int(n.at(1)), int(n.at(2)), int(n.at(3))};
}

// A square as the player names it, "-" for none.
std::wstring Name(Square s) {
    return IsOnBoard(s) ? std::wstring{wchar_t(L'a' + s.column), wchar_t(L'1' + s.row)} : L"-";
}

// Drives a board as its window does, one token at a time, and prints what the tokens starting
// with "=" ask for. Squares are clicked; "@x,y" clicks and "~x,y" moves the pointer at a pixel;
// hint, back, first, last and new are the board's commands; "cancel" presses a key at the
// search's next poll; "mute", "nohints", "running", "size=N", "budget=MS", "path=SQ" (every square
// of the last search's path) and "onend=SQ" (the pointer moves there when a search ends) set the
// scene; "r:SQ" right-clicks a square, "challenge=open|closed|arrival" chooses the challenge;
// "modes=eb" chooses the exam (e) and blind play (b) ("modes=-": neither), "handin" and "slip"
// are the player's.
std::wstring PlayBoard(const std::wstring& script) {
    FakeBoard board;
    BoardGame& game = board.game;
    board.settings.CalcDuration = 0xFFFFFFFFu;  // the scripted clock stands still
    const auto square = [](const std::wstring& name) {
        return Square{name[0] - L'a', name[1] - L'1'};
    };
    const std::map<std::wstring, BoardCommand> commands = {{L"hint", BoardCommand::ForwardOrHint},
                                                           {L"back", BoardCommand::Back},
                                                           {L"first", BoardCommand::FirstOrRestart},
                                                           {L"last", BoardCommand::LastOrSolve},
                                                           {L"new", BoardCommand::NewGame}};
    std::wstring out;
    std::wistringstream in(script);
    for (std::wstring t; in >> t;) {
        std::wstring shown;
        int x = 0, y = 0;
        if ((t[0] == L'@' || t[0] == L'~') && std::swscanf(t.c_str() + 1, L"%d,%d", &x, &y) == 2) {
            t[0] == L'@' ? game.Click(x, y) : game.MouseMove(x, y);
        } else if (commands.count(t) != 0) {
            game.Command(commands.at(t));
        } else if (t.starts_with(L"modes=")) {
            game.ChooseModes(t.find(L'e', 6) != std::wstring::npos,
                             t.find(L'b', 6) != std::wstring::npos);
        } else if (t == L"handin" || t == L"slip") {
            t == L"handin" ? game.HandIn() : game.Slip();
        } else if (t == L"cancel") {
            board.host.cancelAtPoll = board.host.polls + 1;
        } else if (t == L"mute" || t == L"nohints") {
            (t == L"mute" ? board.settings.Mute : board.settings.HintsEnabled) = t == L"mute";
        } else if (t == L"running" || t == L"idle") {
            game.tour.searchRunning = t == L"running";
        } else if (t.starts_with(L"r:")) {
            game.RightClick(square(t.substr(2)).column * 60 + 30,
                            (7 - square(t.substr(2)).row) * 60);
        } else if (t.starts_with(L"challenge=")) {  // open, closed or arrival: its TourKind
            game.SetChallenge(
                {TourKind(std::wstring(L"oca").find(t[10])), game.tour.challenge.arrival});
        } else if (t == L"=challenge") {  // kind, arrival, and whether a finished tour meets it
            shown = std::wstring(1, L"OCA"[int(game.tour.challenge.kind)]) +
                    Name(game.tour.challenge.arrival) + L"-MX"[int(game.ChallengeOutcome())];
        } else if (t.starts_with(L"size=")) {
            game.cellSize = std::stoi(t.substr(5));
        } else if (t.starts_with(L"budget=")) {  // and the clock advances at each read
            board.settings.CalcDuration = std::stoi(t.substr(7));
            board.host.tickStep = 1;
        } else if (t.starts_with(L"path=")) {
            game.tour.searchPath.fill(square(t.substr(5)));
        } else if (t.starts_with(L"onend=")) {
            const Square s = square(t.substr(6));
            board.host.onEnd = [&game, s] {
                game.MouseMove(s.column * 60 + 1, (7 - s.row) * 60 + 1);
            };
        } else if (t[0] != L'=') {
            game.Click(square(t).column * 60 + 30, (7 - square(t).row) * 60 + 5);
        } else if (t == L"=moves") {
            shown = game.tour.moveCount == 0 ? L"-" : EncodeTour(game.tour);
        } else if (t == L"=state") {
            const TourState& tour = game.tour;
            shown = Joined(tour.moveCount, tour.errorCount, tour.firstDoubtfulMove,
                           tour.firstLostMove, game.hintCount, game.browseIndex) +
                    L" " + Name(game.hintSquare);
        } else if (t == L"=practice") {  // modes, "!" once ended, slips; texts painted, knight
            const PaintPlan plan = MakePaintPlan(game, board.settings);
            shown = std::wstring(game.exam ? L"E" : L"-") + (game.blind ? L"B" : L"-") +
                    (game.ended ? L"!" : L"") + Joined(game.slips, plan.texts.size()) + L" " +
                    Name(plan.knightSquare);
        } else if (t == L"=status" || t == L"=review") {
            const auto& seen = board.view.reviews;
            shown = t == L"=status" ? StatusText(game) : seen.empty() ? L"(none)" : seen.back();
            shown = Units(EncodeUtf8(shown));
        } else if (t == L"=judged") {
            shown = YesNo(board.host.tickReads + board.host.polls != 0);
        } else if (t == L"=beeps") {
            for (const BeepKind beep : board.view.beeps) {
                shown += beep == BeepKind::Plain ? L"P" : L"E";
            }
            shown += board.view.beeps.empty() ? L"none" : L"";
            board.view.beeps.clear();
        } else if (t == L"=repaints") {  // since the last time asked, in order
            for (const PixelRect& r : board.view.invalidated) {  // "!" for a rect of another size
                const bool whole = r.right - r.left == 60 && r.bottom - r.top == 60;
                shown += Name(game.SquareAtPoint(r.left, r.top)) + (whole ? L"," : L"!,");
            }
            shown += std::to_wstring(board.view.fullRedraws);
            board.view.invalidated.clear();
            board.view.fullRedraws = 0;
        } else if (t == L"=reports") {
            for (const auto& [moves, errors, hints] : board.view.reports) {
                shown += Joined(moves, errors, hints) + L";";
            }
            shown += board.view.reports.empty() ? L"none" : L"";
        } else if (t == L"=cursor") {
            const auto& cursors = board.view.cursors;
            shown = cursors.empty() ? L"none" : std::wstring(1, L"BFW"[int(cursors.back())]);
        } else if (t == L"=cursors") {  // over every square: board, forbidden and wait cursors
            board.view.cursors.clear();
            for (int i = 0; i < 64; ++i) {
                game.MouseMove(i % 8 * 60 + 1, i / 8 * 60 + 1);
            }
            for (const CursorKind kind :
                 {CursorKind::Board, CursorKind::Forbidden, CursorKind::Wait}) {
                shown += std::to_wstring(std::count(board.view.cursors.begin(),
                                                    board.view.cursors.end(), kind)) +
                         L"/";
            }
        } else if (t == L"=tour") {
            shown = YesNo(IsKnightsTour(game.tour.moves));
        } else if (t.starts_with(L"=tip:")) {  // the mark's tooltip and the squares it names
            const BoardGame::MarkTip tip = game.ExplainMark(square(t.substr(5)));
            shown = tip.text.empty() ? L"(none)" : Units(EncodeUtf8(tip.text));
            for (uint64_t rest = tip.squares; rest != 0; rest &= rest - 1) {
                shown +=
                    (rest == tip.squares ? L" [" : L";") + Name(SquareAt(std::countr_zero(rest)));
            }
            shown += tip.squares != 0 ? L"]" : L"";
        }
        out += shown.empty() ? L"" : (out.empty() ? L"" : L" ") + shown;
    }
    return out;
}

// Settings that differ from the defaults, so that a value kept can be told from a default.
AppSettings CurrentSettings() {
    AppSettings s;
    s.CellSize = 100;
    s.HandCursor = s.SolidColor = true;
    s.CursorFile = L"old.cur";
    s.BlackBgColor = 0x222222;
    s.CalcDuration = 3000;
    return s;
}

const std::map<std::string, std::function<std::wstring(const Fields&)>> kRules = {
    // A tour decoded over a game with marks, as when a study is loaded over one; what is left of
    // that game is shown after the encoding.
    {"tour",
     [](const Fields& f) {
         TourState tour;
         tour.Play({1, 0});
         tour.Play({2, 2});
         tour.errorCount = 4;
         tour.firstDoubtfulMove = 1;
         DecodeTour(tour, f[0]);
         std::wstring text = EncodeTour(tour);
         if (tour.firstLostMove != NoMark) {
             text += L" lost " + std::to_wstring(tour.firstLostMove);
         }
         if (tour.errorCount != 0 || tour.firstDoubtfulMove != NoMark ||
             tour.movesPlayed != tour.SquaresOnBoard()) {
             text += L" stale " + Joined(tour.errorCount, tour.firstDoubtfulMove, tour.movesPlayed);
         }
         return text;
     }},
    // Squares played as they come ("-" takes one back, "?" marks the last move doubtful, "!"
    // counts three errors); then the move count, moves played, the marks, the errors, how many
    // squares are legal next (off the board included) and the tour.
    {"play",
     [](const Fields& f) {
         TourState tour;
         std::wistringstream in(f[0]);
         for (std::wstring token; in >> token;) {
             if (token == L"-") {
                 tour.TakeBack();
             } else if (token == L"?") {
                 tour.firstDoubtfulMove = tour.moveCount - 1;
             } else if (token == L"!") {
                 tour.errorCount = 3;
             } else {
                 tour.Play({token[0] - L'a', std::stoi(token.substr(1)) - 1});
             }
         }
         int legal = 0;
         for (int i = 0; i < 100; ++i) {
             legal += tour.IsLegal({i / 10 - 1, i % 10 - 1});
         }
         const std::wstring moves = EncodeTour(tour);
         return Joined(tour.moveCount, tour.movesPlayed, tour.firstLostMove, tour.firstDoubtfulMove,
                       tour.errorCount, legal) +
                (moves.empty() ? L"" : L" " + moves);
     }},
    {"board", [](const Fields& f) { return PlayBoard(f[0]); }},
    {"doubt",
     [](const Fields& f) {
         const auto n = Numbers(f[0] + L" " + f[1] + L" " + f[3]);
         const std::string later = Bytes(f[2]);
         return Units(EncodeUtf8(DoubtText(uint32_t(n[0]), uint64_t(n[1]),
                                           DecodeUtf8(later.data(), later.size()), int(n[2]))));
     }},
    {"explain",
     [](const Fields& f) {
         TourState tour;
         // "closed A1;B3" or "end=h8 A1;B3": the position under that challenge.
         const size_t space = f[0].find(L' ');
         DecodeTour(tour, f[0].substr(space == std::wstring::npos ? 0 : space + 1));
         if (space != std::wstring::npos) {
             tour.challenge = {f[0][0] == L'c' ? TourKind::Closed : TourKind::Arrival,
                               {f[0][4] - L'a', f[0][5] - L'1'}};
         }
         const Explanation why = ExplainLoss(tour, tour.moveCount);
         std::wstring squares;
         for (uint64_t rest = why.Squares(); rest != 0; rest &= rest - 1) {
             squares += (squares.empty() ? L"" : L";") + Name(SquareAt(std::countr_zero(rest)));
         }
         const std::wstring text = ExplanationText(why);
         return Units(ReasonKeyword(why)) + L" " + (squares.empty() ? L"-" : squares) +
                (text.empty() ? L"" : L" " + Units(EncodeUtf8(text)));
     }},
    {"square", [](const Fields& f) { return Name(ParseSquareName(f[0]).value_or(NoSquare)); }},
    // The practice file read, then as written again.
    {"practice",
     [](const Fields& f) { return Units(PracticeOptionsText(ParsePracticeOptions(Bytes(f[0])))); }},
    {"lower", [](const Fields& f) { return AsciiLower(f[0]); }},
    {"trim", [](const Fields& f) { return TrimStudyName(f[0]); }},
    {"storable", [](const Fields& f) { return YesNo(IsStorableStudyName(f[0])); }},
    {"same", [](const Fields& f) { return YesNo(SameStudyName(f[0], f[1])); }},
    {"numbered", [](const Fields& f) { return NumberedStudyName(f[0], std::stoi(f[1])); }},
    {"first_free",
     [](const Fields& f) { return FirstFreeStudyName(f[0], Fields(f.begin() + 1, f.end())); }},
    {"split",
     [](const Fields& f) {
         std::wstring text;
         for (const std::wstring& name : SplitNameList(f[0])) {
             text += name + L"/";
         }
         return text;
     }},
    {"find", [](const Fields& f) { return OrNone(FindElement(f[0], f[1])); }},
    {"append",
     [](const Fields& f) {
         std::wstring line;
         AppendElement(line, f[0], f[1]);
         return line;
     }},
    {"color",
     [](const Fields& f) {
         const auto color = ParseColorNumber(f[0]);
         return color ? Hex(*color) : L"(none)";
     }},
    {"integer", [](const Fields& f) { return std::to_wstring(ParseSettingsInteger(f[0])); }},
    // One element read over the current settings, then the key's value as it would be saved.
    {"element",
     [](const Fields& f) {
         AppSettings s = CurrentSettings();
         ApplySettingsDocument(s, L"<" + f[0] + L">" + f[1] + L"</" + f[0] + L">",
                               f.size() > 2 ? std::stoi(f[2]) : 125,
                               f.size() > 3 ? std::stoi(f[3]) : kMinCellSize);
         return FindElement(BuildSettingsDocument(s), f[0]).value_or(L"");
     }},
    {"defaults", [](const Fields&) { return BuildSettingsDocument(AppSettings{}); }},
    // A whole document read over the defaults and saved again.
    {"resaved",
     [](const Fields& f) {
         AppSettings s;
         ApplySettingsDocument(s, f[0], 125);
         return BuildSettingsDocument(s);
     }},
    {"duration", [](const Fields& f) { return std::to_wstring(CalcDurationFromText(f[0])); }},
    {"cell_range",
     [](const Fields& f) {
         const CellSizeRange r = CellSizeRangeFor(std::stoi(f[0]));
         return Joined(r.low, r.high);
     }},
    {"max_cell",
     [](const Fields& f) {
         const auto n = Numbers(f[0]);
         return std::to_wstring(AppSettings::MaxCellSizeFor(n[0], n[1], n[2]));
     }},
    {"decode",
     [](const Fields& f) {
         const std::string bytes = Bytes(f[0]);
         return DecodeUtf8(bytes.data(), bytes.size());
     }},
    {"encode", [](const Fields& f) { return Units(EncodeUtf8(f[0])); }},
    {"help_file", [](const Fields& f) { return HelpFilePathFor(f[0]); }},
    {"game_file", [](const Fields& f) { return GameFilePathFor(f[0]); }},
    {"help_pages", [](const Fields& f) { return HelpPagesFirstPageFor(f[0]); }},
    {"base_name", [](const Fields& f) { return BaseNameWithoutExtension(f[0]); }},
    {"folder", [](const Fields& f) { return FolderOf(f[0]); }},
    {"append_path",
     [](const Fields& f) {
         std::wstring path = f[0];
         AppendPathPart(path, f[1]);
         return path;
     }},
    {"numbers",
     [](const Fields& f) {
         const auto n = Numbers(f[1]);
         size_t used = 99;
         const std::wstring text =
             n.empty()       ? FormatNumbers(f[0], {}, &used)
             : n.size() == 1 ? FormatNumbers(f[0], {int(n[0])}, &used)
                             : FormatNumbers(f[0], {int(n[0]), int(n[1]), int(n[2])}, &used);
         return text + L" used " + std::to_wstring(used);
     }},
    {"subject", [](const Fields& f) { return FormatSubject(f[0], f[1]); }},
    {"version",
     [](const Fields& f) {
         const auto n = Numbers(f[0], 16);
         return FormatVersionText(n.empty() ? std::nullopt
                                            : std::optional(VersionNumbers{
                                                  uint32_t(n[0]), uint32_t(n[1]), uint32_t(n[2])}));
     }},
    {"centre",
     [](const Fields& f) {
         const WindowRect r = CentreOver(Rect(f[0]), Rect(f[1]), Rect(f[2]));
         return Joined(r.left, r.top, r.right, r.bottom);
     }},
    {"layout",
     [](const Fields& f) {
         const auto n = Numbers(f[0]);
         const auto at = [&n](size_t i) { return int(i < n.size() ? n[i] : 0); };
         const LayoutResult r = ComputeLayout({at(0), at(1), at(2), at(3), at(4), at(5), at(6),
                                               n[7] != 0, at(8), at(9), at(10), at(11)});
         return Joined(r.windowWidth, r.windowHeight, r.splitterLeft, r.splitterWidth,
                       r.splitterHeight, r.columnShift, r.helpTop, r.aboutTop, r.quitTop) +
                (n.size() > 10 ? L" status " + Joined(r.statusTop, r.statusHeight) : L"");
     }},
    {"buttons",
     [](const Fields& f) {
         const auto n = Numbers(f[0]);
         const ButtonStates s =
             ComputeButtonStates(int(n[0]), int(n[1]), n[2] != 0, n[3] != 0,
                                 n.size() > 4 && n[4] != 0, n.size() > 5 && n[5] != 0);
         std::wstring text;
         for (const auto& [on, name] : {std::pair{s.browse, L"browse "},
                                        {s.firstEnabled, L"first "},
                                        {s.lastEnabled, L"last "},
                                        {s.forwardEnabled, L"forward "},
                                        {s.hintEnabled, L"hint "},
                                        {s.backEnabled, L"back "},
                                        {s.solveEnabled, L"solve "},
                                        {s.newGameEnabled, L"new "},
                                        {s.saveEnabled, L"save "},
                                        {s.loadEnabled, L"load "}}) {
             text += on ? name : L"";
         }
         return text.empty() ? text : text.substr(0, text.size() - 1);
     }},
    {"fit_knight",
     [](const Fields& f) {
         const auto n = Numbers(f[0]);
         const KnightFit k = FitKnight(int(n[0]), int(n[1]), int(n[2]));
         wchar_t text[64];
         std::swprintf(text, 64, L"%.3f %.3f %.3f %.3f", k.x, k.y, k.width, k.height);
         return std::wstring(text) + (k.Empty() ? L" empty" : L"");
     }},
    // A header cut short by one byte must say nothing rather than something wrong.
    {"image_size",
     [](const Fields& f) {
         const std::string head = Bytes(f[0]);
         const auto* data = reinterpret_cast<const uint8_t*>(head.data());
         const auto size = ReadImageSize(data, head.size());
         const bool cut = !head.empty() && ReadImageSize(data, head.size() - 1).has_value();
         return (size ? Joined(size->width, size->height) : L"(none)") + (cut ? L" cut" : L"");
     }},
    {"image_allowed",
     [](const Fields& f) {
         const auto n = Numbers(f[0]);
         return YesNo(ImageSizeAllowed(uint64_t(n[0]), uint64_t(n[1])));
     }},
};

class TableTest : public testing::TestWithParam<const char*> {};

TEST_P(TableTest, EveryCaseGivesItsExpectedResult) {
    const std::vector<CaseLine> cases =
        ReadCases(std::string(SALTOR_TEST_DATA_DIR) + "/" + GetParam() + ".txt");
    EXPECT_GT(cases.size(), 5u) << GetParam();
    for (const auto& [line, where] : cases) {
        std::vector<std::string> fields;
        for (size_t start = 0;;) {
            const size_t end = line.find(" | ", start);
            fields.push_back(line.substr(start, end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 3;
        }
        SCOPED_TRACE(where);
        const auto rule = kRules.find(fields[0]);
        ASSERT_NE(rule, kRules.end());
        ASSERT_GE(fields.size(), 3u);
        Fields inputs;
        for (size_t i = 1; i + 1 < fields.size(); ++i) {
            inputs.push_back(Unescape(fields[i]));
        }
        EXPECT_EQ(rule->second(inputs), Unescape(fields.back()));
    }
}

INSTANTIATE_TEST_SUITE_P(Data, TableTest,
                         testing::Values("tour_text", "study_names", "settings", "utf8", "paths",
                                         "window", "images", "board", "explain"));

}  // namespace
}  // namespace saltor
