#include "tool/features/document_diagnostics.h"

#include "tool/diagnostics/editor_diagnostics.h"
#include "tool/lsp/source_uri.h"

namespace scenario {

namespace {

std::string_view file_name(std::string_view path) {
    return path.substr(path.find_last_of('/') + 1);
}

}  // namespace

std::vector<lsp::Diagnostic> document_diagnostics(std::span<const Diagnostic> diagnostics,
                                                  const CheckedDocument& doc,
                                                  const OtherFile& other, PositionEncoding encoding,
                                                  const AsideFiles& aside) {
    const SourceKind other_kind =
        doc.kind == SourceKind::linea ? SourceKind::treno : SourceKind::linea;
    const LocatedText mine(doc.text);
    const LocatedText theirs(other.text, encoding);
    const CarriedFile carried{sibling_uri(doc.uri, file_name(other.path)), file_name(other.path),
                              theirs};
    std::vector<lsp::Diagnostic> out;
    for (const Diagnostic& d : diagnostics) {
        if (d.file == SourceKind::stock || d.file == SourceKind::card) {
            if (doc.kind != SourceKind::treno) continue;
            Diagnostic named = d;
            std::string where(
                file_name(d.file == SourceKind::stock ? aside.stock_path : aside.card_path));
            if (d.range.line > 0) where += ":" + std::to_string(d.range.line);
            named.message = where + ": " + d.message;
            out.push_back(own_diagnostic(named, SourceRange{}, mine));
        } else if (d.file != other_kind) {
            out.push_back(own_diagnostic(d, d.file == doc.kind ? d.range : SourceRange{}, mine));
        } else if (other.carried && d.severity == Severity::error) {
            out.push_back(carried_diagnostic(d, carried));
        }
    }
    return out;
}

}  // namespace scenario
