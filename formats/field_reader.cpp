#include "formats/field_reader.h"

#include <limits>

namespace scenario {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Accumulating stops once the value passes this bound: anything larger is
// refused by every destination, and the bound keeps the sum from overflowing.
constexpr std::int64_t kBeyondEveryField = std::int64_t{1} << 40;

}  // namespace

DecimalText decimal_text(std::string_view token) {
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    if (token.empty()) return {};
    std::int64_t value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9') return {};
        if (value < kBeyondEveryField) value = value * 10 + (c - '0');
    }
    return {true, negative ? -value : value};
}

std::size_t line_end_length(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    if (text[at] == '\n') return 1;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return 2;
    return 0;
}

FieldReader::FieldReader(std::string_view text) : text_(text) {}

bool FieldReader::at_end() const {
    return pos_ >= text_.size() && !field_pending_;
}

bool FieldReader::begin_field() {
    if (at_end()) return false;
    field_pending_ = false;
    while (pos_ < text_.size() && is_blank(text_[pos_]))
        ++pos_;
    line_of_last_field_ = line_;
    return true;
}

void FieldReader::take_separator() {
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == ',') {
        ++pos_;
        // A comma always opens one more field, even at the very end.
        field_pending_ = true;
        return;
    }
    const std::size_t eol = line_end_length(text_, pos_);
    if (eol != 0) {
        pos_ += eol;
        ++line_;
    }
}

bool FieldReader::at_field_end(std::size_t at) const {
    return at >= text_.size() || text_[at] == ',' || line_end_length(text_, at) != 0;
}

bool FieldReader::read_text(std::string* out) {
    if (!begin_field()) return false;
    const std::size_t start = pos_;
    while (!at_field_end(pos_))
        ++pos_;
    last_field_ = {start, pos_};
    out->assign(text_.substr(start, pos_ - start));
    take_separator();
    return true;
}

bool FieldReader::read_number(std::int64_t min, std::int64_t max, std::int64_t* out) {
    if (!begin_field()) return false;
    const std::size_t start = pos_;
    while (!at_field_end(pos_) && !is_blank(text_[pos_]))
        ++pos_;
    last_field_ = {start, pos_};
    const std::int64_t value = decimal_text(text_.substr(start, pos_ - start)).value;
    // Blanks after a number, then one comma or the line end, are one
    // separator; anything else after the blanks starts the next field.
    std::size_t after = pos_;
    while (after < text_.size() && is_blank(text_[after]))
        ++after;
    if (at_field_end(after)) pos_ = after;
    take_separator();
    if (value < min || value > max) return false;
    *out = value;
    return true;
}

bool FieldReader::read_byte(std::uint8_t* out) {
    std::int64_t v = 0;
    if (!read_number(0, std::numeric_limits<std::uint8_t>::max(), &v)) return false;
    *out = static_cast<std::uint8_t>(v);
    return true;
}

bool FieldReader::read_integer(std::int16_t* out) {
    std::int64_t v = 0;
    if (!read_number(std::numeric_limits<std::int16_t>::min(),
                     std::numeric_limits<std::int16_t>::max(), &v))
        return false;
    *out = static_cast<std::int16_t>(v);
    return true;
}

bool FieldReader::read_long(std::int32_t* out) {
    std::int64_t v = 0;
    if (!read_number(std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max(), &v))
        return false;
    *out = static_cast<std::int32_t>(v);
    return true;
}

}  // namespace scenario
