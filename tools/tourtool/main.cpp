// tourtool: knight's tours from the command line with the game's own search.
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tourtool/tourtool.h"

namespace {

int Usage() {
    std::cerr << "usage:\n"
                 "  tourtool starts [--budget MS]   the tour the game completes from each square\n"
                 "  tourtool judge [--budget MS] [--literal] [CHALLENGE]\n"
                 "                                  judge positions read from standard input,\n"
                 "                                  one per line (A1;B3;C5); --literal without\n"
                 "                                  the cuts\n"
                 "  tourtool explain [--budget MS] [CHALLENGE]\n"
                 "                                  judge positions read from standard input and\n"
                 "                                  say why: verdict, reason, squares, sentence\n"
                 "  tourtool bench [--seconds S]    squares placed per second, the game's search\n"
                 "                                  against the plain reference\n"
                 "  tourtool decide FILE... [--budget MS] [--check N] [CHALLENGE]\n"
                 "                                  the share of positions of the files that\n"
                 "                                  the plain search, the search with cuts and\n"
                 "                                  the game's judge decide in time, side by\n"
                 "                                  side, and the slowest; every Nth \"lost\"\n"
                 "                                  confirmed by trying every path\n"
                 "  tourtool corpus random|human|strong [--count N] [--seed S]\n"
                 "                                  positions for judge, from random legal play,\n"
                 "                                  from play that mostly takes fewest exits, or\n"
                 "                                  from games kept alive, each with one mistake\n"
                 "CHALLENGE: --closed (end a knight's move from the first square) or --end SQ\n"
                 "(end on SQ, as H8); an open tour without either\n";
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

// A square as H8 (or h8).
bool ParseSquare(std::string_view text, saltor::Square& square) {
    if (text.size() != 2) {
        return false;
    }
    const char file = static_cast<char>(text[0] & ~0x20);
    square = {file - 'A', text[1] - '1'};
    return saltor::IsOnBoard(square);
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
    double count = 2000;
    double seed = 1;
    double checkEvery = 1;
    int first = 2;
    std::string_view style;
    std::vector<std::string> files;
    if (command == "decide") {
        while (first < argc && std::string_view(argv[first]).substr(0, 2) != "--") {
            files.emplace_back(argv[first++]);
        }
        if (files.empty()) {
            return Usage();
        }
    }
    if (command == "corpus") {
        if (argc < 3 ||
            (std::string_view(argv[2]) != "random" && std::string_view(argv[2]) != "human" &&
             std::string_view(argv[2]) != "strong")) {
            return Usage();
        }
        style = argv[2];
        first = 3;
    }
    bool literal = false;
    saltor::Challenge challenge;
    for (int i = first; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--literal" || option == "--closed") {
            literal = literal || option == "--literal";
            if (option == "--closed") {
                challenge.kind = saltor::TourKind::Closed;
            }
            --i;
            continue;
        }
        if (option == "--end") {
            if (i + 1 >= argc || !ParseSquare(argv[i + 1], challenge.arrival)) {
                return Usage();
            }
            challenge.kind = saltor::TourKind::Arrival;
            continue;
        }
        double value = 0;
        if (i + 1 >= argc || !ParseNumber(argv[i + 1], value)) {
            return Usage();
        }
        if (option == "--budget" && value <= 0xFFFFFFFFu) {
            budget = value;
        } else if (option == "--seconds") {
            seconds = value;
        } else if (option == "--count" && value <= 1e7) {
            count = value;
        } else if (option == "--seed" && value <= 1e15) {
            seed = value;
        } else if (option == "--check" && value >= 1 && value <= 1e7) {
            checkEvery = value;
        } else {
            return Usage();
        }
    }
    std::ios::sync_with_stdio(false);
    if (command == "starts") {
        return RunStarts(std::cout, static_cast<uint32_t>(budget));
    }
    if (command == "judge") {
        return RunJudge(std::cin, std::cout, static_cast<uint32_t>(budget), !literal, challenge);
    }
    if (command == "explain") {
        return RunExplain(std::cin, std::cout, std::cerr, static_cast<uint32_t>(budget), challenge);
    }
    if (command == "bench") {
        return RunBench(std::cout, seconds);
    }
    if (command == "decide") {
        return RunDecide(files, std::cout, static_cast<uint32_t>(budget),
                         static_cast<int>(checkEvery), challenge);
    }
    if (command == "corpus") {
        const CorpusStyle corpus = style == "human"    ? CorpusStyle::Human
                                   : style == "strong" ? CorpusStyle::Strong
                                                       : CorpusStyle::Random;
        return RunCorpus(std::cout, corpus, static_cast<int>(count), static_cast<uint64_t>(seed));
    }
    return Usage();
}
