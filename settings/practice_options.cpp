#include "settings/practice_options.h"

#include <optional>

namespace saltor {
namespace {

constexpr std::string_view kExam = "examen=";
constexpr std::string_view kBlind = "aveugle=";

std::string_view YesNo(bool on) {
    return on ? "oui" : "non";
}

// One line "<key>oui" or "<key>non" at the start of `text`, which then moves past it.
std::optional<bool> TakeLine(std::string_view& text, std::string_view key) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (!line.starts_with(key)) {
        return std::nullopt;
    }
    line.remove_prefix(key.size());
    if (line != "oui" && line != "non") {
        return std::nullopt;
    }
    return line == "oui";
}

}  // namespace

std::string PracticeOptionsText(const PracticeOptions& options) {
    return std::string(kExam) + std::string(YesNo(options.exam)) + "\r\n" + std::string(kBlind) +
           std::string(YesNo(options.blind)) + "\r\n";
}

PracticeOptions ParsePracticeOptions(std::string_view text) {
    const std::optional<bool> exam = TakeLine(text, kExam);
    const std::optional<bool> blind = TakeLine(text, kBlind);
    if (!exam || !blind || !text.empty()) {
        return {};
    }
    return {*exam, *blind};
}

}  // namespace saltor
