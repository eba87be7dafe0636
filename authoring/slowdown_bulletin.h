// The slowdown bulletin handed to the driver with the train card. Without a
// slowdown it is the builder's own, four empty lines and "NESSUNA
// PRESCRIZIONE"; otherwise the same heading place holds "RALLENTAMENTI",
// and one line a slowdown follows in running order:
//
//      1   dal km     22.500   al km     23.500   velocita'  60 km/h
//
// in the card's manner: kilometres with three decimals, the apostrophe for
// the accent.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace scenario {

struct BulletinEntry {
    double from = 0;  // the line's kilometre at the start, metres
    double to = 0;    // and at the end
    int speed = 0;    // km/h
};

// The bulletin's lines, without line ends.
std::vector<std::string> slowdown_bulletin(std::span<const BulletinEntry> entries);

}  // namespace scenario
