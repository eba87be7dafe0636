#include "importing/source_writer.h"

#include <cmath>
#include <cstdio>

namespace scenario::importing {

namespace {

constexpr const char* kEnd = "\r\n";

std::string padded(long v, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*ld", width, v);
    return buf;
}

void line(std::string& out, const std::string& text) {
    out += text;
    out += kEnd;
}

std::string reference_row(const char* which, const std::vector<KilometricReference>& refs,
                          std::size_t i) {
    const KilometricReference r = i < refs.size() ? refs[i] : KilometricReference{};
    return std::string("progressiva chilometrica ") + which + ",    " + std::to_string(r.position) +
           ",    " + std::to_string(r.value) + ",    " + (r.down ? "1" : "0");
}

}  // namespace

std::string line_source(const LinearRoute& r, const std::string& origin_name) {
    std::string out;
    line(out, "[generale]");
    line(out, "lunghezza percorso,    " + std::to_string(r.length));
    line(out, reference_row("uno", r.references, 0));
    line(out, reference_row("due", r.references, 1));
    line(out, reference_row("tre", r.references, 2));
    // Scenery values the simulator reads; the map says nothing of them.
    line(out, "sfondo uno,    0");
    line(out, "sfondo due,    1");
    line(out, "sfondo tre,    0");
    line(out, "ripetizione segnali 4 codici,    0    ,0");
    line(out, "[curve]");
    for (const Curve& c : r.curves)
        line(out, std::string(c.left ? "curvas" : "curvad") + std::to_string(c.classe) + ",  " +
                      std::to_string(c.start) + ",  " + std::to_string(c.length));
    line(out, "[pendenze]");
    const double start = r.profile.track.empty() ? 0 : r.profile.track.front();
    line(out, "- Altitudine iniziale " + origin_name + " = " + std::to_string(std::lround(start)) +
                  " m.");
    for (const GradientRow& g : r.profile.rows)
        line(out,
             "pendenza,  " + std::to_string(g.position) + ",   " + std::to_string(g.per_mille));
    line(out, "[montagne]");
    for (const RouteTunnel& t : r.tunnels)
        line(out, "montagna,   " + std::to_string(t.start) + ",  " + std::to_string(t.end) + ",  " +
                      std::to_string(t.kind));
    line(out, "[cartelli]");
    for (const RouteBoard& b : r.boards)
        line(out, "indicatori_vmax,  " + std::to_string(b.position) + ",  " +
                      std::to_string(b.speeds[0]) + ",  " + std::to_string(b.speeds[1]) + ",  " +
                      std::to_string(b.speeds[2]) + ",  0,  ,  ,  ,  0");
    line(out, "[indicazioni]");
    for (const RouteSign& s : r.signs)
        line(out, "cartello_indicatore,  " + std::to_string(s.position) + ",   " + s.text);
    line(out, "[fine]");
    return out;
}

namespace {

// A station row with the embedded file's fields: the two flags of field 7
// and 8 on large stations and the ends, the stop's equipment in fields 10
// to 12, the dwell in field 13, the time in 14 to 16.
std::string station_row(const RouteStation& s, bool first, bool last, int time) {
    const bool stops = s.kind < 25;
    const int flags = (first || last || s.kind == 4) ? 1 : 0;
    const int equipment = !stops ? 0 : last ? 2 : 4;
    const int eq = equipment != 0 ? 1 : 0;
    const int hours = time / 3600, minutes = time / 60 % 60, seconds = time % 60;
    return "stazione," + padded(s.position, 8) + "," + padded(s.kind, 3) + "," +
           padded(s.length, 5) + ",  " + (last ? "1" : "0") + ", 0, 0,  " + std::to_string(flags) +
           "," + std::to_string(flags) + ",0,  " + std::to_string(equipment) + "," +
           std::to_string(eq) + "," + std::to_string(eq) + "," + padded(s.dwell, 5) + "," +
           padded(hours, 4) + "," + padded(minutes, 2) + "," + padded(seconds, 2) + ", " + s.name;
}

// The embedded file's rows for a signal facing the train: a distant signal
// (left-hand kind 1) and a main signal (kind 2) with their codes.
std::string signal_row(const RouteSignal& g) {
    return "segnale," + padded(g.position, 8) + (g.distant ? ",   1, 5, 1" : ",   2, 3, 1") +
           ",  0, 0,    0,  0,0,0, 0";
}

}  // namespace

std::string train_source(const LinearRoute& r, const TrainHeader& h) {
    std::string out;
    line(out, "[generale]");
    line(out, "numero vetture,    " + std::to_string(h.carriages));
    line(out, "percentuale massa frenata,    " + std::to_string(h.braked_mass));
    line(out, "sabbia,    300");
    // Half a minute before the first departure, as the embedded clock.
    const int clock = std::max(0, h.depart - 30);
    line(out, "orologio,    " + std::to_string(clock / 3600) + "              " +
                  std::to_string(clock / 60 % 60) + "            " + std::to_string(clock % 60) +
                  " ");
    line(out, "[aderenze]");
    line(out, "aderenza,   0,   100");
    line(out, "[vel_limite]");
    for (std::size_t i = 0; i < r.speeds.size(); ++i)
        line(out, "velocita," + (i == 0 ? std::string("   0") : padded(r.speeds[i].position, 8)) +
                      "," + padded(r.speeds[i].kmh, 6));
    line(out, "[stazioni]");
    for (std::size_t i = 0; i < r.stations.size(); ++i) {
        const bool first = i == 0, last = i + 1 == r.stations.size();
        const bool timed = first || (r.stations[i].kind < 25);
        // A provisional time after the departure makes every stop a stop
        // of the run; the draft replaces it.
        line(out, station_row(r.stations[i], first, last, timed ? h.depart + (first ? 0 : 60) : 0));
    }
    line(out, "[rallentamenti]");
    line(out, "[segnali]");
    for (const RouteSignal& g : r.signals)
        line(out, signal_row(g));
    line(out, "[codici]");
    line(out, "[fine]");
    return out;
}

}  // namespace scenario::importing
