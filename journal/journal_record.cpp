#include "journal/journal_record.h"

#include <algorithm>
#include <array>

#include "engine/tour_state.h"
#include "files/tour_text.h"

namespace saltor {
namespace {

struct IssueName {
    GameIssue issue;
    std::wstring_view name;
};
constexpr std::array<IssueName, 5> kIssues{{{GameIssue::Completed, L"réussi"},
                                            {GameIssue::Solved, L"résolu"},
                                            {GameIssue::Abandoned, L"abandonné"},
                                            {GameIssue::DrillRight, L"exercice réussi"},
                                            {GameIssue::DrillWrong, L"exercice manqué"}}};

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> parts;
    for (size_t from = 0;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::wstring_view::npos) {
            return parts;
        }
        from = at + 1;
    }
}

// A whole number of at most nine digits, so that it fits any field.
std::optional<int32_t> ParseCount(std::wstring_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
    }
    return value;
}

std::wstring SquareName(Square s) {
    return {static_cast<wchar_t>(L'A' + s.column), static_cast<wchar_t>(L'1' + s.row)};
}

std::optional<Square> ParseSquare(std::wstring_view text) {
    if (text.size() != 2) {
        return std::nullopt;
    }
    const Square s{text[0] - L'A', text[1] - L'1'};
    return IsOnBoard(s) ? std::optional(s) : std::nullopt;
}

// "2026-12-07T21:05:33", each part in its range (any day up to the 31st).
bool IsLocalTime(std::wstring_view text) {
    constexpr std::wstring_view shape = L"0000-00-00T00:00:00";
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'0' ? (text[i] < L'0' || text[i] > L'9') : text[i] != shape[i]) {
            return false;
        }
    }
    const auto part = [&](size_t at) { return *ParseCount(text.substr(at, 2)); };
    return part(5) >= 1 && part(5) <= 12 && part(8) >= 1 && part(8) <= 31 && part(11) < 24 &&
           part(14) < 60 && part(17) < 61;
}

}  // namespace

int32_t DayNumber(int year, int month, int day) {
    // Days from civil, counted in eras of 400 years that start on 1 March.
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::wstring DayText(int32_t day) {
    day += 719468;
    const int era = (day >= 0 ? day : day - 146096) / 146097;
    const int dayOfEra = day - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shifted = (5 * dayOfYear + 2) / 153;
    const int dayOfMonth = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const int month = shifted < 10 ? shifted + 3 : shifted - 9;
    const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    wchar_t text[16] = {};
    swprintf(text, std::size(text), L"%04d-%02d-%02d", year, month, dayOfMonth);
    return text;
}

int32_t JournalRecord::Day() const {
    const auto part = [&](size_t at, size_t length) {
        return ParseCount(std::wstring_view(start).substr(at, length)).value_or(1);
    };
    return start.size() < 10 ? 0 : DayNumber(part(0, 4), part(5, 2), part(8, 2));
}

std::wstring_view ModeField(bool exam, bool blind) {
    return exam ? (blind ? L"examen+aveugle" : L"examen") : (blind ? L"aveugle" : L"normal");
}

std::wstring ChallengeField(const Challenge& challenge) {
    if (challenge.kind == TourKind::Closed) {
        return L"fermé";
    }
    // An arrival never marked lets the tour end anywhere, as an open one.
    if (challenge.kind == TourKind::Arrival && IsOnBoard(challenge.arrival)) {
        return L"arrivée:" + SquareName(challenge.arrival);
    }
    return L"ouvert";
}

std::optional<Challenge> ParseChallengeField(std::wstring_view text) {
    if (text == L"ouvert" || text == L"fermé") {
        return Challenge{text == L"ouvert" ? TourKind::Open : TourKind::Closed, NoSquare};
    }
    constexpr std::wstring_view arrival = L"arrivée:";
    if (!text.starts_with(arrival)) {
        return std::nullopt;
    }
    const std::optional<Square> square = ParseSquare(text.substr(arrival.size()));
    return square ? std::optional(Challenge{TourKind::Arrival, *square}) : std::nullopt;
}

std::wstring PathField(const std::vector<Square>& path) {
    TourState tour;
    for (const Square s : path) {
        tour.Play(s);
    }
    return EncodeTour(tour);
}

// The studies' reader stops at the first square it cannot play; the text is whole only if the
// squares it played are written back as the same text.
std::optional<std::vector<Square>> ParsePathField(std::wstring_view text) {
    TourState tour;
    DecodeTour(tour, text);
    if (EncodeTour(tour) != text) {
        return std::nullopt;
    }
    return std::vector<Square>(tour.moves.begin(), tour.moves.begin() + tour.SquaresOnBoard());
}

std::wstring FormatJournalLine(const JournalRecord& r) {
    std::wstring mode = r.mode;
    std::replace_if(
        mode.begin(), mode.end(), [](wchar_t c) { return c == L'\t' || c == L'\n' || c == L'\r'; },
        L' ');
    std::wstring issue;
    for (const IssueName& each : kIssues) {
        issue = each.issue == r.issue ? std::wstring(each.name) : issue;
    }
    return r.start + L'\t' + std::to_wstring(r.seconds) + L'\t' + ChallengeField(r.challenge) +
           L'\t' + mode + L'\t' + issue + L'\t' + std::to_wstring(r.moves) + L'\t' +
           std::to_wstring(r.errors) + L'\t' + std::to_wstring(r.hints) + L'\t' +
           std::to_wstring(r.firstLostMove) + L'\t' + PathField(r.path);
}

std::optional<JournalRecord> ParseJournalLine(std::wstring_view line) {
    if (line.ends_with(L'\r')) {
        line.remove_suffix(1);  // a spreadsheet may save it with Windows line ends
    }
    const std::vector<std::wstring_view> f = Split(line, L'\t');
    if (f.size() != 10 || !IsLocalTime(f[0]) || f[3].empty()) {
        return std::nullopt;
    }
    JournalRecord r;
    r.start = f[0];
    r.mode = f[3];
    const auto issue = std::find_if(kIssues.begin(), kIssues.end(),
                                    [&](const IssueName& each) { return each.name == f[4]; });
    const std::optional<int32_t> seconds = ParseCount(f[1]), moves = ParseCount(f[5]),
                                 errors = ParseCount(f[6]), hints = ParseCount(f[7]),
                                 lost = ParseCount(f[8]);
    const std::optional<Challenge> challenge = ParseChallengeField(f[2]);
    std::optional<std::vector<Square>> path = ParsePathField(f[9]);
    if (issue == kIssues.end() || !seconds || !moves || !errors || !hints || !lost || !challenge ||
        !path || *lost > 64) {
        return std::nullopt;
    }
    r.issue = issue->issue;
    r.seconds = *seconds;
    r.moves = *moves;
    r.errors = *errors;
    r.hints = *hints;
    r.firstLostMove = *lost;
    r.challenge = *challenge;
    r.path = std::move(*path);
    return r;
}

std::vector<JournalRecord> ParseJournal(std::wstring_view text) {
    std::vector<JournalRecord> records;
    for (const std::wstring_view line : Split(text, L'\n')) {
        if (std::optional<JournalRecord> r = ParseJournalLine(line)) {
            records.push_back(std::move(*r));
        }
    }
    return records;
}

std::optional<std::wstring> TrimmedJournal(std::wstring_view text, size_t limit) {
    std::vector<std::wstring_view> lines = Split(text, L'\n');
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    const bool header =
        !lines.empty() && lines[0].substr(0, kJournalHeader.size()) == kJournalHeader;
    const size_t records = lines.size() - (header ? 1 : 0);
    if (records <= limit) {
        return std::nullopt;
    }
    // The lines are kept as they are, line ends included.
    std::wstring kept = std::wstring(kJournalHeader) + L"\r\n";
    for (size_t i = lines.size() - limit; i < lines.size(); ++i) {
        kept += std::wstring(lines[i]) + L'\n';
    }
    return kept;
}

}  // namespace saltor
