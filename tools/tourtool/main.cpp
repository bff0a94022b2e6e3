// tourtool: knight's tours from the command line with the game's own search.
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "tourtool/tourtool.h"

namespace {

int Usage() {
    std::cerr << "usage:\n"
                 "  tourtool starts [--budget MS]   the tour the game completes from each square\n"
                 "  tourtool judge [--budget MS]    judge positions read from standard input,\n"
                 "                                  one per line (A1;B3;C5)\n"
                 "  tourtool bench [--seconds S]    squares placed per second, the game's search\n"
                 "                                  against the plain reference\n";
    return 2;
}

// Reads "--name value"; false on a malformed or unknown option.
bool ParseNumber(std::string_view text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const std::string copy(text);
    value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace saltor::tourtool;
    if (argc < 2) {
        return Usage();
    }
    const std::string_view command = argv[1];
    double budget = DefaultBudgetMs;
    double seconds = 2.0;
    for (int i = 2; i < argc; i += 2) {
        const std::string_view option = argv[i];
        double value = 0;
        if (i + 1 >= argc || !ParseNumber(argv[i + 1], value)) {
            return Usage();
        }
        if (option == "--budget" && value <= 0xFFFFFFFFu) {
            budget = value;
        } else if (option == "--seconds") {
            seconds = value;
        } else {
            return Usage();
        }
    }
    std::ios::sync_with_stdio(false);
    if (command == "starts") {
        return RunStarts(std::cout, static_cast<uint32_t>(budget));
    }
    if (command == "judge") {
        return RunJudge(std::cin, std::cout, static_cast<uint32_t>(budget));
    }
    if (command == "bench") {
        return RunBench(std::cout, seconds);
    }
    return Usage();
}
