#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/tour_state.h"
#include "files/tour_text.h"

namespace saltor {

// One case of a case file: its text, and "path:line" for the failures it leads to.
struct CaseLine {
    std::string text;
    std::string where;
};

// The lines of a case file that hold a case: blank lines and lines starting with # are skipped,
// and a CR before the line's end dropped. Empty when the file cannot be read.
inline std::vector<CaseLine> ReadCases(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<CaseLine> cases;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            cases.push_back({line, path.string() + ":" + std::to_string(number)});
        }
    }
    return cases;
}

// A position written in the game file's notation ("A1;B3;...").
inline TourState PositionOf(const std::string& text) {
    TourState tour;
    DecodeTour(tour, std::wstring(text.begin(), text.end()));
    return tour;
}

}  // namespace saltor
