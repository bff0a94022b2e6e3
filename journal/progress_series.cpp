#include "journal/progress_series.h"

#include <map>
#include <span>

namespace saltor {
namespace {

void Count(ProgressPoint& point, const JournalRecord& r) {
    if (r.IsDrill()) {
        ++point.drills;
        point.drillsRight += r.issue == GameIssue::DrillRight ? 1 : 0;
        return;
    }
    ++point.games;
    point.errors += r.errors;
    point.cleanTours += r.issue == GameIssue::Completed && r.errors == 0 ? 1 : 0;
}

}  // namespace

std::vector<ProgressPoint> ProgressSeries(const std::vector<JournalRecord>& journal, int32_t today,
                                          int32_t days) {
    std::map<int32_t, ProgressPoint> byDay;
    std::vector<const JournalRecord*> recent;
    for (const JournalRecord& r : journal) {
        const int32_t day = r.Day();
        if (day > today - days && day <= today) {
            Count(byDay[day], r);
            recent.push_back(&r);
        }
    }
    std::vector<ProgressPoint> points;
    if (byDay.size() >= static_cast<size_t>(kFewDays)) {
        for (auto& [day, point] : byDay) {
            const std::wstring date = DayText(day);  // 2026-12-07 becomes 07/12
            point.label = date.substr(8, 2) + L'/' + date.substr(5, 2);
            points.push_back(point);
        }
        return points;
    }
    // Only the last games: a plot of thousands of points shows nothing, and a table of them
    // takes long to fill.
    size_t games = 0, from = recent.size();
    while (from > 0 && (games < kMostGames || recent[from - 1]->IsDrill())) {
        games += recent[--from]->IsDrill() ? 0 : 1;
    }
    ProgressPoint pendingDrills;
    for (const JournalRecord* r : std::span(recent).subspan(from)) {
        if (r->IsDrill()) {
            Count(points.empty() ? pendingDrills : points.back(), *r);
            continue;
        }
        ProgressPoint point = pendingDrills;
        pendingDrills = {};
        point.label = L"partie " + std::to_wstring(points.size() + 1);
        Count(point, *r);
        points.push_back(point);
    }
    return points;
}

}  // namespace saltor
