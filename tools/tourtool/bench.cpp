#include <chrono>
#include <iomanip>
#include <ostream>
#include <vector>

#include "engine/tour_search.h"
#include "reference/reference_search.h"
#include "reference/scripted_host.h"
#include "reference/tour_checks.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {
namespace {

struct Job {
    TourState position;
    bool complete;
    uint32_t budget;  // in back-ups: the scripted clock advances once per back-up
};

// The 64 starts completed, and positions of random play judged with a budget: both searches do
// exactly the same work, whatever the machine's speed.
std::vector<Job> MakeWorkload() {
    std::vector<Job> jobs;
    for (int index = 0; index < 64; ++index) {
        TourState tour;
        tour.Play(SquareAt(index));
        jobs.push_back({tour, true, 0xFFFFFFFFu});
    }
    TestRandom random(1);
    for (int i = 0; i < 400; ++i) {
        TourState tour;
        PlayRandomly(tour, random, 8 + random.Below(23));
        if (tour.firstLostMove == NoMark) {
            jobs.push_back({tour, false, 2000});
        }
    }
    return jobs;
}

// The game's search without its cuts: the same squares as the reference, placed faster.
class PlainTourSearch : public TourSearch {
public:
    PlainTourSearch(TourState& tour, SearchHost& host)
        : TourSearch(tour, host, SearchCuts::None()) {}
};

struct Measure {
    uint64_t squares = 0;
    double seconds = 0;
    double Rate() const { return seconds > 0 ? squares / seconds : 0; }
};

template <typename Search>
Measure Run(const std::vector<Job>& jobs, double minSeconds) {
    Measure measure;
    const auto start = std::chrono::steady_clock::now();
    do {
        for (const Job& job : jobs) {
            TourState tour = job.position;
            ScriptedHost host;
            host.tickStep = 1;
            Search search(tour, host);
            search.Solve(job.complete, job.budget);
            measure.squares += search.Stats().squaresPlaced;
        }
        measure.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (measure.seconds < minSeconds);
    return measure;
}

}  // namespace

int RunBench(std::ostream& out, double seconds) {
    const std::vector<Job> jobs = MakeWorkload();
    const Measure plain = Run<reference::ReferenceSearch>(jobs, seconds);
    const Measure fast = Run<PlainTourSearch>(jobs, seconds);
    out << "workload: " << jobs.size() << " searches (64 starts completed, random positions "
        << "judged with a budget of 2000 back-ups)\n\n";
    out << std::left << std::setw(12) << "search" << std::right << std::setw(16) << "squares placed"
        << std::setw(10) << "seconds" << std::setw(16) << "squares/s" << '\n';
    const auto row = [&](const char* name, const Measure& m) {
        out << std::left << std::setw(12) << name << std::right << std::setw(16) << m.squares
            << std::setw(10) << std::fixed << std::setprecision(2) << m.seconds << std::setw(16)
            << std::setprecision(0) << m.Rate() << '\n';
    };
    row("reference", plain);
    row("game", fast);
    out << "\nspeed-up: " << std::setprecision(1) << fast.Rate() / plain.Rate() << "x\n";
    return 0;
}

}  // namespace saltor::tourtool
