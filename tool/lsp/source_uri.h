// Which source file an editor's document is, from its URI: the file it
// names on the disk and, from that file's name, the line identifier and
// the train number that `check --line ID --train NUMBER` would take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "compiler/compile_observer.h"

namespace scenario {

struct SourceName {
    SourceKind kind = SourceKind::none;  // none: not a source file
    std::string folder;                  // folders joined by "/", no "/" at the end
    std::string file;                    // the file's name
    std::string nome_linea;
    std::string numero_treno;  // empty for a line file

    std::string path() const { return folder + "/" + file; }
};

// The file a "file:" URI names, percent-escapes decoded ("file:///C:/x"
// gives "C:/x", "file://host/x" the shared folder "//host/x"); nothing
// for any other URI.
std::optional<std::string> file_uri_path(std::string_view uri);

// `<line>_linea.txt` is the line file of `<line>`; `<line>_<train>-.txt`
// the train file of `<train>`, the train number being what follows the
// last "_". Any other name is no source file.
SourceName source_name(std::string_view path);

// The URI of `file` in the folder of the document at `uri`.
std::string sibling_uri(std::string_view uri, std::string_view file);

}  // namespace scenario
