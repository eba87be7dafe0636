#include "bench/synthetic_scenario.h"

#include <cstdio>
#include <string_view>

namespace scenario::bench {

namespace {

// Offsets inside one block are chosen so that no two objects that need a
// free cell share one (cells of 50 m: a board on 15, 95 and 165, signals on
// 40, 90, 140 and 190, a station stop near 112 or 119, a sign on 125).
constexpr std::int32_t kBlocco = 10000;
constexpr std::int32_t kPassoCurve = 800;
constexpr std::int32_t kCurvePerBlocco = 12;
constexpr std::int32_t kPassoPendenze = 1250;
constexpr std::int32_t kPendenzePerBlocco = 8;
constexpr std::int32_t kCartelli[] = {700, 4700, 8200};
constexpr std::int32_t kSegnali[] = {1950, 4450, 6950, 9450};
constexpr std::int32_t kStazione = 5500;
constexpr std::int32_t kIndicazione = 6200;
constexpr std::int32_t kMontagnaInizio = 3000;
constexpr std::int32_t kMontagnaFine = 3600;
constexpr std::int32_t kMaxMontagne = 80;
// Stations and signs share 78 entries of the table.
constexpr std::int32_t kMaxStazioni = 39;
constexpr std::int32_t kMaxIndicazioni = 39;

void line_f(std::string& out, const char* format, auto... values) {
    char buffer[160];
    const int n = std::snprintf(buffer, sizeof buffer, format, values...);
    out.append(buffer, static_cast<std::size_t>(n));
    out += "\r\n";
}

void line(std::string& out, std::string_view text) {
    out += text;
    out += "\r\n";
}

void linea_header(std::string& out, std::int32_t lunghezza) {
    line(out, "[generale]");
    line_f(out, "lunghezza percorso,   %d", lunghezza);
    line_f(out, "progressiva chilometrica uno,   0,   %d,   1", lunghezza + 2000);
    line(out, "progressiva chilometrica due,   0,   0,   0");
    line(out, "progressiva chilometrica tre,   0,   0,   0");
    line(out, "sfondo uno,   1");
    line(out, "sfondo due,   2");
    line(out, "sfondo tre,   3");
    line(out, "ripetizione segnali 4 codici,   0,   0");
}

void linea_block(std::string& out, std::int32_t b) {
    const std::int32_t base = b * kBlocco;
    for (std::int32_t i = 0; i < kCurvePerBlocco; ++i) {
        const char side = (b + i) % 2 == 0 ? 'd' : 's';
        line_f(out, "curva%c%d,   %d,   300", side, (b + i) % 6 + 1, base + 100 + i * kPassoCurve);
    }
    for (std::int32_t i = 0; i < kPendenzePerBlocco; ++i) {
        line_f(out, "pendenza,   %d,   %d", base + i * kPassoPendenze, (b * 7 + i * 5) % 31 - 15);
    }
    if (b < kMaxMontagne) {
        constexpr int kTipi[] = {2, 11, 12};
        line_f(out, "montagna,   %d,   %d,   %d", base + kMontagnaInizio, base + kMontagnaFine,
               kTipi[b % 3]);
    }
    for (std::int32_t offset : kCartelli) {
        line_f(out, "indicatori_vmax,  %d,  %d,  %d,  %d,  0,  ,  ,  ,  0", base + offset,
               60 + (b % 8) * 10, 70 + (b % 8) * 10, 80 + (b % 8) * 10);
    }
    if (b % 3 == 1 && b / 3 < kMaxIndicazioni) {
        line_f(out, "cartello_indicatore,  %d,  (POSTO %d)(%d m.)", base + kIndicazione, b, 350);
    }
}

void treno_header(std::string& out) {
    line(out, "[generale]");
    line(out, "percentuale massa frenata,    120");
    line(out, "numero vetture,    3");
    line(out, "sabbia,    300");
    line(out, "orologio,    17              42            30 ");
}

void treno_station(std::string& out, std::int32_t b, std::int32_t numero) {
    const std::int32_t p = b * kBlocco + kStazione;
    if (numero == 0) {
        line_f(out, "stazione,  %d,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  6, 0, 0, ORIGINE",
               p);
        return;
    }
    constexpr int kTipi[] = {22, 4, 12, 27};
    const int tipo = kTipi[numero % 4];
    line_f(out, "stazione,  %d, %d,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  %d, %d, 0, POSTO %d", p,
           tipo, 6 + numero / 60, numero % 60, numero);
}

void treno_block(std::string& out, std::int32_t b, std::int32_t& stazioni) {
    const std::int32_t base = b * kBlocco;
    line_f(out, "velocita,   %d,   %d", base, 80 + (b % 9) * 10);
    if (b % 5 == 0) line_f(out, "aderenza,   %d,   %d", base, 70 + (b % 4) * 10);
    if (b % 3 == 0 && stazioni < kMaxStazioni) treno_station(out, b, stazioni++);
    for (std::int32_t offset : kSegnali) {
        line_f(out, "segnale,   %d,   2, 2, 4,  1, 1,    2,  1,1,0, 0", base + offset);
    }
}

}  // namespace

std::string synthetic_linea(std::int32_t lunghezza) {
    std::string out;
    linea_header(out, lunghezza);
    line(out, "[curve]");
    for (std::int32_t b = 0; b < lunghezza / kBlocco; ++b)
        linea_block(out, b);
    line(out, "[fine]");
    return out;
}

std::string synthetic_treno(std::int32_t lunghezza) {
    std::string out;
    treno_header(out);
    line(out, "aderenza,   0,   100");
    std::int32_t stazioni = 0;
    for (std::int32_t b = 0; b < lunghezza / kBlocco; ++b)
        treno_block(out, b, stazioni);
    line(out, "[fine]");
    return out;
}

}  // namespace scenario::bench
