#include "output/file_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ScenarioFiles, NamesEveryFileOfTheScenario) {
    const ScenarioFiles f = scenario_files("C:\\Giochi", '\\', "Alvena_Sorbio", "4271");
    EXPECT_EQ(f.linea_txt, "C:\\Giochi\\Alvena_Sorbio_linea.txt");
    EXPECT_EQ(f.treno_txt, "C:\\Giochi\\Alvena_Sorbio_4271-.txt");
    EXPECT_EQ(f.note, "C:\\Giochi\\Alvena_Sorbio_4271_note.txt");
    EXPECT_EQ(f.rallentamenti, "C:\\Giochi\\Alvena_Sorbio_4271_rallentamenti.txt");
    EXPECT_EQ(f.scheda, "C:\\Giochi\\Alvena_Sorbio_4271_scheda_treno.txt");
    EXPECT_EQ(f.linea_dat, "C:\\Giochi\\Alvena_Sorbio_linea.dat");
    EXPECT_EQ(f.tabella_sim, "C:\\Giochi\\Alvena_Sorbio_4271.sim");
    EXPECT_EQ(f.percorso_dat, "C:\\Giochi\\Alvena_Sorbio_4271.dat");
}

TEST(ScenarioFiles, SeparatorIsAddedAfterARootFolder) {
    EXPECT_EQ(scenario_files("C:\\", '\\', "L", "1").tabella_sim, "C:\\\\L_1.sim");
    EXPECT_EQ(scenario_files("/", '/', "L", "1").linea_txt, "//L_linea.txt");
}

}  // namespace
}  // namespace scenario
