// What the compilers tell an observer as they read: each record they read
// whole and the objects that a record silently replaces on the route. The
// builder passes no observer; the author's checks pass one and turn what
// they hear into diagnostics. An observer never changes what is compiled.
#pragma once

#include <cstddef>
#include <cstdint>

#include "compiler/record_kinds.h"

namespace scenario {

// The files of a scenario: the two sources the compilers read, and, for the
// author's checks only, the rolling-stock file and the train card.
enum class SourceKind : std::uint8_t { none, linea, treno, stock, card };

class CompileObserver {
  public:
    // A record of `kind` whose keyword field begins at byte `keyword` of
    // `file` is about to be read. What the compiler reports next belongs
    // to it.
    virtual void record_begins(SourceKind file, RecordKindId kind, std::size_t keyword) = 0;
    // That record was read whole; its last field ends at byte `end`. Not
    // called for a record that ended the reading.
    virtual void record_ends(std::size_t end) = 0;
    // The station being read puts its stop point on `cell`, replacing an
    // object of kind `tipo` there.
    virtual void stop_replaces(std::int64_t cell, std::uint8_t tipo) = 0;
    // The signal being read puts an approach mark on `cell`, replacing the
    // mark `dato6` that stood there.
    virtual void mark_replaces(std::int64_t cell, std::uint8_t dato6) = 0;

  protected:
    ~CompileObserver() = default;
};

}  // namespace scenario
