#include "app/temporary_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(TemporaryNames, AreTheFileNameWithProcessAndSerial) {
    EXPECT_EQ(temporary_name("/d/Alvena_Sorbio_linea.dat", 11668, 5),
              "/d/Alvena_Sorbio_linea.dat.11668.5.tmp");
}

// A later run removes what matches; whatever else stands in the folder is
// the user's, however much it looks like ours.
TEST(TemporaryNames, OnlyOurOwnPatternIsTakenForOne) {
    const struct {
        const char* entry;
        bool ours;
    } rows[] = {
        {"Alvena_Sorbio_linea.dat.11668.5.tmp", true},
        {"Alvena_Sorbio_linea.dat.1.0.tmp", true},
        {"Alvena_Sorbio_linea.dat", false},                // the file itself
        {"Alvena_Sorbio_linea.dat.tmp", false},            // no numbers
        {"Alvena_Sorbio_linea.dat.11668.tmp", false},      // one number only
        {"Alvena_Sorbio_linea.dat.11668.5.6.tmp", false},  // three numbers
        {"Alvena_Sorbio_linea.dat.11668.5.tmp~", false},   // an editor's backup
        {"Alvena_Sorbio_linea.dat.11668.5.TMP", false},    // another spelling
        {"Alvena_Sorbio_linea.dat.-1.5.tmp", false},       // a sign is no digit
        {"Alvena_Sorbio_linea.dat.1a.5.tmp", false},
        {"Alvena_Sorbio_linea.dat..5.tmp", false},
        {"Alvena_Sorbio_linea.dat.11668..tmp", false},
        {"xAlvena_Sorbio_linea.dat.11668.5.tmp", false},  // another file's
        {"Alvena_Sorbio_linea.dat.bak.1.2.tmp", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(is_temporary_of(row.entry, "Alvena_Sorbio_linea.dat"), row.ours) << row.entry;
    }
    EXPECT_FALSE(is_temporary_of(".1.2.tmp", ""));
}

TEST(TemporaryNames, FolderAndNameOfAPath) {
    const struct {
        const char* path;
        const char* separators;
        const char* folder;
        const char* name;
    } rows[] = {
        {"/home/u/bin/A.dat", "/", "/home/u/bin", "A.dat"},
        {"//A.dat", "/", "/", "A.dat"},  // the root, with the separator added after it
        {"/A.dat", "/", "/", "A.dat"},
        {"A.dat", "/", ".", "A.dat"},
        {"C:\\Giochi\\A.dat", "\\/", "C:\\Giochi", "A.dat"},
        {"C:\\\\A.dat", "\\/", "C:\\", "A.dat"},  // a drive's root folder
        {"\\\\server\\share\\A.dat", "\\/", "\\\\server\\share", "A.dat"},
        {"/dir\\with\\backslashes/A.dat", "/", "/dir\\with\\backslashes", "A.dat"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(folder_of(row.path, row.separators), row.folder) << row.path;
        EXPECT_EQ(name_of(row.path, row.separators), row.name) << row.path;
    }
}

}  // namespace
}  // namespace scenario
