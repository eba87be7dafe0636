// The source files an editor holds open: each one's text and version, and
// the checks of its text, made once per text when first needed (by a
// hover, an outline or the check of its line).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compiler/source_check.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/source_uri.h"

namespace scenario {

class OpenDocument {
  public:
    // `utf8` as the editor sent it; it becomes an EditorText when first
    // needed, so that a text replaced before that costs nothing more.
    OpenDocument(std::string uri, SourceName name, std::int64_t version, std::string utf8,
                 PositionEncoding encoding)
        : uri_(std::move(uri)),
          name_(std::move(name)),
          version_(version),
          utf8_(std::move(utf8)),
          encoding_(encoding) {}

    const std::string& uri() const { return uri_; }
    const SourceName& name() const { return name_; }
    std::int64_t version() const { return version_; }
    const EditorText& text() const;

    // A new text; the checks of the old one are dropped.
    void replace(std::int64_t version, std::string utf8);

    // The compiler's walk through the text. A line file's reads its curves,
    // as the server always builds with the geometry; a train file's judges
    // its positions against the route whose highest cell is `route`, and
    // is made again only when the route differs from the last one.
    const SourceCheck& check() const;
    const SourceCheck& check(std::optional<std::int32_t> route) const;

  private:
    std::string uri_;
    SourceName name_;
    std::int64_t version_;
    mutable std::string utf8_;  // until `text_` is made from it
    PositionEncoding encoding_;
    mutable std::optional<EditorText> text_;
    mutable std::optional<SourceCheck> check_;
    mutable std::optional<std::int32_t> route_;  // a train file's, last made against
};

class OpenDocuments {
  public:
    // Opens a document or gives it a new text. REQUIRES: `name` is a source
    // file.
    void put(const std::string& uri, SourceName name, std::int64_t version, std::string utf8,
             PositionEncoding encoding);
    void close(const std::string& uri);

    const OpenDocument* find(const std::string& uri) const;
    // The document of the file at `path`, if the editor holds it.
    const OpenDocument* at_path(const std::string& path) const;

    // The open documents of the line of `name`, in its folder.
    struct Line {
        const OpenDocument* linea = nullptr;
        std::vector<const OpenDocument*> treni;  // in the order of their URIs
    };
    Line line_of(const SourceName& name) const;

  private:
    std::map<std::string, OpenDocument> by_uri_;
};

}  // namespace scenario
