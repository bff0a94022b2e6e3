// The journal on disk as the player's machine may leave it: damaged, grown large, written by two
// copies of the game at once (one that cannot be written: the scenario journal.txt).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <thread>

#include "journal/journal_file_win.h"
#include "journal/progress_dlg_win.h"
#include "main_dlg_fixture.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

JournalRecord Numbered(int n) {
    JournalRecord r =
        *ParseJournalLine(L"2026-12-07T21:05:33\t1\tfermé\tnormal\tabandonné\t2\t0\t0\t0\tA1;B3");
    r.moves = n;
    return r;
}

class JournalFileTest : public MainDlgFixture {};

// Two writers at once, as two copies of the game: every line whole, none lost.
TEST_F(JournalFileTest, TwoWritersAtOnceLoseAndMixNoLine) {
    const std::wstring path = JournalFilePath();
    const auto write = [&](int first) {
        for (int n = first; n < first + 300; ++n) {
            EXPECT_TRUE(AppendToJournal(path, Numbered(n)));
        }
    };
    std::thread other(write, 1000);
    write(2000);
    other.join();
    const std::wstring text = ReadTextFile(path).value_or(L"");
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 601);
    std::set<int> seen;
    for (const JournalRecord& r : ParseJournal(text)) {
        seen.insert(r.moves);
    }
    EXPECT_EQ(seen.size(), 600u);
}

// A 20 MB journal with damaged lines: the progress window reads it in one go, skipping them; the
// next game trims it to its newest lines, the new one last.
TEST_F(JournalFileTest, ALargeDamagedJournalIsReadAndTrimmedToItsNewestLines) {
    const std::wstring path = JournalFilePath();
    std::wstring text = std::wstring(kJournalHeader) + L"\r\n";
    JournalRecord r = Numbered(0);
    r.path = *ParsePathField(L"A1;B3;A5;B7;D8;F7;H8;G6;F8;H7;G5;H3;G1;E2;C1;A2;B4;A6;B8;C6;A7;C8");
    int lines = 0;
    for (; text.size() < 20'000'000; ++lines) {
        r.moves = lines;
        text += lines % 10 == 3 ? L"\x00e9\x00e9\tdamaged\r\n" : FormatJournalLine(r) + L"\r\n";
    }
    ASSERT_TRUE(ReplaceTextFile(path, text));
    CProgressDlg progress;
    ASSERT_NE(progress.CreateModeless(Dlg()), nullptr);
    std::printf("20 MB journal (%d lines) read in %.0f ms\n", lines, progress.ReadMs());
    EXPECT_LT(progress.ReadMs(), 5000);
    DestroyWindow(progress.Hwnd());

    ASSERT_TRUE(AppendToJournal(path, Numbered(0)));
    const std::vector<JournalRecord> kept = ReadJournal(path);
    const std::wstring after = ReadTextFile(path).value_or(L"");
    EXPECT_EQ(std::count(after.begin(), after.end(), L'\n'), 1 + 10000);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back().path.size(), 2u);  // the new line, last
    EXPECT_EQ(kept[kept.size() - 2].moves, lines - 1);
}

}  // namespace
}  // namespace saltor
