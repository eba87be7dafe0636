#include "tool/json/json_reader.h"

#include <charconv>
#include <cmath>

#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
  public:
    Parser(std::string_view text, const JsonLimits& limits) : text_(text), limits_(limits) {}

    std::optional<JsonValue> document(std::string* error);

  private:
    bool value(JsonValue* out, int depth);
    bool object(JsonValue* out, int depth);
    bool array(JsonValue* out, int depth);
    bool string(std::string* out);
    bool escape(std::string* out);
    bool hex4(char32_t* out);
    bool number(JsonValue* out);
    bool word(std::string_view w);

    void skip_blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool next_is(char c) const { return at_ < text_.size() && text_[at_] == c; }
    bool fail(std::string_view why) {
        if (why_.empty()) why_ = std::string(why);
        return false;
    }

    std::string_view text_;
    const JsonLimits& limits_;
    std::size_t at_ = 0;
    std::size_t values_ = 0;
    std::string why_;
};

std::optional<JsonValue> Parser::document(std::string* error) {
    JsonValue v;
    bool ok = false;
    if (text_.size() > limits_.max_bytes) {
        fail("the text is longer than " + std::to_string(limits_.max_bytes) + " bytes");
    } else if (value(&v, 0)) {
        skip_blanks();
        ok = at_ == text_.size() || fail("more text after the value");
    }
    if (ok) return v;
    *error = why_ + " at byte " + std::to_string(at_);
    return std::nullopt;
}

bool Parser::value(JsonValue* out, int depth) {
    if (++values_ > limits_.max_values)
        return fail("more than " + std::to_string(limits_.max_values) + " values");
    skip_blanks();
    if (at_ >= text_.size()) return fail("a value is missing");
    switch (text_[at_]) {
        case '{':
            return object(out, depth + 1);
        case '[':
            return array(out, depth + 1);
        case '"': {
            std::string s;
            if (!string(&s)) return false;
            *out = JsonValue(std::move(s));
            return true;
        }
        case 't':
            *out = JsonValue(true);
            return word("true");
        case 'f':
            *out = JsonValue(false);
            return word("false");
        case 'n':
            *out = JsonValue();
            return word("null");
        default:
            return number(out);
    }
}

bool Parser::word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return fail("not a JSON value");
    at_ += w.size();
    return true;
}

bool Parser::object(JsonValue* out, int depth) {
    if (depth > limits_.max_depth)
        return fail("nested deeper than " + std::to_string(limits_.max_depth));
    ++at_;
    JsonValue::Object members;
    skip_blanks();
    if (next_is('}')) {
        ++at_;
        *out = JsonValue(std::move(members));
        return true;
    }
    for (;;) {
        skip_blanks();
        JsonMember m;
        if (!next_is('"')) return fail("a member name is missing");
        if (!string(&m.key)) return false;
        skip_blanks();
        if (!next_is(':')) return fail("':' is missing after a member name");
        ++at_;
        if (!value(&m.value, depth)) return false;
        members.push_back(std::move(m));
        skip_blanks();
        if (next_is('}')) break;
        if (!next_is(',')) return fail("',' or '}' is missing in an object");
        ++at_;
    }
    ++at_;
    *out = JsonValue(std::move(members));
    return true;
}

bool Parser::array(JsonValue* out, int depth) {
    if (depth > limits_.max_depth)
        return fail("nested deeper than " + std::to_string(limits_.max_depth));
    ++at_;
    JsonValue::Array items;
    skip_blanks();
    if (next_is(']')) {
        ++at_;
        *out = JsonValue(std::move(items));
        return true;
    }
    for (;;) {
        items.emplace_back();
        if (!value(&items.back(), depth)) return false;
        skip_blanks();
        if (next_is(']')) break;
        if (!next_is(',')) return fail("',' or ']' is missing in an array");
        ++at_;
    }
    ++at_;
    *out = JsonValue(std::move(items));
    return true;
}

// Text is UTF-8 and passes through as it is; control characters must be
// escaped.
bool Parser::string(std::string* out) {
    ++at_;
    for (;;) {
        const std::size_t plain = at_;
        while (at_ < text_.size() && text_[at_] != '"' && text_[at_] != '\\' &&
               static_cast<unsigned char>(text_[at_]) >= 0x20 &&
               static_cast<unsigned char>(text_[at_]) < 0x80)
            ++at_;
        out->append(text_.substr(plain, at_ - plain));
        if (at_ >= text_.size()) return fail("a string is not closed");
        const auto b = static_cast<unsigned char>(text_[at_]);
        if (b == '"') {
            ++at_;
            return true;
        }
        if (b == '\\') {
            if (!escape(out)) return false;
            continue;
        }
        if (b < 0x20) return fail("a control character in a string");
        char32_t c = 0;
        const std::size_t n = utf8_sequence(text_, at_, &c);
        if (n == 0) return fail("a string is not UTF-8");
        out->append(text_.substr(at_, n));
        at_ += n;
    }
}

bool Parser::escape(std::string* out) {
    ++at_;
    if (at_ >= text_.size()) return fail("a string is not closed");
    const char e = text_[at_++];
    switch (e) {
        case '"':
        case '\\':
        case '/':
            *out += e;
            return true;
        case 'b':
            *out += '\b';
            return true;
        case 'f':
            *out += '\f';
            return true;
        case 'n':
            *out += '\n';
            return true;
        case 'r':
            *out += '\r';
            return true;
        case 't':
            *out += '\t';
            return true;
        case 'u':
            break;
        default:
            --at_;
            return fail("an unknown escape in a string");
    }
    char32_t c = 0;
    if (!hex4(&c)) return false;
    if (c >= 0xD800 && c <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
        const std::size_t high_end = at_;
        at_ += 2;
        char32_t low = 0;
        if (!hex4(&low)) return false;
        if (low >= 0xDC00 && low <= 0xDFFF) {
            append_utf8(*out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
            return true;
        }
        at_ = high_end;  // the next escape stands on its own
    }
    append_utf8(*out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
    return true;
}

bool Parser::hex4(char32_t* out) {
    if (at_ + 4 > text_.size()) return fail("a \\u escape is cut short");
    char32_t c = 0;
    for (int i = 0; i < 4; ++i) {
        const int h = hex_value(text_[at_ + static_cast<std::size_t>(i)]);
        if (h < 0) return fail("a \\u escape needs four hexadecimal digits");
        c = c * 16 + static_cast<char32_t>(h);
    }
    at_ += 4;
    *out = c;
    return true;
}

// -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
bool Parser::number(JsonValue* out) {
    const std::size_t start = at_;
    const auto digits = [&] {
        const std::size_t first = at_;
        while (at_ < text_.size() && is_digit(text_[at_]))
            ++at_;
        return at_ > first;
    };
    if (next_is('-')) ++at_;
    if (next_is('0')) {
        ++at_;
    } else if (!digits()) {
        return fail("not a JSON value");
    }
    bool whole = true;
    if (next_is('.')) {
        ++at_;
        whole = false;
        if (!digits()) return fail("a digit is missing after '.'");
    }
    if (next_is('e') || next_is('E')) {
        ++at_;
        whole = false;
        if (next_is('+') || next_is('-')) ++at_;
        if (!digits()) return fail("a digit is missing in an exponent");
    }
    const std::string_view lexeme = text_.substr(start, at_ - start);
    JsonValue::Number n;
    std::from_chars(lexeme.data(), lexeme.data() + lexeme.size(), n.value);
    if (whole) {
        std::int64_t i = 0;
        const auto r = std::from_chars(lexeme.data(), lexeme.data() + lexeme.size(), i);
        if (r.ec == std::errc()) n.whole = i;
    } else if (std::isfinite(n.value) && n.value == std::trunc(n.value) &&
               std::fabs(n.value) < 9.0e15) {
        n.whole = static_cast<std::int64_t>(n.value);  // 1.0 and 1e3 are whole as well
    }
    *out = JsonValue(n);
    return true;
}

}  // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
    const Object* members = object();
    if (members == nullptr) return nullptr;
    for (const JsonMember& m : *members) {
        if (m.key == key) return &m.value;
    }
    return nullptr;
}

std::optional<std::int64_t> JsonValue::natural(std::int64_t max) const {
    const Number* n = number();
    if (n == nullptr || !n->whole || *n->whole < 0 || *n->whole > max) return std::nullopt;
    return n->whole;
}

std::optional<JsonValue> parse_json(std::string_view text, std::string* error,
                                    const JsonLimits& limits) {
    return Parser(text, limits).document(error);
}

}  // namespace scenario
