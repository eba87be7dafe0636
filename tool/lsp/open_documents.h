// The source files an editor holds open, and the diagnostics of `check`
// for them. A train file is checked against the line file of its folder,
// and a line file with a train file of its line; each is read from the
// editor when it is open there, else from the disk, and every document of
// the two that is open receives its own diagnostics. Errors in the other
// file, when that one is not open, are shown at the top of the open one.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compiler/source_check.h"
#include "output/file_system.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/source_uri.h"

namespace scenario {

class JsonWriter;

struct OpenDocument {
    std::string uri;
    SourceName name;
    std::int64_t version = 0;
    EditorText text;
    SourceCheck check;  // the compiler's walk through `text`, for hover and outline
};

// A place and a stretch of `text` as the protocol writes them.
void put_position(JsonWriter& json, EditorPosition p);
void put_range(JsonWriter& json, const EditorText& text, std::size_t begin, std::size_t end);

class OpenDocuments {
  public:
    using ListFolder = std::function<std::vector<std::string>(const std::string&)>;
    // Sends the diagnostics of the document at `uri` (of its `version`, if
    // known): `items` writes them, each as one element of an array.
    using Publish = std::function<void(const std::string& uri, std::optional<std::int64_t> version,
                                       const std::function<void(JsonWriter&)>& items)>;

    OpenDocuments(FileSystem& disk, ListFolder list_folder, Publish publish,
                  PositionEncoding encoding)
        : disk_(disk),
          list_folder_(std::move(list_folder)),
          publish_(std::move(publish)),
          encoding_(encoding) {}

    // Opens or replaces a document. REQUIRES: `name` is a source file.
    void put(const std::string& uri, SourceName name, std::int64_t version, EditorText text);
    // Forgets a document and clears its diagnostics.
    void close(const std::string& uri);
    // Checks every open document of the line of `name`, in its folder, and
    // publishes their diagnostics.
    void recheck(const SourceName& name);

    const OpenDocument* find(const std::string& uri) const;

  private:
    class EditorFolder;
    struct PairBuild;

    // Builds the line file of `line` with the train file `train` (none: no
    // train file is part of the check) and publishes the diagnostics of
    // the documents named.
    void check_pair(const SourceName& line, const std::optional<SourceName>& train,
                    bool publish_linea, bool publish_treno);
    void publish(const OpenDocument& doc, const PairBuild& pair) const;
    std::optional<SourceName> train_on_disk(const SourceName& line) const;
    const OpenDocument* at_path(const std::string& path) const;

    FileSystem& disk_;
    ListFolder list_folder_;
    Publish publish_;
    PositionEncoding encoding_;
    std::map<std::string, OpenDocument> by_uri_;
};

}  // namespace scenario
