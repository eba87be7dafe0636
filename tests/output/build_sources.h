// Small line and train source texts for the build tests, and a reader of
// the compiled files that walks their bytes independently of the writers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario::testing {

// A line of 1000 m: metri_totali 8000, cells 0 to 160, geometry rows 0 to
// 8000. It has curves both ways, a falling gradient, a marked tunnel, a
// speed board and a sign.
inline constexpr std::string_view kLineaPiccola =
    "[generale]\r\n"
    "lunghezza percorso,   1000\r\n"
    "progressiva chilometrica uno,  0, 12000, 1\r\n"
    "sfondo uno,  3\r\n"
    "ripetizione segnali 4 codici,  100, 2000\r\n"
    "[curve]\r\n"
    "curvad5,  100,  50\r\n"
    "curvas6,  300,  100\r\n"
    "[pendenze]\r\n"
    "- quote in metri\r\n"
    "pendenza,  0,  0\r\n"
    "pendenza,  550,  -6\r\n"
    "[montagne]\r\n"
    "montagna,  1000,  2000,  12\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  700,  65,  70,  75,  0,  ,  ,  ,  0\r\n"
    "[indicazioni]\r\n"
    "cartello_indicatore,  2500,  (PRIMA) (120 m.)\r\n"
    "[fine]\r\n";

// Two stations, a signal and both profiles over the line above.
inline constexpr std::string_view kTrenoPiccolo =
    "[generale]\r\n"
    "percentuale massa frenata,    120\r\n"
    "numero vetture,    3\r\n"
    "sabbia,    300\r\n"
    "orologio,    17              42            30 \r\n"
    "[aderenze]\r\n"
    "aderenza,   0,   100\r\n"
    "aderenza,   3000,   80\r\n"
    "[vel_limite]\r\n"
    "velocita,   0,    30\r\n"
    "velocita,   700,    75\r\n"
    "[stazioni]\r\n"
    "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, PRIMA P.NUOVA\r\n"
    "stazione,    5000, 22,  300,  1, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, SECONDA\r\n"
    "[segnali]\r\n"
    "segnale,    2150,   2, 2, 4,  1, 1,    2,  1,1,0, 0\r\n"
    "[fine]\r\n";

// Little-endian reads at a byte offset of a compiled file.
inline std::uint32_t get_u(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return v;
}
inline std::int16_t get_i16(std::string_view bytes, std::size_t at) {
    return static_cast<std::int16_t>(get_u(bytes, at, 2));
}
inline std::int32_t get_i32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(get_u(bytes, at, 4));
}
inline double get_f64(std::string_view bytes, std::size_t at) {
    const std::uint64_t bits = get_u(bytes, at, 4) | std::uint64_t{get_u(bytes, at + 4, 4)} << 32;
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace scenario::testing
