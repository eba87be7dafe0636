// A map saved by the JOSM editor with changes not yet uploaded marks each
// changed object with an `action` attribute ("delete", "modify"). The map
// library reads past that attribute and would take deleted objects as
// data, so such a file is recognised here, from its text, and refused.
// The same scan finds a node's coordinate in exponent notation ("4.7E1",
// also spelt with a character reference), which no editor writes and which the map library's
// coordinate reader scales with an integer that can overflow: such a file is refused too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario::importing {

// Reads an OSM XML text in pieces of any size and remembers whether an
// `action` attribute stands in the start tag of a node, way or relation
// (not in a tag's value, which may hold any text).
class PendingChangeScanner {
  public:
    void feed(std::string_view piece);
    bool found() const { return found_; }
    std::string_view action() const { return action_; }  // its value, as far as read
    // Why the map library cannot read the text safely: a coordinate in
    // exponent notation, an element too long to check; empty when none.
    std::string_view unsafe() const { return unsafe_; }

  private:
    void scan(std::string_view text);
    bool stopped() const { return found_ || !unsafe_.empty(); }

    std::string carry_;  // the unfinished start tag of the previous piece
    bool found_ = false;
    std::string action_;
    std::string unsafe_;
};

}  // namespace scenario::importing
