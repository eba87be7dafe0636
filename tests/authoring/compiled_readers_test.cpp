#include "authoring/compiled_readers.h"

#include <gtest/gtest.h>

#include <string>

#include "output/table_writer.h"
#include "support/embedded_build.h"

namespace scenario {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(CompiledReaders, EmbeddedFilesReadBackAsTheModelTheyWereWrittenFrom) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    std::string error;

    std::array<voce, kVoci> voci;
    ASSERT_TRUE(read_table(b.table(), &voci, &error)) << error;
    for (int i = 0; i < kVoci; ++i) {
        const voce& got = voci[static_cast<std::size_t>(i)];
        const voce& want = *b.s.entry(i);
        SCOPED_TRACE("voci(" + std::to_string(i) + ")");
        EXPECT_EQ(got.tipo, want.tipo);
        EXPECT_EQ(got.valore1, want.valore1);
        EXPECT_EQ(got.valore2, want.valore2);
        EXPECT_EQ(got.valore3, want.valore3);
        EXPECT_EQ(got.segno, want.segno);
        EXPECT_EQ(got.testo, want.testo);
        EXPECT_EQ(got.numero1, want.numero1);
        EXPECT_EQ(got.numero2, want.numero2);
        EXPECT_EQ(got.numero3, want.numero3);
        EXPECT_EQ(got.numero4, want.numero4);
        EXPECT_EQ(got.numero5, want.numero5);
        EXPECT_EQ(got.byte1, want.byte1);
        EXPECT_EQ(got.byte2, want.byte2);
        EXPECT_EQ(got.byte3, want.byte3);
        EXPECT_EQ(got.byte4, want.byte4);
        EXPECT_EQ(got.valore4, want.valore4);
    }

    std::vector<cella> percorso;
    ASSERT_TRUE(read_route(b.route(), &percorso, &error)) << error;
    ASSERT_EQ(percorso.size(), 2161u);
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        const cella& got = percorso[i];
        const cella& want = b.s.percorso[i];
        SCOPED_TRACE("cella(" + std::to_string(i) + ")");
        EXPECT_EQ(got.tipo, want.tipo);
        EXPECT_EQ(got.dato1, want.dato1);
        EXPECT_EQ(got.dato2, want.dato2);
        EXPECT_EQ(got.dato3, want.dato3);
        EXPECT_EQ(got.dato4, want.dato4);
        EXPECT_EQ(got.dato5, want.dato5);
        EXPECT_EQ(got.dato6, want.dato6);
        EXPECT_EQ(got.galleria, want.galleria);
        EXPECT_EQ(got.velocita, want.velocita);
        EXPECT_EQ(got.pendenza, want.pendenza);
        EXPECT_EQ(got.aderenza, want.aderenza);
    }

    Tracciato t;
    ASSERT_TRUE(read_geometry(b.geometry(), &t, &error)) << error;
    ASSERT_EQ(t.rows(), 108001);
    // Compared whole: a single differing row would otherwise print 108001 lines.
    EXPECT_TRUE(t.tag == b.s.tracciato.tag);
    EXPECT_TRUE(t.x == b.s.tracciato.x);
    EXPECT_TRUE(t.y == b.s.tracciato.y);
}

TEST(CompiledReaders, RouteCellsReadLowByteFirstWithSignedWords) {
    const std::string route =
        std::string(15, '\0') +
        // cell 1: the format mark 5121 and the check code -2
        bytes({0, 0x01, 0x14, 0xFE, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
        // cell 2: a name board with every field set
        bytes({14, 0x34, 0x12, 0x00, 0x80, 0x01, 0x00, 0xFF, 0xFF, 200, 81, 3, 27, 94, 80});
    std::vector<cella> percorso;
    std::string error;
    ASSERT_TRUE(read_route(route, &percorso, &error)) << error;
    ASSERT_EQ(percorso.size(), 3u);
    EXPECT_EQ(percorso[1].dato1, 5121);
    EXPECT_EQ(percorso[1].dato2, -2);
    const cella& c = percorso[2];
    EXPECT_EQ(c.tipo, 14);
    EXPECT_EQ(c.dato1, 0x1234);
    EXPECT_EQ(c.dato2, -32768);
    EXPECT_EQ(c.dato3, 1);
    EXPECT_EQ(c.dato4, -1);
    EXPECT_EQ(c.dato5, 200);
    EXPECT_EQ(c.dato6, 81);
    EXPECT_EQ(c.galleria, 3);
    EXPECT_EQ(c.velocita, 27);
    EXPECT_EQ(c.pendenza, 94);
    EXPECT_EQ(c.aderenza, 80);
}

TEST(CompiledReaders, TableRecordsCarryTheirTextBetweenTheFixedFields) {
    std::string table;
    for (int i = 0; i < kVoci; ++i) {
        if (i != 85) {
            table += std::string(34, '\0');
            continue;
        }
        table += bytes({7, 0x18, 0xFC, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0, 200, 2, 0});
        table += "A\xE8";  // two Windows-1252 bytes, kept as they are
        table +=
            bytes({0x62, 0x02, 0xFF, 0xFF, 3, 0, 4, 0, 5, 0, 11, 12, 13, 14, 0xBF, 0x7F, 0, 0});
    }
    std::array<voce, kVoci> voci;
    std::string error;
    ASSERT_TRUE(read_table(table, &voci, &error)) << error;
    const voce& v = voci[85];
    EXPECT_EQ(v.tipo, 7);
    EXPECT_EQ(v.valore1, -1000);
    EXPECT_EQ(v.valore2, 1);
    EXPECT_EQ(v.valore3, 2);
    EXPECT_EQ(v.segno, 200);
    EXPECT_EQ(v.testo, "A\xE8");
    EXPECT_EQ(v.numero1, 610);
    EXPECT_EQ(v.numero2, -1);
    EXPECT_EQ(v.numero5, 5);
    EXPECT_EQ(v.byte1, 11);
    EXPECT_EQ(v.byte4, 14);
    EXPECT_EQ(v.valore4, 32703);
    EXPECT_EQ(voci[86].testo, "");
}

TEST(CompiledReaders, GeometryRowsKeepTheirTagsAndValues) {
    const std::string geometry =
        // column x: row 0 integer 0, row 1 double 0.5, row 2 empty
        bytes({2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F, 0, 0}) +
        // column y: row 0 integer -3, row 1 double -2, row 2 empty
        bytes({2, 0, 0xFD, 0xFF, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0});
    Tracciato t;
    std::string error;
    ASSERT_TRUE(read_geometry(geometry, &t, &error)) << error;
    ASSERT_EQ(t.rows(), 3);
    EXPECT_EQ(t.tag, (Colonna<Tag>{Tag::intero, Tag::reale, Tag::vuoto}));
    EXPECT_EQ(t.x, (Colonna<double>{0, 0.5, 0}));
    EXPECT_EQ(t.y, (Colonna<double>{-3, -2, 0}));
}

enum class Kind { table, route, geometry };

bool read_any(Kind kind, const std::string& input, std::string* error) {
    std::array<voce, kVoci> voci;
    std::vector<cella> percorso;
    Tracciato t;
    switch (kind) {
        case Kind::table:
            return read_table(input, &voci, error);
        case Kind::route:
            return read_route(input, &percorso, error);
        case Kind::geometry:
            break;
    }
    return read_geometry(input, &t, error);
}

TEST(CompiledReaders, RefuseFilesWhoseSizeOrStructureDoesNotFitTheirKind) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    const std::string& table = b.table();
    const std::string& route = b.route();
    const std::string& geometry = b.geometry();
    Scenario blank;
    const std::string unmarked_table(as_text(table_image(blank)));
    struct Row {
        Kind kind;
        std::string input;
        std::string message;
    };
    const Row rows[] = {
        // The last record (86, text "4271") loses the last byte of its valore4.
        {Kind::table, table.substr(0, table.size() - 1),
         "table file: record 86 at byte 4368 is cut short: its text of 4 bytes and the 18 bytes "
         "after it need more than the 21 bytes left"},
        {Kind::table, "",
         "table file: record 0 at byte 0 is cut short: 0 bytes left, a record "
         "has at least 34"},
        {Kind::table, table + '\0', "table file: 1 byte after the last of the 87 records"},
        // 87 empty records: the right size, but no format mark.
        {Kind::table, unmarked_table,
         "table file: record 85 holds 0 where the format mark 610 belongs"},
        {Kind::route, route.substr(0, route.size() - 1),
         "route file: 32414 bytes is not a whole number of 15-byte cells"},
        {Kind::route, route + '\0',
         "route file: 32416 bytes is not a whole number of 15-byte cells"},
        {Kind::route, "", "route file: 0 cells; a route has at least 3"},
        {Kind::route, route.substr(0, 30), "route file: 2 cells; a route has at least 3"},
        // One cell more than a line of 1000000 m gives.
        {Kind::route, route.substr(0, 30) + std::string(20140 * 15, '\0'),
         "route file: 20142 cells; the longest route has 20141"},
        {Kind::route, std::string(45, '\0'),
         "route file: cell 1 holds 0 where the format mark 5121 belongs"},
        // The last item, an empty row's tag, loses its second byte.
        {Kind::geometry, geometry.substr(0, geometry.size() - 1),
         "geometry file: item at byte 2159962 is cut short before its tag ends"},
        {Kind::geometry, geometry + '\0',
         "geometry file: item at byte 2159964 is cut short before its tag ends"},
        {Kind::geometry, "", "geometry file: empty"},
        {Kind::geometry, bytes({2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0}),
         "geometry file: item at byte 18 (tag 5) is cut short before its value ends"},
        {Kind::geometry, bytes({7, 0}),
         "geometry file: item at byte 0 has the unknown tag 7 (known: 0 empty, 2 integer, 5 "
         "double)"},
        {Kind::geometry, bytes({2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0}),
         "geometry file: 3 items; the two columns need one item per row each"},
        {Kind::geometry, bytes({2, 0, 0, 0, 0, 0}),
         "geometry file: row 0 has tag 2 for x but 0 for y"},
        // Empty items for one row more than a line of 1000000 m has.
        {Kind::geometry, std::string(2 * 1007002 * 2, '\0'),
         "geometry file: more than 1007001 rows (the longest line has no more)"},
        {Kind::geometry, std::string(2 * 1007001 * 10 + 1, '\0'),
         "geometry file: 20140021 bytes is more than the longest line gives"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(read_any(row.kind, row.input, &error)) << row.message;
        EXPECT_EQ(error, row.message);
    }
}

}  // namespace
}  // namespace scenario
