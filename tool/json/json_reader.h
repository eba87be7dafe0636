// A small, strict JSON reader for the messages of an editor: the grammar
// of RFC 8259 and nothing more (no comments, no trailing commas, no
// leading zeros, no bare words), text in UTF-8. It is bounded so that no
// input can exhaust the stack or the memory: nesting and the number of
// values have limits, and a longer text is refused before it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace scenario {

struct JsonMember;

class JsonValue {
  public:
    struct Number {
        double value = 0;
        std::optional<std::int64_t> whole;  // when it is a whole number a 64-bit integer holds
    };
    using Array = std::vector<JsonValue>;
    using Object = std::vector<JsonMember>;  // in the order written

    // Defined below JsonMember, which the alternatives need whole.
    JsonValue();
    explicit JsonValue(bool b);
    explicit JsonValue(Number n);
    explicit JsonValue(std::string s);
    explicit JsonValue(Array a);
    explicit JsonValue(Object o);

    bool is_null() const { return std::holds_alternative<std::monostate>(v_); }
    // Each is nullptr when the value is of another kind.
    const bool* boolean() const { return std::get_if<bool>(&v_); }
    const Number* number() const { return std::get_if<Number>(&v_); }
    const std::string* string() const { return std::get_if<std::string>(&v_); }
    const Array* array() const { return std::get_if<Array>(&v_); }
    const Object* object() const { return std::get_if<Object>(&v_); }

    // The first member named `key` of an object; nullptr when there is none
    // or this is no object.
    const JsonValue* find(std::string_view key) const;
    // The value when it is a whole number from 0 to `max`.
    std::optional<std::int64_t> natural(std::int64_t max) const;

  private:
    std::variant<std::monostate, bool, Number, std::string, Array, Object> v_;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

inline JsonValue::JsonValue() = default;
inline JsonValue::JsonValue(bool b) : v_(b) {}
inline JsonValue::JsonValue(Number n) : v_(n) {}
inline JsonValue::JsonValue(std::string s) : v_(std::move(s)) {}
inline JsonValue::JsonValue(Array a) : v_(std::move(a)) {}
inline JsonValue::JsonValue(Object o) : v_(std::move(o)) {}

struct JsonLimits {
    std::size_t max_bytes = std::size_t{32} << 20;
    int max_depth = 64;  // arrays and objects inside one another
    std::size_t max_values = 200000;
};

// The value that `text` holds, or nothing with `error` set to the reason
// and the byte offset where reading stopped. A \u escape of a lone
// surrogate, which UTF-8 cannot carry, reads as U+FFFD.
std::optional<JsonValue> parse_json(std::string_view text, std::string* error,
                                    const JsonLimits& limits = {});

}  // namespace scenario
