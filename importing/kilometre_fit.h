// The line's kilometric references from the milestones along the path:
// where the count runs on evenly one reference holds, and a new one starts
// where it jumps or turns.
#pragma once

#include <cstdint>
#include <vector>

#include "importing/import_path.h"

namespace scenario::importing {

struct Milestone {
    double chainage = 0;  // m along the path
    double km = 0;        // the post's own count
    std::int64_t node = 0;
};

struct KilometricReference {
    std::int32_t position = 0;  // m, a multiple of 50
    std::int32_t value = 0;     // m of the line's count there, a multiple of 50
    bool down = false;          // counting down along the direction of travel
};

// The line format holds three references.
constexpr std::size_t kMaxReferences = 3;

// References in order of position, the first at 0; without milestones one
// counting up from 0. A note for each milestone that fits no run of the
// others and for each run beyond the third.
std::vector<KilometricReference> kilometric_references(std::vector<Milestone> milestones,
                                                       std::vector<ImportNote>* notes);

}  // namespace scenario::importing
