#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace saltor {

enum class Verdict { Found, Lost, Doubtful };

// The verdicts of one way of judging a set of positions and the time each took, for the tables
// of how many are decided in time.
class VerdictTable {
public:
    void Add(Verdict verdict, double ms) {
        times_.push_back(ms);
        if (verdict != Verdict::Doubtful) {
            decided_.push_back(ms);
        }
        found_ += verdict == Verdict::Found;
        lost_ += verdict == Verdict::Lost;
    }
    int Found() const { return found_; }
    int Lost() const { return lost_; }
    size_t Positions() const { return times_.size(); }
    // Per cent of all positions decided within `ms`.
    double DecidedWithin(double ms) const {
        const auto count =
            std::count_if(decided_.begin(), decided_.end(), [&](double t) { return t <= ms; });
        return times_.empty() ? 0 : 100.0 * static_cast<double>(count) / times_.size();
    }
    // Of every position's time, decided or not; `p` from 0 to 1.
    double Percentile(double p) const {
        if (times_.empty()) {
            return 0;
        }
        std::vector<double> sorted = times_;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5)];
    }

private:
    std::vector<double> times_, decided_;
    int found_ = 0, lost_ = 0;
};

// A Markdown table of how each way of judging fared, one row per (label, table), the budget
// being the last column of shares.
inline std::string MarkdownTable(
    const char* firstHeading,
    std::initializer_list<std::pair<const char*, const VerdictTable*>> rows, uint32_t budgetMs) {
    // A budget of 10 or 100 ms already has its column.
    const bool budgetColumn = budgetMs != 10 && budgetMs != 100;
    std::string text = std::string("| ") + firstHeading +
                       " | found | lost | decided in 10 ms | in 100 ms | " +
                       (budgetColumn ? "in " + std::to_string(budgetMs) + " ms | " : "") +
                       "median | 99th percentile |\n|---|---:|---:|---:|---:|" +
                       (budgetColumn ? "---:|" : "") + "---:|---:|\n";
    for (const auto& [label, table] : rows) {
        char row[300];
        std::snprintf(row, sizeof row, "| %s | %d | %d | %.2f %% | %.2f %% | ", label,
                      table->Found(), table->Lost(), table->DecidedWithin(10),
                      table->DecidedWithin(100));
        text += row;
        if (budgetColumn) {
            std::snprintf(row, sizeof row, "%.2f %% | ", table->DecidedWithin(budgetMs));
            text += row;
        }
        std::snprintf(row, sizeof row, "%.3f ms | %.3f ms |\n", table->Percentile(0.5),
                      table->Percentile(0.99));
        text += row;
    }
    return text;
}

}  // namespace saltor
