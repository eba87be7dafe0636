// The train card: the driver's timetable sheet, fixed text drawn with "_"
// and "|". Its figures are written by hand, not taken from the source files,
// but its departure and arrival times are those of the train file's station
// rows. The kilometre readings are those of the railway: they fall along the
// feeder stretch and start again from the junction, where the line's own
// count begins.
#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {
constexpr std::string_view kScheda[] = {
    // Identity: train number, origin and terminus, maximum speed and
    // braked-mass percentage.
    "  ___________________                                               ______________",
    " |                   |                  SCHEDA                     |              |",
    " |   TRENO n. 4271   |                 da: ALVENA P.NUOVA          |    V140 C    |",
    " |___________________|                  a: SORBIO                  |     120%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |     REGIONALE     |              |      250T         |",
    " |___________________|              |___________________|",
    "",
    // Timetable, one row per place in running order. Columns: speed limit
    // and running speed where they change, kilometre reading, a column left
    // blank, place, arrival and departure (a "+" marks the half minute),
    // recovery margin in minutes.
    "  _________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |",
    " | Lim.|Marc.|          | Rs  |                            |                 |     |",
    " |_____|_____|__________|_____|____________________________|_________________|_____|",
    " |  30 |  30 |  314.050 |     | ALVENA P.NUOVA             |           17.43 |     |",
    " |  75 |  70 |  313.400 |     | Deviatoio di uscita        |      17.44+     |     |",
    " |  90 |     |  312.800 |     | Chilometro 312+800         |      17.45      |     |",
    " |  60 |  60 |  311.762 |     | Bivio Mortelleto           |      17.46+     |     | ",
    " |  75 |  70 |    3.184 |     | Segnale avviso Valmedra    |      17.47+     |     |",
    " |     |     |    4.308 |     | VALMEDRA                   |      17.49+     |     |",
    " | 100 |  80 |    5.000 |     | Cippo Chilometro 5         |      17.50      |     |",
    " |     |     |    8.761 |     | CORNETA                    | 17.53+    17.55 |  1  |",
    " |     |     |   12.004 |     | S.ILARIA                   |      17.57+     |     |",
    " | 110 | 100 |   14.550 |     | Chilometro 14+550          |      17.59      |     |",
    " |     |     |   15.862 |     | BORGO FERRANTE             | 18.00     18.01 | 1,5 |",
    " |     |     |   18.906 |     | Le Caselle                 |      18.03+     |     |",
    " | 100 |     |   21.100 |     | Segnale avviso Dorsia      |      18.05      |     |",
    " |     |  90 |   22.714 |     | DORSIA                     | 18.07     18.09 | 2,5 |",
    " | 130 | 100 |   24.106 |     | Galleria Cortinella        |      18.10+     |     |",
    " |     |     |   25.903 |     | MOLINACCIO                 |      18.12      |     |",
    " | 100 |     |   28.700 |     | Curva al Km. 28+700        |      18.14+     |     |",
    " | 135 |     |   30.708 |     | CASTELVERDE                | 18.16+    18.18 |  2  |",
    " |     |     |   34.206 |     | FORNOVA                    |      18.21+     |     |",
    " |  80 |  80 |   34.400 |     | Chilometro 34+400          |      18.21+     |     |",
    " |     |     |   38.098 |     | Staz. dismessa Valpianura  |      18.25      |     |",
    " |     |     |   42.203 |     | PIETRASECCA                | 18.29     18.30 |  1  |",
    " |     |     |   49.004 |     | CERRETO ALPE               |      18.36+     |     |",
    " |     |     |   56.411 |     | LAGO SCURO                 | 18.43+    18.44 |     |",
    " |     |     |   62.004 |     | SELVAPIANA                 | 18.49+    18.50 | 0,5 |",
    " |     |     |   66.209 |     | ORMEDA SCALO               | 18.55     18.56 |  1  |",
    " | 100 |  90 |   66.810 |     | Deviatoio di uscita        |      18.57      |     |",
    " |     |     |   69.104 |     | Staz. dismessa Casalbianco |      18.59      |     |",
    " | 105 |     |   71.806 |     | TORRE SPINA                | 19.01+    19.02 |     |",
    " | 100 |     |   74.807 |     | MONTEFALO                  |      19.04+     |     |",
    " | 105 |     |   76.318 |     | Imbocco galleria Roverella |      19.06      |     |",
    " |     |     |   77.903 |     | Staz. dismessa Fornaci     |      19.07+     |     |",
    " |     |     |   80.505 |     | PIANELLO                   | 19.09+    19.10 | 0,5 |",
    " | 100 |     |   83.506 |     | MERCATALE                  | 19.13     19.14 |  1  |",
    " |     |     |   86.504 |     | CAMPAGNOLA                 |      19.16+     |     |",
    " |     |     |   88.807 |     | ROVETO                     | 19.18+    19.19 | 0,5 |",
    " | 140 | 110 |   89.650 |     | Chilometro 89+650          |      19.20      |     |",
    " |     |     |   91.405 |     | BOSCOMARE                  |      19.21      |     |",
    " |     |     |   93.606 |     | CERVARA                    | 19.22+    19.23 |     |",
    " | 110 |     |   96.804 |     | VILLA ARDESIA              | 19.26+    19.27 | 0,5 |",
    " |     |     |   98.503 |     | LE GRAZIE                  |      19.28+     |     |",
    " |  90 |  90 |   99.050 |     | Segnale avviso Sorbio      |      19.29      |     | ",
    " |     |     |  100.949 |     | SORBIO                     | 19.30           | 0,5 |",
    " |_____|_____|__________|_____|____________________________|_________________|_____|",
    "",
    "",
    "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.",
    kSentinella,
};
}  // namespace

std::span<const std::string_view> testo_scheda() {
    return kScheda;
}

}  // namespace scenario
