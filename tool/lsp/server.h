// A language server for the two source formats, on the editor protocol
// (JSON-RPC 2.0 with Content-Length framing): the life cycle, full text
// synchronisation, the diagnostics of `check` for the documents that are
// source files, hover over a field, a name label for every value field,
// the outline of sections and records, and the layout of a document or of
// the lines of a range, as `scenario_tool format` makes it.
//
// Messages are served in order as they come; the checks wait until no
// message is waiting, so that of a burst of changes only the last text of
// each document is checked and its diagnostics published.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "output/file_system.h"

namespace scenario {

struct LspLimits {
    std::size_t max_message = std::size_t{32} << 20;  // bytes of one message's JSON
    std::size_t max_document = std::size_t{8} << 20;  // bytes of one document's text
};

struct LspEnvironment {
    // The files of a source that the editor does not hold are read here;
    // nothing is ever written.
    FileSystem& disk;
    // The names of the files in a folder: a line file opened alone is
    // checked with the first train file of its line found there.
    std::function<std::vector<std::string>(const std::string& folder)> list_folder;
    std::ostream& out;  // protocol messages only
    std::ostream& log;  // what the server drops, in words
    LspLimits limits = {};
    // A thread reads the input ahead, so that what comes while a check runs
    // is seen before the next one starts. Without it, a message is waiting
    // when the input stream holds its bytes already (see StreamFrames).
    bool read_ahead = false;
};

// Serves the messages read from `in` until `exit` or the end of the
// stream, and returns the exit status the protocol gives: 0 when
// `shutdown` came first, otherwise 1.
int serve_lsp(std::istream& in, const LspEnvironment& env);

}  // namespace scenario
