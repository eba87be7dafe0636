#include "tool/dump/dump_json.h"

#include <ostream>

#include "compiler/route_rules.h"
#include "tool/dump/cell_kinds.h"
#include "tool/dump/dump_text.h"
#include "tool/json/json_writer.h"

namespace scenario {

namespace {

void open_file_object(JsonWriter& json, std::string_view kind, std::size_t bytes) {
    json.begin_object();
    json.key("kind");
    json.string(kind);
    json.key("bytes");
    json.number(static_cast<std::int64_t>(bytes));
}

void member(JsonWriter& json, std::string_view name, std::int32_t v) {
    json.key(name);
    json.number(v);
}

void put_voce(JsonWriter& json, std::size_t i, const voce& v) {
    json.begin_object();
    member(json, "index", static_cast<std::int32_t>(i));
    member(json, "tipo", v.tipo);
    member(json, "valore1", v.valore1);
    member(json, "valore2", v.valore2);
    member(json, "valore3", v.valore3);
    member(json, "segno", v.segno);
    json.key("testo");
    json.ansi_string(v.testo);
    member(json, "numero1", v.numero1);
    member(json, "numero2", v.numero2);
    member(json, "numero3", v.numero3);
    member(json, "numero4", v.numero4);
    member(json, "numero5", v.numero5);
    member(json, "byte1", v.byte1);
    member(json, "byte2", v.byte2);
    member(json, "byte3", v.byte3);
    member(json, "byte4", v.byte4);
    member(json, "valore4", v.valore4);
    json.end_object();
}

void put_cella(JsonWriter& json, std::size_t i, const cella& c) {
    json.begin_object();
    member(json, "index", static_cast<std::int32_t>(i));
    member(json, "metres", static_cast<std::int32_t>(i * kMetriCella));
    member(json, "tipo", c.tipo);
    json.key("tipo_name");
    json.string(tipo_name(c.tipo));
    member(json, "dato1", c.dato1);
    member(json, "dato2", c.dato2);
    member(json, "dato3", c.dato3);
    member(json, "dato4", c.dato4);
    member(json, "dato5", c.dato5);
    member(json, "dato6", c.dato6);
    member(json, "galleria", c.galleria);
    member(json, "velocita", c.velocita);
    member(json, "pendenza", c.pendenza);
    member(json, "aderenza", c.aderenza);
    json.end_object();
}

void coordinate(JsonWriter& json, std::string_view name, Tag tag, double v) {
    json.key(name);
    if (tag == Tag::vuoto) {
        json.null();
    } else {
        json.number(v);
    }
}

void put_row(JsonWriter& json, std::size_t row, const Tracciato& t) {
    json.begin_object();
    member(json, "row", static_cast<std::int32_t>(row));
    member(json, "tag", static_cast<std::int32_t>(t.tag[row]));
    coordinate(json, "x", t.tag[row], t.x[row]);
    coordinate(json, "y", t.tag[row], t.y[row]);
    json.end_object();
}

}  // namespace

void print_table_json(const std::array<voce, kVoci>& voci, std::size_t bytes, std::ostream& out) {
    JsonWriter json(out);
    open_file_object(json, "table", bytes);
    json.key("records");
    json.begin_array();
    for (std::size_t i = 0; i < voci.size(); ++i)
        put_voce(json, i, voci[i]);
    json.end_array();
    json.end_object();
    out << '\n';
}

void print_route_json(const std::vector<cella>& percorso, std::size_t bytes, std::ostream& out) {
    JsonWriter json(out);
    open_file_object(json, "route", bytes);
    member(json, "cell_count", static_cast<std::int32_t>(percorso.size()));
    json.key("cells");
    json.begin_array();
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        if (!is_blank(percorso[i])) put_cella(json, i, percorso[i]);
    }
    json.end_array();
    json.end_object();
    out << '\n';
}

void print_geometry_json(const Tracciato& t, std::size_t bytes, std::ostream& out) {
    JsonWriter json(out);
    open_file_object(json, "geometry", bytes);
    member(json, "row_count", static_cast<std::int32_t>(t.tag.size()));
    json.key("rows");
    json.begin_array();
    for (std::size_t row = 0; row < t.tag.size(); ++row)
        put_row(json, row, t);
    json.end_array();
    json.end_object();
    out << '\n';
}

}  // namespace scenario
