// The layouts read here are the ones the writers state at the top of
// geometry_writer.cpp, table_writer.cpp and route_writer.cpp: little-endian
// integers, IEEE 754 doubles, no header and no padding. Every read goes
// through one cursor that refuses to step past the end of the bytes, and
// every record is measured against the bytes left before it is read, so the
// messages can say which record is short and by how much.
#include "authoring/compiled_readers.h"

#include <bit>
#include <cstring>

#include "compiler/route_rules.h"
#include "output/format_marks.h"
#include "output/geometry_writer.h"
#include "output/route_writer.h"
#include "output/table_writer.h"

namespace scenario {

namespace {

// The longest line's geometry: two items, x and y, a row.
constexpr auto kMaxItems = static_cast<std::size_t>(2 * kMaxRigheTracciato);

// Reads little-endian values from a byte string. A read past the end gives
// 0 and marks the cursor as overrun instead of touching memory it does not
// own; callers measure first, so an overrun is a fault of this file only.
class ByteCursor {
  public:
    explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return at_; }
    std::size_t left() const { return bytes_.size() - at_; }
    bool overrun() const { return overrun_; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(take(4))); }
    double f64() { return std::bit_cast<double>(take(8)); }

    std::string_view text(std::size_t n) {
        if (n > left()) return overrun_all();
        const std::string_view out = bytes_.substr(at_, n);
        at_ += n;
        return out;
    }

  private:
    std::uint64_t take(std::size_t width) {
        if (width > left()) {
            overrun_all();
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = width; i > 0; --i)
            v = (v << 8) | static_cast<unsigned char>(bytes_[at_ + i - 1]);
        at_ += width;
        return v;
    }
    std::string_view overrun_all() {
        overrun_ = true;
        at_ = bytes_.size();
        return {};
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool overrun_ = false;
};

bool refuse(std::string* error, std::string message) {
    if (error != nullptr) *error = std::move(message);
    return false;
}

std::string count(std::size_t n, std::string_view what) {
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

// ---- scenario table ----

void read_voce_head(ByteCursor& in, voce& v) {
    v.tipo = in.u8();
    v.valore1 = in.i32();
    v.valore2 = in.i32();
    v.valore3 = in.i32();
    v.segno = in.u8();
}

void read_voce_tail(ByteCursor& in, voce& v) {
    v.numero1 = in.i16();
    v.numero2 = in.i16();
    v.numero3 = in.i16();
    v.numero4 = in.i16();
    v.numero5 = in.i16();
    v.byte1 = in.u8();
    v.byte2 = in.u8();
    v.byte3 = in.u8();
    v.byte4 = in.u8();
    v.valore4 = in.i32();
}

bool read_voce(ByteCursor& in, int index, voce& v, std::string* error) {
    const std::string where =
        "table file: record " + std::to_string(index) + " at byte " + std::to_string(in.offset());
    if (in.left() < kVoceFixedBytes) {
        return refuse(error, where + " is cut short: " + count(in.left(), "byte") +
                                 " left, a record has at least " + std::to_string(kVoceFixedBytes));
    }
    read_voce_head(in, v);
    const std::size_t n = in.u16();
    if (in.left() < n + kVoceTailBytes) {
        return refuse(error, where + " is cut short: its text of " + count(n, "byte") +
                                 " and the " + std::to_string(kVoceTailBytes) +
                                 " bytes after it need more than the " + count(in.left(), "byte") +
                                 " left");
    }
    v.testo = std::string(in.text(n));
    read_voce_tail(in, v);
    return !in.overrun() || refuse(error, where + " is cut short");
}

// ---- route ----

cella read_cella(ByteCursor& in) {
    cella c;
    c.tipo = in.u8();
    c.dato1 = in.i16();
    c.dato2 = in.i16();
    c.dato3 = in.i16();
    c.dato4 = in.i16();
    c.dato5 = in.u8();
    c.dato6 = in.u8();
    c.galleria = in.u8();
    c.velocita = in.u8();
    c.pendenza = in.u8();
    c.aderenza = in.u8();
    return c;
}

bool check_route_size(std::size_t size, std::string* error) {
    if (size % kCellaBytes != 0) {
        return refuse(error, "route file: " + count(size, "byte") + " is not a whole number of " +
                                 std::to_string(kCellaBytes) + "-byte cells");
    }
    const std::size_t cells = size / kCellaBytes;
    if (cells < static_cast<std::size_t>(kMinCelle)) {
        return refuse(error, "route file: " + count(cells, "cell") + "; a route has at least " +
                                 std::to_string(kMinCelle));
    }
    if (cells > static_cast<std::size_t>(kMaxCelle)) {
        return refuse(error, "route file: " + count(cells, "cell") + "; the longest route has " +
                                 std::to_string(kMaxCelle));
    }
    return true;
}

// ---- line geometry ----

struct Item {
    Tag tag = Tag::vuoto;
    double value = 0.0;
};

// One tagged item; false, with `error` set, for an unknown tag or an item
// cut short by the end of the file.
bool read_item(ByteCursor& in, Item* item, std::string* error) {
    const std::string where = "geometry file: item at byte " + std::to_string(in.offset());
    if (in.left() < kTagBytes) return refuse(error, where + " is cut short before its tag ends");
    const std::uint16_t tag = in.u16();
    switch (static_cast<Tag>(tag)) {
        case Tag::vuoto:
            *item = {Tag::vuoto, 0.0};
            return true;
        case Tag::intero:
            if (in.left() < kInteroValueBytes) break;
            *item = {Tag::intero, static_cast<double>(in.i16())};
            return true;
        case Tag::reale:
            if (in.left() < kRealeValueBytes) break;
            *item = {Tag::reale, in.f64()};
            return true;
        default:
            return refuse(error, where + " has the unknown tag " + std::to_string(tag) +
                                     " (known: 0 empty, 2 integer, 5 double)");
    }
    return refuse(error,
                  where + " (tag " + std::to_string(tag) + ") is cut short before its value ends");
}

bool read_items(std::string_view bytes, std::vector<Item>* items, std::string* error) {
    ByteCursor in(bytes);
    while (in.left() > 0) {
        if (items->size() == kMaxItems) {
            return refuse(error, "geometry file: more than " + count(kMaxRigheTracciato, "row") +
                                     " (the longest line has no more)");
        }
        Item item;
        if (!read_item(in, &item, error)) return false;
        items->push_back(item);
    }
    return true;
}

// Both columns of a row always hold the same kind of value.
bool split_columns(const std::vector<Item>& items, Tracciato* t, std::string* error) {
    if (items.empty()) return refuse(error, "geometry file: empty");
    if (items.size() % 2 != 0) {
        return refuse(error, "geometry file: " + count(items.size(), "item") +
                                 "; the two columns need one item per row each");
    }
    const std::size_t rows = items.size() / 2;
    t->tag.resize(rows);
    t->x.resize(rows);
    t->y.resize(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        const Item& x = items[row];
        const Item& y = items[rows + row];
        if (x.tag != y.tag) {
            return refuse(error, "geometry file: row " + std::to_string(row) + " has tag " +
                                     std::to_string(static_cast<int>(x.tag)) + " for x but " +
                                     std::to_string(static_cast<int>(y.tag)) + " for y");
        }
        t->tag[row] = x.tag;
        t->x[row] = x.value;
        t->y[row] = y.value;
    }
    return true;
}

}  // namespace

bool read_table(std::string_view bytes, std::array<voce, kVoci>* voci, std::string* error) {
    ByteCursor in(bytes);
    for (int i = 0; i < kVoci; ++i) {
        (*voci)[static_cast<std::size_t>(i)] = voce{};
        if (!read_voce(in, i, (*voci)[static_cast<std::size_t>(i)], error)) return false;
    }
    if (in.left() > 0) {
        return refuse(error, "table file: " + count(in.left(), "byte") + " after the last of the " +
                                 std::to_string(kVoci) + " records");
    }
    const std::int16_t mark = (*voci)[kVoceTestataLinea].numero1;
    if (mark != kMarcaTabella) {
        return refuse(error, "table file: record " + std::to_string(kVoceTestataLinea) + " holds " +
                                 std::to_string(mark) + " where the format mark " +
                                 std::to_string(kMarcaTabella) + " belongs");
    }
    return true;
}

bool read_route(std::string_view bytes, std::vector<cella>* percorso, std::string* error) {
    percorso->clear();
    if (!check_route_size(bytes.size(), error)) return false;
    ByteCursor in(bytes);
    percorso->reserve(bytes.size() / kCellaBytes);
    while (in.left() > 0)
        percorso->push_back(read_cella(in));
    const std::int16_t mark = (*percorso)[kCellaTestata].dato1;
    if (mark != kMarcaPercorso) {
        return refuse(error, "route file: cell " + std::to_string(kCellaTestata) + " holds " +
                                 std::to_string(mark) + " where the format mark " +
                                 std::to_string(kMarcaPercorso) + " belongs");
    }
    return true;
}

bool read_geometry(std::string_view bytes, Tracciato* tracciato, std::string* error) {
    *tracciato = Tracciato{};
    // No item is longer than a tagged double: a file longer than the
    // longest line's rows of doubles is refused before anything is decoded.
    if (bytes.size() > kMaxItems * (kTagBytes + kRealeValueBytes)) {
        return refuse(error, "geometry file: " + count(bytes.size(), "byte") +
                                 " is more than the longest line gives");
    }
    std::vector<Item> items;
    if (!read_items(bytes, &items, error)) return false;
    if (split_columns(items, tracciato, error)) return true;
    *tracciato = Tracciato{};
    return false;
}

}  // namespace scenario
