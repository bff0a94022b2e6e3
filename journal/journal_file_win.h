#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_host.h"
#include "journal/drill_schedule.h"
#include "journal/journal_record.h"

namespace saltor {

// The journal and the drills' schedule, in the settings folder; empty without one.
std::wstring JournalFilePath();
std::wstring DrillFilePath();

// The journal keeps this many lines at least; it is trimmed back to it once it holds a tenth
// more, so that the trimming does not rewrite the file after every game.
inline constexpr size_t kJournalLimit = 10000;

// Appends the record as one whole line with one write to the file opened for appending only,
// under a lock named after the file, so that copies of the game running at once never mix or
// lose lines; the header is written when the file is new. Then trims the journal when it has grown
// past the limit. False when the line could not be written.
bool AppendToJournal(const std::wstring& path, const JournalRecord& record);

// A UTF-8 text file as a whole; nothing when it is missing or cannot be read.
std::optional<std::wstring> ReadTextFile(const std::wstring& path);
// Writes a UTF-8 text file whole: a temporary file beside it, then moved over it.
bool ReplaceTextFile(const std::wstring& path, std::wstring_view text);

// The drills' schedule read afresh and given to `change`, which says whether it changed it, then
// written back if so; under a lock named after the file, so that copies of the game at their
// drills at once keep each other's answers. A file that is there but cannot be read is not
// written over: the schedule is then `change`'s alone, and not saved.
struct DrillFileUpdate {
    std::vector<Drill> drills;
    bool saved = false;
};
DrillFileUpdate UpdateDrillFile(const std::wstring& path,
                                const std::function<bool(std::vector<Drill>&)>& change);

// The well-formed records of the journal's last kJournalReadBytes, more than the lines it keeps
// ever take, so that a journal grown large elsewhere opens as fast; none when it is missing or
// cannot be read.
inline constexpr int64_t kJournalReadBytes = 4 << 20;
std::vector<JournalRecord> ReadJournal(const std::wstring& path);

// The local time `secondsAgo` seconds ago as the journal writes it (2026-12-07T21:05:33), and
// today's local date as days since 1970-01-01.
std::wstring LocalTimeText(int64_t secondsAgo);
int32_t LocalToday();

// A clock for the exact judging done outside any board: nothing cancels it, nothing shows.
class ClockHost : public SearchHost {
public:
    uint32_t TickCount() override;
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

}  // namespace saltor
