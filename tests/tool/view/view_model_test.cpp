#include "tool/view/view_model.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/embedded_build.h"
#include "tool/view/file_watch.h"

namespace scenario {
namespace {

class ViewModelTest : public ::testing::Test {
  protected:
    ViewModelTest() {
        testing::EmbeddedBuild& b = testing::embedded_build();
        fs.files[b.files.linea_txt] = b.linea_txt;
        fs.files[b.files.treno_txt] = b.treno_txt;
        request.folder = "/embedded";
        request.nome_linea = "Alvena_Sorbio";
        request.numero_treno = "4271";
        request.files = b.files;
    }

    std::string rebuilt(ViewModel& m) {
        ToolContext ctx{fs, out, out};
        m.rebuild(ctx);
        std::ostringstream state;
        m.write_state(state);
        return state.str();
    }

    static std::string probe(const ViewModel& m, double at, double tolerance) {
        std::ostringstream json;
        m.write_probe(at, tolerance, json);
        return json.str();
    }

    testing::MemoryFileSystem fs;
    std::ostringstream out;
    ScenarioRequest request;
};

TEST_F(ViewModelTest, ReadsTheRouteUnderTheCursorAndKeepsTheLastGoodPicture) {
    ViewModel m(request, false);
    const std::string state = rebuilt(m);
    EXPECT_NE(state.find("\"current\":true"), std::string::npos);
    EXPECT_NE(state.find("\"route_end\":108050"), std::string::npos);
    // VALMEDRA, passed at 4100 m: line 48 of the train file.
    EXPECT_EQ(probe(m, 4100, 20),
              "{\"position\":4100,\"kilometre\":1850,\"gradient\":4,\"limit\":75,\"speed\":75,"
              "\"time\":\"17:46:44\",\"object\":{\"label\":\"station VALMEDRA at 4100 m\","
              "\"file\":\"/embedded/Alvena_Sorbio_4271-.txt\",\"line\":48}}");
    // The name board at 4200 m comes from line 305 of the line file.
    EXPECT_NE(
        probe(m, 4210, 20).find("\"file\":\"/embedded/Alvena_Sorbio_linea.txt\",\"line\":305"),
        std::string::npos);
    EXPECT_NE(probe(m, 4160, 20).find("\"object\":null"), std::string::npos);
    // Inside a tunnel, away from its ends: line 225.
    EXPECT_NE(probe(m, 4400, 20)
                  .find("\"label\":\"tunnel from 4250 m to 4600 m\","
                        "\"file\":\"/embedded/Alvena_Sorbio_linea.txt\",\"line\":225"),
              std::string::npos);

    // A station beyond the route: its diagnostic, and the picture kept.
    std::string& treno = fs.files[request.files.treno_txt];
    treno.replace(treno.find("stazione,   15650,"), 18, "stazione, 9999999,");
    const std::string broken = rebuilt(m);
    EXPECT_NE(broken.find("\"current\":false"), std::string::npos);
    EXPECT_NE(broken.find("\"picture\":true"), std::string::npos);
    EXPECT_NE(broken.find("\"line\":51"), std::string::npos);
    EXPECT_NE(broken.find("code 15: position beyond the end of the route"), std::string::npos);
    EXPECT_NE(probe(m, 4100, 20).find("\"time\":\"17:46:44\""), std::string::npos);
}

TEST_F(ViewModelTest, AStretchIsASmallerPictureOfWhatLiesInIt) {
    ViewModel m(request, false);
    rebuilt(m);
    std::ostringstream whole;
    std::ostringstream stretch;
    m.write_picture({}, whole);
    m.write_picture({4000, 4200}, stretch);
    EXPECT_LT(stretch.str().size() * 5, whole.str().size());
    EXPECT_NE(stretch.str().find(">VALMEDRA<"), std::string::npos);
    EXPECT_EQ(stretch.str().find(">SORBIO<"), std::string::npos);
    EXPECT_NE(stretch.str().find("shown: 4.00 km to 4.20 km"), std::string::npos);
}

TEST(FileWatch, SeesEveryChangeOfContentAndNothingElse) {
    testing::MemoryFileSystem fs;
    fs.files["a"] = "one";
    FileWatch watch({"a", "b"});
    EXPECT_TRUE(watch.changed(fs));  // the first look
    EXPECT_FALSE(watch.changed(fs));
    fs.files["a"] = "one";  // written again, the same bytes
    EXPECT_FALSE(watch.changed(fs));
    fs.files["b"] = "";  // a new file, even empty
    EXPECT_TRUE(watch.changed(fs));
    fs.files.erase("a");  // gone, as in the middle of a save
    EXPECT_TRUE(watch.changed(fs));
    fs.files["a"] = "one";
    EXPECT_TRUE(watch.changed(fs));
}

TEST(ViewObjects, TheNearestWithinReachAndTheShorterOnATie) {
    const std::vector<ViewObject> objects = {
        {1000, 1400, "station", "t", 1},
        {1200, 1200, "signal", "t", 2},
        {3000, 3000, "board", "l", 3},
    };
    const struct {
        double at;
        const char* label;  // nullptr: none
    } rows[] = {
        {1200, "signal"},   // inside the station, on the signal
        {1100, "station"},  // inside the station, 100 m from the signal
        {1450, "station"},  // 50 m past its end
        {2900, "board"},    // within 100 m
        {2000, nullptr},
    };
    for (const auto& row : rows) {
        const ViewObject* o = object_near(objects, row.at, 100);
        if (row.label == nullptr) {
            EXPECT_EQ(o, nullptr) << row.at;
        } else {
            ASSERT_NE(o, nullptr) << row.at;
            EXPECT_EQ(o->label, row.label) << row.at;
        }
    }
}

}  // namespace
}  // namespace scenario
