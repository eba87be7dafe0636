// Reads a program's version resource as Explorer's Properties do and checks
// it against the project's version, product name and the program's
// description:
//
//   version_check PROGRAM.exe VERSION PRODUCT DESCRIPTION
//
// VERSION is "major.minor.patch"; the numeric versions must be
// major,minor,patch,0 and the version strings VERSION itself. Prints one line
// per field; exit status 0 when every field holds what is asked, 1 when one
// differs or the program has no version resource, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/wide_text.h"

namespace {

using scenario::to_utf8;
using scenario::to_wide;

// Prints the field's line; true when it holds what is expected.
bool check(const char* field, const std::string& found, const std::string& expected) {
    const bool ok = found == expected;
    std::printf("%s %s: \"%s\"", ok ? "ok  " : "FAIL", field, found.c_str());
    if (!ok) std::printf(", expected \"%s\"", expected.c_str());
    std::printf("\n");
    return ok;
}

std::string numeric_version(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

std::optional<std::vector<unsigned char>> read_resource(const std::wstring& program) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(program.c_str(), 0, size, block.data())) return std::nullopt;
    return block;
}

// The string `name` of the resource's first language, or "(none)".
std::string string_value(std::vector<unsigned char>& block, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD code_page;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        return "(none)";
    }
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->code_page, name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length) ||
        length == 0) {
        return "(none)";
    }
    // The length counts the terminating zero.
    return to_utf8(std::wstring_view(text, length - 1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: version_check PROGRAM.exe VERSION PRODUCT DESCRIPTION\n");
        return 2;
    }
    const std::string version = argv[2];
    std::optional<std::vector<unsigned char>> block = read_resource(to_wide(argv[1]));
    if (!block) {
        std::printf("FAIL %s has no version resource\n", argv[1]);
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block->data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != VS_FFI_SIGNATURE) {
        std::printf("FAIL %s has no fixed version information\n", argv[1]);
        return 1;
    }
    const std::string numeric = version + ".0";
    const bool ok[] = {
        check("file version", numeric_version(fixed->dwFileVersionMS, fixed->dwFileVersionLS),
              numeric),
        check("product version",
              numeric_version(fixed->dwProductVersionMS, fixed->dwProductVersionLS), numeric),
        check("FileVersion", string_value(*block, L"FileVersion"), version),
        check("ProductVersion", string_value(*block, L"ProductVersion"), version),
        check("ProductName", string_value(*block, L"ProductName"), argv[3]),
        check("FileDescription", string_value(*block, L"FileDescription"), argv[4]),
    };
    for (bool field_ok : ok) {
        if (!field_ok) return 1;
    }
    return 0;
}
