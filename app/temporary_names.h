// The names of the temporary files that the disk writes beside each file
// before renaming them into place, and how a later run knows them again.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// `path` + "." + `process` + "." + `serial` + ".tmp": the process id keeps
// runs apart, the serial keeps apart the files of one run.
std::string temporary_name(std::string_view path, unsigned long process, unsigned serial);

// Names of temporary files tried before giving up: a name is only ever taken
// by a file that an earlier process with the same id left behind.
inline constexpr int kTemporaryNameTries = 100;

// A name beside `path` that no other run of the program uses at the same
// time: this process's id and the next serial of the run.
std::string next_temporary_name(std::string_view path, unsigned long process);

// Whether `entry`, a name listed in a folder, is a temporary file of the file
// called `owned` in that folder: `owned`, a dot, digits, a dot, digits and
// ".tmp", exactly. Nothing else is ever taken for one.
bool is_temporary_of(std::string_view entry, std::string_view owned);

// The folder part of `path` (a file's full name, as formed for the build) and
// its name within that folder, split at the last of `separators`. A name
// without a folder gives "."; a name in the root folder keeps the root.
std::string_view folder_of(std::string_view path, std::string_view separators);
std::string_view name_of(std::string_view path, std::string_view separators);

}  // namespace scenario
