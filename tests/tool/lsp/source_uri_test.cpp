#include "tool/lsp/source_uri.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(SourceUri, NamesTheFileAndTheSourceItIs) {
    struct Row {
        std::string_view uri;
        std::string_view path;  // empty: no file
        SourceKind kind;
        std::string_view nome_linea;
        std::string_view numero_treno;
    };
    const Row rows[] = {
        {"file:///home/a/Alvena_Sorbio_linea.txt", "/home/a/Alvena_Sorbio_linea.txt",
         SourceKind::linea, "Alvena_Sorbio", ""},
        {"file:///home/a/Alvena_Sorbio_4271-.txt", "/home/a/Alvena_Sorbio_4271-.txt",
         SourceKind::treno, "Alvena_Sorbio", "4271"},
        // As editors on Windows write them: an escaped colon, a drive letter.
        {"file:///c%3A/Users/Ann%20B/Linea_X_7-.txt", "c:/Users/Ann B/Linea_X_7-.txt",
         SourceKind::treno, "Linea_X", "7"},
        {"FILE:///C:/s/L_linea.txt", "C:/s/L_linea.txt", SourceKind::linea, "L", ""},
        {"file://server/share/L_linea.txt", "//server/share/L_linea.txt", SourceKind::linea, "L",
         ""},
        {"file://localhost/s/L_linea.txt?x#y", "/s/L_linea.txt", SourceKind::linea, "L", ""},
        {"file:///s/caff%C3%A8_linea.txt", "/s/caff\xC3\xA8_linea.txt", SourceKind::linea,
         "caff\xC3\xA8", ""},
        {"file:///s/100%_linea.txt", "/s/100%_linea.txt", SourceKind::linea, "100%", ""},
        // Names of no source file.
        {"file:///s/_linea.txt", "/s/_linea.txt", SourceKind::none, "", ""},
        {"file:///s/L_4271_note.txt", "/s/L_4271_note.txt", SourceKind::none, "", ""},
        {"file:///s/L-.txt", "/s/L-.txt", SourceKind::none, "", ""},
        {"file:///s/L_-.txt", "/s/L_-.txt", SourceKind::none, "", ""},
        {"file:///s/L_linea.TXT", "/s/L_linea.TXT", SourceKind::none, "", ""},
        {"file:///s/a%00_linea.txt", "", SourceKind::none, "", ""},
        {"untitled:L_linea.txt", "", SourceKind::none, "", ""},
    };
    for (const Row& row : rows) {
        const std::optional<std::string> path = file_uri_path(row.uri);
        EXPECT_EQ(path.value_or(""), row.path) << row.uri;
        const SourceName name = source_name(path.value_or(""));
        EXPECT_EQ(name.kind, row.kind) << row.uri;
        EXPECT_EQ(name.nome_linea, row.nome_linea) << row.uri;
        EXPECT_EQ(name.numero_treno, row.numero_treno) << row.uri;
        if (row.kind != SourceKind::none) {
            EXPECT_EQ(name.path(), row.path) << row.uri;
        }
    }
    EXPECT_EQ(sibling_uri("file:///c%3A/a%20b/L_linea.txt", "L_4 2-.txt"),
              "file:///c%3A/a%20b/L_4%202-.txt");
}

}  // namespace
}  // namespace scenario
