#include "tool/commands/run_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "tool/json/json_reader.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

class RunCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        tool.fs.files["src/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
        tool.fs.files["src/Alvena_Sorbio_4271-.txt"] = emit_text(testo_treno());
    }
    testing::ToolRun tool;
};

TEST_F(RunCommand, JsonHoldsEveryStationAndAProfileEvery50Metres) {
    ASSERT_EQ(tool.run({"run", "--json", "src"}), kExitClean);
    std::string error;
    const std::optional<JsonValue> doc = parse_json(tool.out.str(), &error);
    ASSERT_TRUE(doc) << error;
    const JsonValue::Array& stations = *doc->find("stations")->array();
    ASSERT_EQ(stations.size(), 29u);
    int scheduled = 0;
    for (const JsonValue& s : stations)
        scheduled += s.find("scheduled")->is_null() ? 0 : 1;
    EXPECT_EQ(scheduled, 16);
    // The first stop leaves at its time, 17:43; Sorbio is reached no sooner
    // than the fastest run, which waits at no stop for its time.
    EXPECT_EQ(*stations.front().find("name")->string(), "ALVENA P.NUOVA");
    EXPECT_EQ(stations.front().find("earliest")->number()->value, 63780);
    const double running_time = doc->find("running_time")->number()->value;
    EXPECT_GE(stations.back().find("earliest")->number()->value - 63780, std::round(running_time));

    const JsonValue::Array& profile = *doc->find("profile")->array();
    ASSERT_GT(profile.size(), 2000u);
    double last = (*profile.front().array())[0].number()->value;
    for (const JsonValue& p : profile) {
        const double position = (*p.array())[0].number()->value;
        EXPECT_LE(position - last, 50.0 + 1e-9);
        last = position;
    }
    EXPECT_EQ((*profile.back().array())[2].number()->value, running_time);
}

TEST_F(RunCommand, TheTableEndsWithTheTotals) {
    ASSERT_EQ(tool.run({"run", "src"}), kExitClean);
    const std::string out = tool.out.str();
    EXPECT_EQ(out.rfind("train 4271: 295 t, 99 m, top speed 140 km/h", 0), 0u);
    EXPECT_NE(out.find("\nSORBIO                      101050    98.500  stop   19:30:00"),
              std::string::npos);
    EXPECT_NE(out.find("\nfastest run 1 h 29 min"), std::string::npos);
    // The three notes of its margins go to standard error.
    EXPECT_NE(tool.err.str().find("0 errors, 0 warnings, 3 notes"), std::string::npos);
}

}  // namespace
}  // namespace scenario
