#include "journal/drill_schedule.h"

#include <algorithm>
#include <set>

namespace saltor {

std::wstring FormatDrills(const std::vector<Drill>& drills) {
    std::wstring text = std::wstring(kDrillHeader) + L'\n';
    for (const Drill& d : drills) {
        text += PathField(d.position) + L'\t' + ChallengeField(d.challenge) + L'\t' +
                PathField({d.losingMove}) + L'\t' + std::to_wstring(d.box) + L'\t' +
                DayText(d.dueDay) + L'\n';
    }
    return text;
}

std::vector<Drill> ParseDrills(std::wstring_view text) {
    std::vector<Drill> drills;
    for (size_t from = 0; from < text.size();) {
        const size_t end = std::min(text.find(L'\n', from), text.size());
        std::wstring_view line = text.substr(from, end - from);
        from = end + 1;
        // The line as a journal line of the same shape: the same readers check every field.
        std::vector<std::wstring_view> f;
        for (size_t at = 0; at <= line.size();) {
            const size_t tab = std::min(line.find(L'\t', at), line.size());
            f.push_back(line.substr(at, tab - at));
            at = tab + 1;
        }
        if (f.size() != 5 || f[3].size() != 1 || f[3][0] < L'1' || f[3][0] >= L'1' + kBoxCount ||
            f[4].size() != 10) {
            continue;
        }
        const std::optional<JournalRecord> dated =
            ParseJournalLine(std::wstring(f[4]) + L"T00:00:00\t0\t" + std::wstring(f[1]) +
                             L"\tnormal\trésolu\t0\t0\t0\t0\t" + std::wstring(f[0]));
        const std::optional<std::vector<Square>> move = ParsePathField(f[2]);
        if (!dated || dated->path.empty() || !move || move->size() != 1) {
            continue;
        }
        drills.push_back(
            {dated->path, dated->challenge, move->front(), f[3][0] - L'0', dated->Day()});
    }
    return drills;
}

bool AddDrillsFromJournal(std::vector<Drill>& drills, const std::vector<JournalRecord>& journal,
                          int32_t today) {
    // By the position's text: a journal of thousands of lost games is looked up quickly.
    const auto key = [](const Drill& d) {
        return PathField(d.position) + L' ' + ChallengeField(d.challenge);
    };
    std::set<std::wstring> known;
    for (const Drill& d : drills) {
        known.insert(key(d));
    }
    bool added = false;
    for (const JournalRecord& r : journal) {
        const size_t lost = static_cast<size_t>(r.firstLostMove);
        if (r.IsDrill() || lost < 2 || lost > r.path.size()) {
            continue;
        }
        Drill drill{{r.path.begin(), r.path.begin() + static_cast<ptrdiff_t>(lost) - 1},
                    r.challenge,
                    r.path[lost - 1],
                    1,
                    today};
        if (known.insert(key(drill)).second) {
            drills.push_back(std::move(drill));
            added = true;
        }
    }
    return added;
}

void PutDrill(std::vector<Drill>& drills, const Drill& drill) {
    const auto same = std::find_if(drills.begin(), drills.end(), [&drill](const Drill& d) {
        return d.position == drill.position && d.challenge == drill.challenge;
    });
    if (same != drills.end()) {
        *same = drill;
    } else {
        drills.push_back(drill);
    }
}

std::vector<size_t> DueDrills(const std::vector<Drill>& drills, int32_t today) {
    std::vector<size_t> due;
    for (size_t i = 0; i < drills.size(); ++i) {
        if (drills[i].dueDay <= today) {
            due.push_back(i);
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [&](size_t a, size_t b) { return drills[a].dueDay < drills[b].dueDay; });
    return due;
}

void ScheduleAnswer(Drill& drill, bool right, int32_t today) {
    drill.box = right ? std::min(drill.box + 1, kBoxCount) : 1;
    drill.dueDay = today + kBoxDays[drill.box - 1];
}

}  // namespace saltor
