#include "authoring/train_card.h"

#include <cmath>
#include <cstdio>

namespace scenario {

namespace {

constexpr int kSecondsPerDay = 24 * 3600;
constexpr std::size_t kBoxWidth = 19;    // "TRENO n." and the classification boxes
constexpr std::size_t kRightBox = 14;    // top speed and braked-mass percentage
constexpr std::size_t kNameWidth = 24;   // after "da: " and " a: "
constexpr std::size_t kPlaceWidth = 27;  // after the place cell's leading blank

constexpr std::string_view kFrameTop =
    "  _________________________________________________________________________________";
constexpr std::string_view kHeadings[] = {
    " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |",
    " | Lim.|Marc.|          | Rs  |                            |                 |     |",
};
constexpr std::string_view kFrameBottom =
    " |_____|_____|__________|_____|____________________________|_________________|_____|";
constexpr std::string_view kNote =
    "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.";

// `text` cut or padded to `width`.
std::string fitted(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

// `text` centred in `width`, the odd blank on the right.
std::string centred(std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    const std::size_t left = (width - text.size()) / 2;
    return std::string(left, ' ') + fitted(text, width - left);
}

std::vector<std::string> identity_block(const CardIdentity& id) {
    const std::string box = centred("TRENO n. " + id.train, kBoxWidth);
    const std::string speed = centred("V" + std::to_string(id.top_speed) + " C", kRightBox);
    const std::string percent = centred(std::to_string(id.braked_percent) + "%", kRightBox);
    return {
        "  ___________________                                               ______________",
        " |                   |                  SCHEDA                     |              |",
        " |" + box + "|                 da: " + fitted(id.origin, kNameWidth) + "|" + speed + "|",
        " |___________________|                  a: " + fitted(id.terminus, kNameWidth) + "|" +
            percent + "|",
        "                                                                   |______________|",
        "  ___________________                ___________________",
        " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
        " |" + centred(id.classification, kBoxWidth) + "|              |" +
            fitted("      " + id.braked_mass, kBoxWidth) + "|",
        " |___________________|              |___________________|",
        "",
    };
}

// A speed right-aligned in four characters, then a blank; all blank when
// there is none.
std::string speed_cell(const std::optional<int>& kmh) {
    if (!kmh) return "     ";
    char cell[16];
    std::snprintf(cell, sizeof cell, "%4d ", *kmh);
    return fitted(cell, 5);
}

std::string kilometre_cell(double metres) {
    char cell[32];
    std::snprintf(cell, sizeof cell, "%9.3f ", metres / 1000.0);
    return fitted(cell, 10);
}

std::string orario_cell(const CardRow& row) {
    switch (row.kind) {
        case CardRow::Kind::origin:
            return std::string(11, ' ') + card_time(row.departure, false) + " ";
        case CardRow::Kind::stop:
            return " " + fitted(card_time(row.arrival, true), 6) + "    " +
                   card_time(row.departure, false) + " ";
        case CardRow::Kind::terminus:
            return " " + fitted(card_time(row.arrival, true), 16);
        case CardRow::Kind::untimed:
            return std::string(17, ' ');
        case CardRow::Kind::pass:
            break;
    }
    return "      " + fitted(card_time(row.arrival, true), 6) + "     ";
}

// Half minutes as minutes with a decimal comma: 1 is "0,5", 2 is "1".
std::string recovery_cell(int half_minutes) {
    if (half_minutes <= 0) return "     ";
    std::string minutes = std::to_string(half_minutes / 2);
    if (half_minutes % 2 != 0) minutes += ",5";
    return centred(minutes, 5);
}

std::string row_line(const CardRow& row) {
    return " |" + speed_cell(row.limit) + "|" + speed_cell(row.running) + "|" +
           kilometre_cell(row.kilometre) + "|     | " + fitted(row.place, kPlaceWidth) + "|" +
           orario_cell(row) + "|" + recovery_cell(row.recovery) + "|";
}

}  // namespace

std::string card_time(int seconds_of_day, bool plus) {
    const int s = ((seconds_of_day % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d", s / 3600, s / 60 % 60);
    std::string out = text;
    if (plus && s % 60 >= 30) out += '+';
    return out;
}

std::string kilometre_mark(double metres) {
    const long long m = std::llround(metres);
    const long long whole = m / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%lld+%03lld", whole, std::llabs(m - whole * 1000));
    return text;
}

std::vector<std::string> train_card(const CardIdentity& identity, std::span<const CardRow> rows) {
    std::vector<std::string> lines = identity_block(identity);
    lines.emplace_back(kFrameTop);
    for (const std::string_view heading : kHeadings)
        lines.emplace_back(heading);
    lines.emplace_back(kFrameBottom);
    for (const CardRow& row : rows)
        lines.push_back(row_line(row));
    lines.emplace_back(kFrameBottom);
    lines.emplace_back();
    lines.emplace_back();
    lines.emplace_back(kNote);
    return lines;
}

}  // namespace scenario
