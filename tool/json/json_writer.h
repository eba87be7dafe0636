// A small streaming JSON writer: objects, arrays, strings, numbers, true,
// false and null. It places the commas itself and escapes every string, so
// whatever text a compiled file holds, the output stays valid JSON.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace scenario {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void begin_object();
    void end_object();
    void begin_array();
    void end_array();
    // The name of the next member of the object being written.
    void key(std::string_view name);

    void string(std::string_view utf8);       // bytes that are not UTF-8 become U+FFFD
    void ansi_string(std::string_view ansi);  // Windows-1252 text of a compiled file
    void number(std::int64_t v);
    void number(std::int32_t v) {
        number(std::int64_t{v});
    }                       // the model's narrow fields promote here
    void number(double v);  // shortest form that reads back the same; null if not finite
    void boolean(bool v);
    void null();

  private:
    void before_value();
    void put_quoted(std::string_view utf8);

    std::ostream& out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool after_key_ = false;
};

}  // namespace scenario
