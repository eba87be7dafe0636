// The names of every file of a scenario, formed from the program's folder,
// the line identifier and the train number.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// The endings that name the two source files after their line and train:
// `<line>_linea.txt` and `<line>_<train>-.txt`.
constexpr std::string_view kLineaSuffix = "_linea.txt";
constexpr std::string_view kTrenoSuffix = "-.txt";

struct ScenarioFiles {
    std::string linea_txt;      // line source text
    std::string treno_txt;      // train source text
    std::string note;           // notes for the driver
    std::string rallentamenti;  // slowdown bulletin
    std::string scheda;         // train card
    std::string linea_dat;      // compiled line geometry
    std::string tabella_sim;    // compiled scenario table
    std::string percorso_dat;   // compiled route cells
};

// The separator is always added after the folder, also when the folder
// already ends in one (a drive's root folder then gives two in a row).
ScenarioFiles scenario_files(std::string_view folder, char separator, std::string_view nome_linea,
                             std::string_view numero_treno);

}  // namespace scenario
