// The folder part of the running program's path on Windows.
#pragma once

#include <string_view>

namespace scenario {

// The folder of `module_path` (a full path as GetModuleFileNameW gives it),
// without the separator before the file name. A drive's root folder keeps
// its separator ("C:\"): the file names are formed by adding one all the
// same. A path without any separator gives an empty view.
inline std::wstring_view module_folder(std::wstring_view module_path) {
    const std::size_t slash = module_path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    const bool drive_root = slash == 2 && module_path[1] == L':';
    return module_path.substr(0, drive_root ? slash + 1 : slash);
}

}  // namespace scenario
