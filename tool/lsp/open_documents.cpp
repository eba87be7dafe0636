#include "tool/lsp/open_documents.h"

namespace scenario {

const EditorText& OpenDocument::text() const {
    if (!text_) {
        text_.emplace(utf8_, encoding_);
        utf8_ = std::string();
    }
    return *text_;
}

void OpenDocument::replace(std::int64_t version, std::string utf8) {
    version_ = version;
    utf8_ = std::move(utf8);
    text_.reset();
    check_.reset();
}

const SourceCheck& OpenDocument::check() const {
    return check_ ? *check_ : check(route_);
}

const SourceCheck& OpenDocument::check(std::optional<std::int32_t> route) const {
    if (name_.kind == SourceKind::linea) {
        if (!check_) check_ = check_linea(text().bytes(), true);
    } else if (!check_ || route != route_) {
        check_ = check_treno(text().bytes(), route);
        route_ = route;
    }
    return *check_;
}

void OpenDocuments::put(const std::string& uri, SourceName name, std::int64_t version,
                        std::string utf8, PositionEncoding encoding) {
    const auto it = by_uri_.find(uri);
    if (it != by_uri_.end() && it->second.name().path() == name.path()) {
        it->second.replace(version, std::move(utf8));
        return;
    }
    by_uri_.erase(uri);
    by_uri_.emplace(uri, OpenDocument(uri, std::move(name), version, std::move(utf8), encoding));
}

void OpenDocuments::close(const std::string& uri) {
    by_uri_.erase(uri);
}

const OpenDocument* OpenDocuments::find(const std::string& uri) const {
    const auto it = by_uri_.find(uri);
    return it == by_uri_.end() ? nullptr : &it->second;
}

const OpenDocument* OpenDocuments::at_path(const std::string& path) const {
    for (const auto& [uri, doc] : by_uri_) {
        if (doc.name().path() == path) return &doc;
    }
    return nullptr;
}

OpenDocuments::Line OpenDocuments::line_of(const SourceName& name) const {
    Line line;
    for (const auto& [uri, doc] : by_uri_) {
        if (doc.name().folder != name.folder || doc.name().nome_linea != name.nome_linea) continue;
        if (doc.name().kind == SourceKind::linea) {
            line.linea = &doc;
        } else {
            line.treni.push_back(&doc);
        }
    }
    return line;
}

}  // namespace scenario
