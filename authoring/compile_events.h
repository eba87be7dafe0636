// An observer of the compile that keeps what it hears: every record read
// whole and every object a record replaced on the route, for the author's
// diagnostics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/compile_observer.h"

namespace scenario {

class CompileEvents final : public CompileObserver {
  public:
    struct Record {
        SourceKind file = SourceKind::none;
        RecordKindId kind{};
        std::size_t keyword = 0;  // where its keyword field begins
        std::size_t end = 0;      // where its last field ends
    };
    enum class What : std::uint8_t { stop, mark };
    struct Replacement {
        What what;
        Record record;      // the record that replaced it
        std::int64_t cell;  // the route cell
        std::uint8_t old;   // the `tipo` of the object, or the mark, that was there
    };

    std::vector<Record> records;  // in reading order
    std::vector<Replacement> replacements;

    void record_begins(SourceKind file, RecordKindId kind, std::size_t keyword) override {
        current_ = {file, kind, keyword, keyword};
    }
    void record_ends(std::size_t end) override {
        current_.end = end;
        records.push_back(current_);
    }
    void stop_replaces(std::int64_t cell, std::uint8_t tipo) override {
        replacements.push_back({What::stop, current_, cell, tipo});
    }
    void mark_replaces(std::int64_t cell, std::uint8_t dato6) override {
        replacements.push_back({What::mark, current_, cell, dato6});
    }

  private:
    Record current_;
};

}  // namespace scenario
