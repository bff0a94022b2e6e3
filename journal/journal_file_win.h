#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_record.h"

namespace saltor {

// The journal and the drills' schedule, in the settings folder; empty without one.
std::wstring JournalFilePath();
std::wstring DrillFilePath();

// The journal keeps this many lines at least; it is trimmed back to it once it holds a tenth
// more, so that the trimming does not rewrite the file after every game.
inline constexpr size_t kJournalLimit = 10000;

// Appends the record as one whole line with one write to the file opened for appending only, so
// that copies of the game running at once never mix or lose lines; the folder and the header
// are made when missing. Then trims the journal when it has grown past the limit. False when
// the line could not be written.
bool AppendToJournal(const std::wstring& path, const JournalRecord& record);

// A UTF-8 text file as a whole; nothing when it is missing or cannot be read.
std::optional<std::wstring> ReadTextFile(const std::wstring& path);
// Writes a UTF-8 text file whole: a temporary file beside it, then moved over it.
bool ReplaceTextFile(const std::wstring& path, std::wstring_view text);

// The journal's well-formed records; none when it is missing or cannot be read.
std::vector<JournalRecord> ReadJournal(const std::wstring& path);

}  // namespace saltor
