#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "engine/first_lost_move.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "journal/drill_schedule.h"
#include "journal/progress_series.h"
#include "reference/case_file.h"
#include "reference/scripted_host.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

const std::wstring kLine =
    L"2026-12-07T21:05:33\t125\tarrivée:H8\tnormal\tabandonné\t5\t2\t1\t4\tA1;B3;C5;D7;B8";

TEST(JournalTest, LinesRoundTripAndDamagedOnesAreSkipped) {
    const std::optional<JournalRecord> r = ParseJournalLine(kLine + L"\r");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->challenge, (Challenge{TourKind::Arrival, {7, 7}}));
    EXPECT_EQ(r->Day(), DayNumber(2026, 12, 7));
    for (const std::wstring& line : {kLine, L"2026-01-01T00:00:00\t0\tfermé" + kLine.substr(34)}) {
        EXPECT_EQ(FormatJournalLine(*ParseJournalLine(line)), line);
    }
    JournalRecord tabbed = *r;
    tabbed.mode = L"a\tb\nc";
    EXPECT_EQ(ParseJournalLine(FormatJournalLine(tabbed))->mode, L"a b c");

    // The header, cut or lengthened lines, then one field of kLine made wrong in each.
    std::vector<std::wstring> damaged = {std::wstring(kJournalHeader), L"",
                                         kLine.substr(0, kLine.rfind(L'\t')), kLine + L"\t"};
    const std::pair<int, std::wstring> wrong[] = {{0, L"2026-13-07T21:05:33"},
                                                  {0, L"2026-12-07 21:05:33"},
                                                  {1, L"-5"},
                                                  {1, L"1234567890"},
                                                  {2, L"arrivée:I9"},
                                                  {2, L"arrivée H8"},
                                                  {3, L""},
                                                  {4, L"gagné"},
                                                  {8, L"65"},
                                                  {9, L"A1;A2"},
                                                  {9, L"A1;B3;A1"}};
    for (const auto& [field, value] : wrong) {
        size_t from = 0;
        for (int f = 0; f < field; ++f) {
            from = kLine.find(L'\t', from) + 1;
        }
        damaged.push_back(kLine.substr(0, from) + value +
                          (field == 9 ? L"" : kLine.substr(kLine.find(L'\t', from))));
    }
    for (const std::wstring& line : damaged) {
        EXPECT_FALSE(ParseJournalLine(line)) << EncodeUtf8(line);
    }
    const std::wstring journal = std::wstring(kJournalHeader) + L"\r\n" + kLine +
                                 L"\r\n\xFFFD\xFFFD\n" + kLine.substr(0, 40) + L"\n" + kLine +
                                 L"\n";
    EXPECT_EQ(ParseJournal(journal).size(), 2u);

    // Trimming keeps the header and the newest lines as they were.
    EXPECT_FALSE(TrimmedJournal(journal, 4));
    EXPECT_FALSE(TrimmedJournal(kLine + L"\n" + kLine, 2));  // none to trim, with no header
    const std::optional<std::wstring> trimmed = TrimmedJournal(journal, 2);
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(*trimmed,
              std::wstring(kJournalHeader) + L"\r\n" + kLine.substr(0, 40) + L"\n" + kLine + L"\n");
}

TEST(JournalTest, DaysCountFromNewYear1970BothWays) {
    EXPECT_EQ(std::pair(DayNumber(1970, 1, 1), DayNumber(2000, 3, 1)), std::pair(0, 11017));
    EXPECT_EQ(DayText(DayNumber(2024, 2, 29) + 1), L"2024-03-01");
    for (int32_t day = -800; day < 40000; day += 13) {  // through the journal's own reader
        EXPECT_EQ(ParseJournalLine(DayText(day) + kLine.substr(10))->Day(), day);
    }
}

TEST(JournalTest, LostGamesBecomeDrillsThatMoveThroughTheBoxes) {
    std::vector<JournalRecord> journal = {*ParseJournalLine(kLine)};
    JournalRecord drillLine = journal[0], unlost = journal[0];
    drillLine.issue = GameIssue::DrillWrong;
    unlost.firstLostMove = 0;
    journal.push_back(drillLine);
    journal.push_back(unlost);
    const int32_t today = DayNumber(2026, 12, 7);
    std::vector<Drill> drills;
    EXPECT_TRUE(AddDrillsFromJournal(drills, journal, today));
    EXPECT_FALSE(AddDrillsFromJournal(drills, journal, today + 1));  // already scheduled
    ASSERT_EQ(drills.size(), 1u);
    EXPECT_EQ(PathField(drills[0].position), L"A1;B3;C5");
    EXPECT_EQ(drills[0].losingMove, (Square{3, 6}));
    EXPECT_EQ(DueDrills(drills, today), std::vector<size_t>{0});

    // Right twice, then wrong: boxes 2, 3, then 1 again, each due after its box's days.
    Drill& d = drills[0];
    ScheduleAnswer(d, true, today);
    EXPECT_EQ(std::pair(d.box, d.dueDay), std::pair(2, today + 1));
    EXPECT_TRUE(DueDrills(drills, today).empty());
    ScheduleAnswer(d, true, today + 1);
    EXPECT_EQ(std::pair(d.box, d.dueDay), std::pair(3, today + 4));
    for (int i = 0; i < 5; ++i) {
        ScheduleAnswer(d, true, today);
    }
    EXPECT_EQ(std::pair(d.box, d.dueDay), std::pair(kBoxCount, today + 15));
    // The schedule file reads back, its damaged line skipped.
    EXPECT_EQ(FormatDrills(ParseDrills(FormatDrills(drills) + L"A1;B3\touvert\tZ9\t2\t2026-12-07")),
              FormatDrills(drills));
    ScheduleAnswer(d, false, today + 2);
    EXPECT_EQ(std::pair(d.box, d.dueDay), std::pair(1, today + 2));
}

TEST(JournalTest, ProgressGoesByDayOrByGameWhenDaysAreFew) {
    JournalRecord clean = *ParseJournalLine(kLine), drill = clean;
    clean.issue = GameIssue::Completed;
    clean.errors = 0;
    drill.issue = GameIssue::DrillRight;
    const int32_t today = DayNumber(2026, 12, 7);
    std::vector<JournalRecord> journal = {*ParseJournalLine(kLine), drill, clean, drill};
    journal.back().issue = GameIssue::DrillWrong;
    std::vector<ProgressPoint> points = ProgressSeries(journal, today);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(std::tuple(points[0].games, points[0].errors, points[0].drills), std::tuple(1, 2, 1));
    EXPECT_EQ(std::tuple(points[1].cleanTours, points[1].drills, points[1].DrillSuccess()),
              std::tuple(1, 1, 0.0));

    for (const int daysAgo : {1, 2, 40}) {  // the last is too old to show
        JournalRecord older = clean;
        older.start = DayText(today - daysAgo) + L"T10:00:00";
        journal.push_back(older);
    }
    points = ProgressSeries(journal, today);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].label, L"05/12");
    EXPECT_EQ(std::tuple(points[2].games, points[2].ErrorsPerGame(), points[2].DrillSuccess()),
              std::tuple(2, 1.0, 50.0));

    // Drills before the first game go with it alone; a game given up without an error is no
    // clean tour; by game, only the last kMostGames show.
    JournalRecord abandoned = clean;
    abandoned.issue = GameIssue::Abandoned;
    points = ProgressSeries({drill, abandoned, abandoned}, today);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(std::tuple(points[0].drills, points[1].drills, points[0].cleanTours),
              std::tuple(1, 0, 0));
    EXPECT_EQ(ProgressSeries(std::vector(kMostGames + 5, abandoned), today).size(), kMostGames);
}

// Move by move, the exact first lost move is where the judge first finds no tour, and the sound
// moves are those the judge finds a tour after.
TEST(JournalTest, FirstLostMoveAndSoundMovesAgreeWithTheJudge) {
    const auto judgeFinds = [](std::span<const Square> moves) {
        TourState tour;
        for (const Square s : moves) {
            tour.Play(s);
        }
        tour.firstLostMove = NoMark;
        ScriptedHost host;
        return TourSearch(tour, host).Solve(false, 0xFFFFFFFFu);
    };
    int lostGames = 0;
    const std::vector<CaseLine> corpus = ReadCases(std::string(SALTOR_CORPUS_DIR) + "/strong.txt");
    for (size_t i = 0; i < corpus.size(); i += 16) {
        SCOPED_TRACE(corpus[i].where);
        TourState tour;
        DecodeTour(tour, DecodeUtf8(corpus[i].text.data(), corpus[i].text.size()));
        const std::span<const Square> moves(tour.moves.data(), tour.SquaresOnBoard());
        ScriptedHost host;
        const std::optional<int> lost = FirstLostMove(moves, {}, host, 1000);
        ASSERT_TRUE(lost);
        if (*lost == 0) {
            EXPECT_TRUE(judgeFinds(moves));
        } else {
            ++lostGames;
            EXPECT_FALSE(judgeFinds(moves.first(*lost)));
            EXPECT_TRUE(judgeFinds(moves.first(*lost - 1)));
            const std::optional<uint64_t> sound =
                SoundMoves(moves.first(*lost - 1), {}, host, 1000);
            ASSERT_TRUE(sound);
            std::vector<Square> after(moves.begin(), moves.begin() + *lost);
            for (int square = 0; square < 64; ++square) {
                after.back() = SquareAt(square);
                const bool legal = AreKnightMoveApart(after[after.size() - 2], after.back()) &&
                                   std::find(moves.begin(), moves.begin() + *lost - 1,
                                             after.back()) == moves.begin() + *lost - 1;
                EXPECT_EQ((*sound >> square & 1) != 0, legal && judgeFinds(after)) << square;
            }
        }
    }
    EXPECT_GE(lostGames, 20);
    ScriptedHost late;
    late.tickStep = 2000;  // each read of the clock is two seconds later: out of time at once
    EXPECT_FALSE(FirstLostMove(*ParsePathField(L"B3;D4;B5;A7;C6;B4;D3;C1;E2"), {}, late, 1000));
}

}  // namespace
}  // namespace saltor
