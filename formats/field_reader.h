// Reads a source file as one stream of comma-separated fields, each as text
// or as a number of its destination's type.
//
// Fields end at a comma or a line end (CR LF or a bare LF). Leading blanks
// (spaces and tabs) are skipped. A number ends at the first blank, comma or
// line end; blanks after it, then one comma or the line end, belong to the
// same separator. A number is an optional "-" and decimal digits; an empty
// or non-numeric numeric field reads 0. A text field keeps the rest of its
// text, trailing blanks and double quotes included. An empty line is one
// empty field, and a comma always opens one more field, even at the end.
// A number that does not fit its destination, and a read when no field is
// left, are read failures: the call returns false and the destination is
// unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Where a field's text lies: byte offsets into the source text, from its
// first byte after the leading blanks up to, not including, the byte after
// its last (a number ends before the blanks that follow it).
struct FieldSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The length of the line end at text[at]: 2 for CR LF, 1 for a bare LF,
// 0 for anything else (a lone CR is text).
std::size_t line_end_length(std::string_view text, std::size_t at);

// How the reader takes the text of a numeric field: an optional "-" and
// decimal digits make a number; anything else, the empty text included,
// reads 0. Values past 2^40 stop growing: no destination holds them.
struct DecimalText {
    bool is_number = false;
    std::int64_t value = 0;
};
DecimalText decimal_text(std::string_view token);

class FieldReader {
  public:
    explicit FieldReader(std::string_view text);

    bool read_text(std::string* out);
    bool read_byte(std::uint8_t* out);     // 0 to 255
    bool read_integer(std::int16_t* out);  // -32768 to 32767
    bool read_long(std::int32_t* out);     // signed 32-bit

    // Reads one field into each destination in turn, with the type of the
    // destination: std::uint8_t Byte, std::int16_t Integer, std::int32_t Long,
    // std::string text. Stops at the first failure and returns false.
    template <typename... T>
    bool read(T*... out) {
        return (read_one(out) && ...);
    }

    // True once the last field of the text has been consumed.
    bool at_end() const;

    // 1-based line on which the field most recently read began (0 before
    // the first read).
    std::int32_t line() const { return line_of_last_field_; }

    // The text of the field most recently read, whether it was read well or
    // not (an empty span before the first read).
    FieldSpan last_field() const { return last_field_; }

    // 1-based line on which the next field begins: the line of the last
    // field while more of that line is left to read.
    std::int32_t next_line() const { return line_; }

  private:
    bool read_one(std::string* out) { return read_text(out); }
    bool read_one(std::uint8_t* out) { return read_byte(out); }
    bool read_one(std::int16_t* out) { return read_integer(out); }
    bool read_one(std::int32_t* out) { return read_long(out); }

    // Skips the leading blanks of the next field; false when none is left.
    bool begin_field();
    // Consumes the comma or line end that closes the field at pos_.
    void take_separator();
    bool at_field_end(std::size_t at) const;
    bool read_number(std::int64_t min, std::int64_t max, std::int64_t* out);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::int32_t line_ = 1;
    std::int32_t line_of_last_field_ = 0;
    FieldSpan last_field_;
    bool field_pending_ = false;  // a comma was consumed: one more field follows
};

}  // namespace scenario
