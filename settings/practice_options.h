#pragma once

#include <string>
#include <string_view>

namespace saltor {

// The practice modes the player chose, kept in a file of their own beside the settings file.
struct PracticeOptions {
    bool exam = false;
    bool blind = false;
    friend bool operator==(const PracticeOptions&, const PracticeOptions&) = default;
};

// The file's two lines, "examen=oui|non" and "aveugle=oui|non".
std::string PracticeOptionsText(const PracticeOptions& options);
// Reads what PracticeOptionsText writes, with or without carriage returns; anything else, a
// damaged or empty file, turns both modes off.
PracticeOptions ParsePracticeOptions(std::string_view text);

}  // namespace saltor
