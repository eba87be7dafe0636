// The embedded scenario, emitted and compiled once in memory for the tool's
// tests: its source texts, the model after the build, and the compiled
// files as the builder writes them.
#pragma once

#include <string>

#include "compiler/model.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "support/memory_file_system.h"

namespace scenario::testing {

struct EmbeddedBuild {
    Scenario s;
    MemoryFileSystem fs;
    ScenarioFiles files = scenario_files("/embedded", '/', "Alvena_Sorbio", "4271");
    std::string linea_txt;  // the source texts, as the emitters write them
    std::string treno_txt;

    const std::string& table() { return fs.files[files.tabella_sim]; }
    const std::string& route() { return fs.files[files.percorso_dat]; }
    const std::string& geometry() { return fs.files[files.linea_dat]; }
};

inline void run_embedded_build(EmbeddedBuild& b) {
    dati_linea(b.fs, b.files, nullptr);
    dati_treno(b.fs, b.files, nullptr);
    b.linea_txt = b.fs.files[b.files.linea_txt];
    b.treno_txt = b.fs.files[b.files.treno_txt];
    b.s.nome_linea = "Alvena_Sorbio";
    b.s.numero_treno = "4271";
    memorizza_percorso(b.s, 1, b.fs, b.files);
}

// Built on first use and shared: the geometry alone has 108001 rows.
inline EmbeddedBuild& embedded_build() {
    static EmbeddedBuild build;
    static const bool built = (run_embedded_build(build), true);
    (void)built;
    return build;
}

}  // namespace scenario::testing
