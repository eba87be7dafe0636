// The compile-and-write procedure: clear the table, compile both source
// files, finish the route, stamp the format marks and check codes, and
// write the compiled files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/memorizza_dati.h"
#include "compiler/model.h"
#include "output/file_names.h"
#include "output/file_system.h"

namespace scenario {

struct BuildOptions {
    // The builder deletes the source files it has read; the authoring tool
    // leaves an author's files where they are.
    bool delete_sources = true;
    // The authoring tool's checks listen to the compile; the builder does not.
    CompileObserver* observer = nullptr;
    // False stops after the header stamps: no file is encoded or written,
    // and the geometry's rows are counted, not made, though the curve
    // records are read and checked as ever. For a check that wants what the
    // build finds and nothing else; the status then says `written`.
    bool files = true;
};

struct BuildOutcome {
    enum class Status : std::uint8_t {
        written,       // the compiled files are written; `codice_errore` may be nonzero
        no_route,      // the compile created no route: nothing written
        fatal_check,   // a header check failed (`fatal_code` 1250 or 1251): nothing written
        file_failure,  // a file operation failed (`file_error`)
    };
    Status status = Status::written;
    std::int32_t fatal_code = 0;
    FileError file_error;
    CompileResult compile;
    std::vector<std::string> written;  // the compiled files, in the order written
};

// `j` nonzero builds the line geometry and writes its file as well.
BuildOutcome memorizza_percorso(Scenario& s, std::int32_t j, FileSystem& fs,
                                const ScenarioFiles& files, const BuildOptions& options = {});

}  // namespace scenario
