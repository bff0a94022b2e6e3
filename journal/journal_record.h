#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/challenge.h"
#include "engine/square.h"

namespace saltor {

// How a journalled game ended, or how a drill was answered.
enum class GameIssue { Completed, Solved, Abandoned, DrillRight, DrillWrong };

// One line of the journal: a game that ended, or a drill answered (its path is the drill's
// position and the move played, its first lost move that move's number when it was wrong).
struct JournalRecord {
    std::wstring start;  // local time, 2026-12-07T21:05:33
    int64_t seconds = 0;
    Challenge challenge;
    std::wstring mode = L"normal";
    GameIssue issue = GameIssue::Abandoned;
    int32_t moves = 0, errors = 0, hints = 0;
    int32_t firstLostMove = 0;  // its number, 0 for none
    std::vector<Square> path;

    bool IsDrill() const {
        return issue == GameIssue::DrillRight || issue == GameIssue::DrillWrong;
    }
    // The day of `start` as days since 1970-01-01.
    int32_t Day() const;
};

// The journal's first line, without its line end.
inline constexpr std::wstring_view kJournalHeader =
    L"début\tdurée_s\tdéfi\tmode\tissue\tcoups\terreurs\tconseils\tpremier_coup_perdu\tparcours";

// A record as one line, without its line end. Tabs and line ends cannot occur in the fields the
// game writes; a mode that held one would have it as a space, so the line stays one line.
std::wstring FormatJournalLine(const JournalRecord& record);
// Nothing for a line that is not a whole, well-formed record (the header included).
std::optional<JournalRecord> ParseJournalLine(std::wstring_view line);
// Every well-formed record of a journal's text, in order; damaged lines are skipped.
std::vector<JournalRecord> ParseJournal(std::wstring_view text);

// How the game was played, as the journal writes it: "normal", "examen", "aveugle" or
// "examen+aveugle".
std::wstring_view ModeField(bool exam, bool blind);
// The challenge as the journal writes it: "ouvert", "fermé" or "arrivée:H8".
std::wstring ChallengeField(const Challenge& challenge);
std::optional<Challenge> ParseChallengeField(std::wstring_view text);
// Squares as the studies write them: "A1;B3;C5".
std::wstring PathField(const std::vector<Square>& path);
// Nothing unless every square is well-formed, on the board and a knight's move from the last.
std::optional<std::vector<Square>> ParsePathField(std::wstring_view text);

// Days since 1970-01-01 of a proleptic Gregorian date; the date of such a day as "2026-12-07".
int32_t DayNumber(int year, int month, int day);
std::wstring DayText(int32_t day);

// The journal's lines to keep when it holds more than `limit` (the header, then the newest
// `limit` lines as they are); nothing when it needs no trimming.
std::optional<std::wstring> TrimmedJournal(std::wstring_view text, size_t limit);

}  // namespace saltor
