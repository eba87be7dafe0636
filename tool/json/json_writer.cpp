#include "tool/json/json_writer.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "tool/text/code_page.h"

namespace scenario {

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (first_.empty()) return;
    if (!first_.back()) out_ << ',';
    first_.back() = false;
}

void JsonWriter::begin_object() {
    before_value();
    out_ << '{';
    first_.push_back(true);
}

void JsonWriter::end_object() {
    first_.pop_back();
    out_ << '}';
}

void JsonWriter::begin_array() {
    before_value();
    out_ << '[';
    first_.push_back(true);
}

void JsonWriter::end_array() {
    first_.pop_back();
    out_ << ']';
}

void JsonWriter::key(std::string_view name) {
    before_value();
    put_quoted(valid_utf8(name));
    out_ << ':';
    after_key_ = true;
}

void JsonWriter::string(std::string_view utf8) {
    before_value();
    put_quoted(valid_utf8(utf8));
}

void JsonWriter::ansi_string(std::string_view ansi) {
    before_value();
    put_quoted(ansi_to_utf8(ansi));
}

void JsonWriter::number(std::int64_t v) {
    before_value();
    out_ << v;
}

void JsonWriter::number(double v) {
    before_value();
    if (!std::isfinite(v)) {
        out_ << "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out_.write(buffer, result.ptr - buffer);
}

void JsonWriter::boolean(bool v) {
    before_value();
    out_ << (v ? "true" : "false");
}

void JsonWriter::null() {
    before_value();
    out_ << "null";
}

// REQUIRES: `utf8` is well-formed UTF-8. Control characters are escaped;
// everything else above them goes out as it is.
void JsonWriter::put_quoted(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_ << '"';
    for (char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out_ << "\\\"";
                break;
            case '\\':
                out_ << "\\\\";
                break;
            case '\n':
                out_ << "\\n";
                break;
            case '\r':
                out_ << "\\r";
                break;
            case '\t':
                out_ << "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    out_ << "\\u00" << kHex[b >> 4] << kHex[b & 0xF];
                } else {
                    out_ << ch;
                }
        }
    }
    out_ << '"';
}

}  // namespace scenario
