#include "output/file_names.h"

namespace scenario {

ScenarioFiles scenario_files(std::string_view folder, char separator, std::string_view nome_linea,
                             std::string_view numero_treno) {
    std::string base(folder);
    base += separator;
    base += nome_linea;
    const std::string treno = base + "_" + std::string(numero_treno);
    return ScenarioFiles{
        .linea_txt = base + std::string(kLineaSuffix),
        .treno_txt = treno + std::string(kTrenoSuffix),
        .note = treno + "_note.txt",
        .rallentamenti = treno + "_rallentamenti.txt",
        .scheda = treno + "_scheda_treno.txt",
        .linea_dat = base + "_linea.dat",
        .tabella_sim = treno + ".sim",
        .percorso_dat = treno + ".dat",
    };
}

}  // namespace scenario
