#include "content/emitter.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"

namespace scenario {
namespace {

TEST(EmitText, WritesEntriesUpToTheSentinel) {
    const std::string_view table[] = {"uno", "", "  tre  ", kSentinella, "never"};
    EXPECT_EQ(emit_text(table), "uno\r\n\r\n  tre  \r\n");
}

TEST(EmitText, OnlyTheExactSentinelEndsTheTable) {
    const std::string_view table[] = {"Riferimento fine del file", "riferimento fine del file ",
                                      kSentinella};
    EXPECT_EQ(emit_text(table), "Riferimento fine del file\r\nriferimento fine del file \r\n");
}

TEST(Emitters, ReplaceALongerEarlierFileWhole) {
    testing::MemoryFileSystem fs;
    const ScenarioFiles files = scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    fs.files[files.linea_txt] = std::string(1 << 20, '#');
    FileError error;
    ASSERT_TRUE(dati_linea(fs, files, &error));
    const std::string& text = fs.files[files.linea_txt];
    EXPECT_EQ(text.rfind("[generale]\r\n", 0), 0u);
    EXPECT_EQ(text.find('#'), std::string::npos);
    EXPECT_TRUE(text.ends_with("[fine]\r\n"));
}

}  // namespace
}  // namespace scenario
