// The driver's train card, laid out as the builder's own: the identity
// block, the classification block, the timetable frame with one row per
// place in running order, and the note on "+". Every row puts its eight
// bars at characters 2, 8, 14, 25, 31, 60, 78 and 84. The texts are
// Windows-1252, as the card file is.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace scenario {

struct CardIdentity {
    std::string train;           // "4271"
    std::string origin;          // "da:" the first station
    std::string terminus;        // "a:" the last
    int top_speed = 0;           // km/h, the "V140 C" box
    int braked_percent = 0;      // the "120%" box
    std::string classification;  // "REGIONALE"
    std::string braked_mass;     // the mass box as it is printed: "250T"
};

struct CardRow {
    // `untimed`: a place outside the run, with no time.
    enum class Kind : unsigned char { origin, stop, pass, terminus, untimed };
    Kind kind = Kind::pass;
    std::optional<int> limit;    // "Vel. Lim." km/h, where it changes
    std::optional<int> running;  // "Vel. Marc." km/h, where it changes
    double kilometre = 0;        // "Progr Km", in metres
    std::string place;
    int arrival = 0;    // seconds of the day: a stop's arrival, a passing time
    int departure = 0;  // the origin's and a stop's departure
    int recovery = 0;   // "Rec", in half minutes; blank when 0
};

// The card's lines, without line ends.
std::vector<std::string> train_card(const CardIdentity& identity, std::span<const CardRow> rows);

// "17.43" and, on the half minute, "17.43+" (`plus` false: the minute only,
// as a departure is printed).
std::string card_time(int seconds_of_day, bool plus);

// The reference as the card names a place by it: "312+800".
std::string kilometre_mark(double metres);

}  // namespace scenario
