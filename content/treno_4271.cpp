#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {

// The train source file: train 4271 from ALVENA P.NUOVA to SORBIO.
constexpr std::string_view kRighe[] = {
    // Consist, braking and sanding values and the clock, which starts half a minute
    // before the first departure.
    "[generale]",
    "numero vetture,    3",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    17              42            30 ",
    // Adhesion in per cent from each position on.
    "[aderenze]",
    "aderenza,   0,   100",
    "aderenza,    9900,    80",
    "aderenza,   11050,    90",
    "aderenza,   15900,    80",
    "aderenza,   19450,   100",
    "aderenza,   34850,    90",
    "aderenza,   40050,    80",
    "aderenza,   44400,    70",
    "aderenza,   47450,    85",
    "aderenza,   50300,    70",
    "aderenza,   54050,    85",
    "aderenza,   57450,    70",
    "aderenza,   58700,    85",
    "aderenza,   59550,    70",
    "aderenza,   60700,    85",
    "aderenza,   65850,   100",
    "aderenza,   76100,    80",
    "aderenza,   76400,   100",
    // Line speed limit in km/h from each position on.
    "[vel_limite]",
    "velocita,   0,    30",
    "velocita,     700,    75",
    "velocita,    1300,    90",
    "velocita,    2300,    60",
    "velocita,    2950,    75",
    "velocita,    4800,   100",
    "velocita,   14350,   110",
    "velocita,   20950,   100",
    "velocita,   23550,   130",
    "velocita,   28500,   100",
    "velocita,   29850,   135",
    "velocita,   34200,    80",
    "velocita,   66600,   100",
    "velocita,   70900,   105",
    "velocita,   73900,   100",
    "velocita,   75450,   105",
    "velocita,   83750,   100",
    "velocita,   89450,   140",
    "velocita,   96050,   110",
    "velocita,   98850,    90",
    // Stations in running order: position, kind, length, ten flag and value fields,
    // the dwell (30 or 60 at the stops, 1 at the origin), the departure time (the
    // arrival time at the terminus; 0 0 where the train passes), seconds, name.
    // Kinds 25 and up (VALMEDRA, S. ILARIA, MOLINACCIO, VALPIANURA, CERRETO ALPE,
    // CASALBIANCO, FORNACI, CAMPAGNOLA, LE GRAZIE) mark no cell; VALPIANURA,
    // CASALBIANCO and FORNACI are closed. The train card writes LE CASELLE in
    // mixed case.
    "[stazioni]",
    "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, ALVENA P.NUOVA",
    "stazione,    4100, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, VALMEDRA",
    "stazione,    8550, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  17,55, 0, CORNETA",
    "stazione,   11800, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, S. ILARIA",
    "stazione,   15650,  4,  400,  0, 0, 0,  1,1,0,  4,1,1,   60,  18, 1, 0, BORGO FERRANTE",
    "stazione,   18700, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, LE CASELLE",
    "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA",
    "stazione,   25700, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, MOLINACCIO",
    "stazione,   30500,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,18, 0, CASTELVERDE",
    "stazione,   34000, 12,  300,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, FORNOVA",
    "stazione,   37900, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, VALPIANURA",
    "stazione,   42000, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  18,30, 0, PIETRASECCA",
    "stazione,   48800, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CERRETO ALPE",
    "stazione,   56200, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  18,44, 0, LAGO SCURO",
    "stazione,   61800, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,   30,  18,50, 0, SELVAPIANA",
    "stazione,   66000,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,56, 0, ORMEDA SCALO",
    "stazione,   68900, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CASALBIANCO",
    "stazione,   71600, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  19, 2, 0, TORRE SPINA",
    "stazione,   74600, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, MONTEFALO",
    "stazione,   77700, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, FORNACI",
    "stazione,   80300, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,   30,  19,10, 0, PIANELLO",
    "stazione,   83300,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,   60,  19,14, 0, MERCATALE",
    "stazione,   86300, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CAMPAGNOLA",
    "stazione,   88600, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  19,19, 0, ROVETO",
    "stazione,   91200, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, BOSCOMARE",
    "stazione,   93400, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,   30,  19,23, 0, CERVARA",
    "stazione,   96600, 12,  400,  0, 0, 0,  0,0,0,  4,1,1,   30,  19,27, 0, VILLA ARDESIA",
    "stazione,   98300, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, LE GRAZIE",
    "stazione,  100750,  2,  700,  1, 0, 0,  1,1,0,  2,1,1,    0,  19,30, 0, SORBIO",
    // No slowdowns are in force.
    "[rallentamenti]",
    // Signals: four double signals around the origin and the junction, then a
    // distant signal and its home signal in front of every station that has a
    // stop point.
    "[segnali]",
    "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 0",
    "segnale,    2150,   2, 2, 4,  1, 1,    2,  1,1,0, 0",
    "segnale,    3350,   2, 3, 1,  0, 0,    2,  2,0,0, 0",
    "segnale,    5450,   2, 3, 3,  0, 0,    2,  1,0,0, 0",
    "segnale,    6900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,    7950,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   13600,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   14700,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   16400,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   17750,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   21950,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   28200,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   29400,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   32100,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   33350,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   39700,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   40900,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   54850,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   55600,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   59100,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   60300,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   63300,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   64450,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   69500,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   70600,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   72300,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   73500,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   78100,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   79300,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   81000,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   82100,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   86600,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   87800,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   89100,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   90200,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   91700,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   92700,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   94500,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   95700,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   98850,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   99800,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "[codici]",
    "[fine]",
    kSentinella,
};

}  // namespace

std::span<const std::string_view> testo_treno() {
    return kRighe;
}

}  // namespace scenario
