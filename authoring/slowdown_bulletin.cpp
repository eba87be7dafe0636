#include "authoring/slowdown_bulletin.h"

#include <cstdio>

namespace scenario {

namespace {

// The statement stands where the printed form has its body.
constexpr std::string_view kIndent = "                         ";

std::string entry_line(std::size_t number, const BulletinEntry& e) {
    char line[128];
    std::snprintf(line, sizeof line, " %5zu   dal km %10.3f   al km %10.3f   velocita' %3d km/h",
                  number, e.from / 1000.0, e.to / 1000.0, e.speed);
    return line;
}

}  // namespace

std::vector<std::string> slowdown_bulletin(std::span<const BulletinEntry> entries) {
    std::vector<std::string> lines(4);
    if (entries.empty()) {
        lines.push_back(std::string(kIndent) + "NESSUNA PRESCRIZIONE");
        return lines;
    }
    lines.push_back(std::string(kIndent) + "RALLENTAMENTI");
    lines.emplace_back();
    for (std::size_t i = 0; i < entries.size(); ++i)
        lines.push_back(entry_line(i + 1, entries[i]));
    return lines;
}

}  // namespace scenario
