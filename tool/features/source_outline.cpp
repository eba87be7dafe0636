#include "tool/features/source_outline.h"

#include <algorithm>

#include "formats/source_layout.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view text_of(std::string_view text, FieldSpan span) {
    return text.substr(span.begin, span.end - span.begin);
}

bool holds(FieldSpan span, std::size_t offset) {
    return span.begin <= offset && offset < span.end;
}

// The spans of a record: its keyword, then its value fields.
template <typename Visit>
bool visit_fields(const CheckedRecord& r, Visit visit) {
    if (visit(FieldAt{&r, std::nullopt, {r.keyword, r.keyword_end}})) return true;
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
        if (visit(FieldAt{&r, i, r.fields[i]})) return true;
    }
    return false;
}

std::optional<FieldAt> find_field(const SourceCheck& check, auto matches) {
    std::optional<FieldAt> found;
    for (const CheckedRecord& r : check.records) {
        if (r.keyword > matches.limit) break;
        const bool done = visit_fields(r, [&](const FieldAt& f) {
            if (!matches(f.span)) return false;
            found = f;
            return true;
        });
        if (done) break;
    }
    return found;
}

struct Section {
    FieldSpan title;
    std::size_t line_begin;
};

// Lines that begin, blanks aside, with a bracketed title that is no comment.
std::vector<Section> sections(std::string_view text) {
    std::vector<Section> out;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        std::size_t first = begin;
        while (first < end && is_blank(text[first]))
            ++first;
        std::size_t last = std::min(text.find(',', first), end);
        if (last > first && text[last - 1] == '\r' && last == end) --last;
        const std::string_view field = trimmed(text.substr(first, last - first));
        if (first < end && text[first] == '[' && is_section_title(field) && !is_comment(field))
            out.push_back({{first, first + field.size()}, begin});
        begin = end + 1;
    }
    return out;
}

OutlineEntry record_entry(std::string_view text, const CheckedRecord& r) {
    OutlineEntry e;
    e.kind = r.kind;
    e.range = {r.keyword, std::max(r.end, r.keyword_end)};
    e.selection = {r.keyword, r.keyword_end};
    e.name = ansi_to_utf8(r.subject);
    e.detail = ansi_to_utf8(trimmed(text_of(text, e.selection)));
    const bool named =
        r.kind == RecordKindId::stazione || r.kind == RecordKindId::cartello_indicatore;
    if (named && !r.fields.empty()) {
        const std::string name = ansi_to_utf8(trimmed(text_of(text, r.fields.back())));
        if (r.kind == RecordKindId::stazione && !name.empty()) {
            e.detail = e.name;
            e.name = name;
        } else {
            e.detail = name;
        }
    }
    return e;
}

}  // namespace

std::optional<FieldAt> field_at(const SourceCheck& check, std::size_t offset) {
    struct Inside {
        std::size_t offset;
        std::size_t limit;
        bool operator()(FieldSpan s) const {
            return holds(s, offset) || (s.begin == s.end && s.begin == offset);
        }
    };
    struct JustAfter {
        std::size_t offset;
        std::size_t limit;
        bool operator()(FieldSpan s) const { return s.end == offset && s.begin < s.end; }
    };
    if (auto f = find_field(check, Inside{offset, offset})) return f;
    return find_field(check, JustAfter{offset, offset});
}

std::vector<FieldLabel> field_labels(const SourceCheck& check, std::size_t begin, std::size_t end) {
    std::vector<FieldLabel> labels;
    for (const CheckedRecord& r : check.records) {
        if (r.end < begin) continue;
        if (r.keyword > end) break;
        const RecordKind& kind = record_kind(r.kind);
        for (std::size_t i = 0; i < r.fields.size() && i < kind.fields.size(); ++i) {
            const std::size_t at = r.fields[i].begin;
            if (at >= begin && at <= end) labels.push_back({at, kind.fields[i].name});
        }
    }
    return labels;
}

std::vector<OutlineEntry> outline(std::string_view text, const SourceCheck& check) {
    const std::vector<Section> titles = sections(text);
    std::vector<OutlineEntry> out;
    auto record = check.records.begin();
    const auto take_until = [&](std::size_t limit, std::vector<OutlineEntry>& into) {
        for (; record != check.records.end() && record->keyword < limit; ++record)
            into.push_back(record_entry(text, *record));
    };
    take_until(titles.empty() ? text.size() + 1 : titles.front().line_begin, out);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const std::size_t next = i + 1 < titles.size() ? titles[i + 1].line_begin : text.size() + 1;
        OutlineEntry e;
        e.name = ansi_to_utf8(text_of(text, titles[i].title));
        e.selection = titles[i].title;
        take_until(next, e.children);
        std::size_t end = std::min(next, text.size());
        // A section ends where the next begins, or past its last record's
        // fields, should they spill beyond it.
        while (end > titles[i].title.end && (text[end - 1] == '\n' || text[end - 1] == '\r'))
            --end;
        for (const OutlineEntry& child : e.children)
            end = std::max(end, child.range.end);
        e.range = {titles[i].line_begin, std::max(end, titles[i].title.end)};
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace scenario
