#include "tool/dump/dump_text.h"

#include <charconv>
#include <ostream>
#include <string>

#include "compiler/route_rules.h"
#include "tool/dump/cell_kinds.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

// The text in double quotes, as UTF-8, with quotes, backslashes and
// control characters escaped so that a line of output stays one line.
std::string quoted(std::string_view ansi) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char ch : ansi_to_utf8(ansi)) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string_view tag_name(Tag tag) {
    switch (tag) {
        case Tag::intero:
            return "integer";
        case Tag::reale:
            return "double";
        case Tag::vuoto:
            break;
    }
    return "empty";
}

// "N cells (0 to N-1)", or just "0 cells" for an empty store.
std::string counted(std::size_t n, std::string_view what) {
    std::string text = std::to_string(n) + " " + std::string(what);
    if (n > 0) text += " (0 to " + std::to_string(n - 1) + ")";
    return text;
}

void print_voce(std::size_t i, const voce& v, std::ostream& out) {
    out << "voci(" << i << "): tipo=" << int{v.tipo} << " valore1=" << v.valore1
        << " valore2=" << v.valore2 << " valore3=" << v.valore3 << " segno=" << int{v.segno}
        << " testo=" << quoted(v.testo) << " numero1=" << v.numero1 << " numero2=" << v.numero2
        << " numero3=" << v.numero3 << " numero4=" << v.numero4 << " numero5=" << v.numero5
        << " byte1=" << int{v.byte1} << " byte2=" << int{v.byte2} << " byte3=" << int{v.byte3}
        << " byte4=" << int{v.byte4} << " valore4=" << v.valore4 << '\n';
}

void print_cella(std::size_t i, const cella& c, std::ostream& out) {
    out << "cella(" << i << ") at " << i * kMetriCella << " m: tipo=" << int{c.tipo} << " ("
        << tipo_name(c.tipo) << ") dato1=" << c.dato1 << " dato2=" << c.dato2
        << " dato3=" << c.dato3 << " dato4=" << c.dato4 << " dato5=" << int{c.dato5}
        << " dato6=" << int{c.dato6} << " galleria=" << int{c.galleria}
        << " velocita=" << int{c.velocita} << " (" << speed_kmh(c.velocita) << " km/h)"
        << " pendenza=" << int{c.pendenza} << " (" << gradient_per_mille(c.pendenza)
        << " per mille) aderenza=" << int{c.aderenza} << '\n';
}

}  // namespace

bool is_blank(const cella& c) {
    return c.tipo == 0 && c.dato1 == 0 && c.dato2 == 0 && c.dato3 == 0 && c.dato4 == 0 &&
           c.dato5 == 0 && c.dato6 == 0 && c.galleria == 0 && c.velocita == 0 && c.pendenza == 0 &&
           c.aderenza == 0;
}

std::string shortest(double v) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

void print_table(const std::array<voce, kVoci>& voci, std::size_t bytes, std::ostream& out) {
    out << "table file: " << voci.size() << " records, " << bytes << " bytes\n";
    for (std::size_t i = 0; i < voci.size(); ++i)
        print_voce(i, voci[i], out);
}

void print_route(const std::vector<cella>& percorso, std::size_t bytes, std::ostream& out) {
    std::size_t shown = 0;
    for (const cella& c : percorso)
        shown += is_blank(c) ? 0 : 1;
    out << "route file: " << counted(percorso.size(), "cells") << ", " << bytes << " bytes; "
        << shown << " not all zero\n";
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        if (!is_blank(percorso[i])) print_cella(i, percorso[i], out);
    }
}

void print_geometry(const Tracciato& t, std::size_t bytes, std::ostream& out) {
    out << "geometry file: " << counted(t.tag.size(), "rows") << ", " << bytes << " bytes\n";
    for (std::size_t row = 0; row < t.tag.size(); ++row) {
        out << "tracciato(" << row << "): tag=" << static_cast<int>(t.tag[row]) << " ("
            << tag_name(t.tag[row]) << ')';
        if (t.tag[row] != Tag::vuoto)
            out << " x=" << shortest(t.x[row]) << " y=" << shortest(t.y[row]);
        out << '\n';
    }
}

}  // namespace scenario
