// The author's notes on the scenario, for the driver to read before the run.
// The accented letters are single Windows-1252 bytes (0xE0, 0xE8, 0xF9): the
// file is read as plain single-byte text. An escape followed by a letter a
// to f or a digit must close its literal, or the letter would join the escape.
#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {
// Title, seven notes and the sources paragraph. The last two lines are left
// for a signature: the program names no person.
constexpr std::string_view kNote[] = {
    "                  Treno 4271 sul percorso Alvena - Sorbio",
    "",
    " Note sullo scenario:",
    "",
    " - La linea Alvena - Sorbio \xE8 a semplice binario, ricca di curve e di gallerie; la",
    "   circolazione \xE8 regolata dal blocco automatico e le stazioni sono telecomandate.",
    "",
    " - Nella realt\xE0 il treno 4271 ha origine ad Alvena Centrale e raggiunge la linea al Bivio",
    "   Mortelleto. Il primo tratto dello scenario, da Alvena P.Nuova al bivio, non era ancora",
    "   aperto all'esercizio quando lo scenario \xE8 stato realizzato.",
    "",
    " - Le stazioni di Valpianura, Casalbianco e Fornaci sono chiuse: compaiono nella scheda",
    "   treno soltanto come punti di riferimento e il treno vi transita senza fermarsi.",
    "",
    " - Alcuni segnali caratteristici della linea reale, come quelli di protezione dei passaggi",
    "   a livello, sono rappresentati come normali segnali a una luce, che mostrano sempre la",
    "   via libera.",
    "",
    " - I due principali cambi di pendenza si trovano al Km 19+950, dove comincia la discesa del",
    "   15 per mille verso Dorsia, e all'uscita della galleria Monte Alveno, al Km 54+300, dove",
    "   inizia la lunga discesa del 22 per mille verso la valle dell'Ormeda. In discesa la",
    "   velocit\xE0 cresce in fretta: occorre frenare per tempo per non superare la velocit\xE0",
    "   massima, dato che il treno impiega pi\xF9 spazio a rallentare.",
    "",
    " - L'orario \xE8 largo nella prima parte del percorso, fino a Valpianura, e consente di",
    "   recuperare facilmente qualche minuto; nel resto del viaggio i tempi sono stretti e un",
    "   ritardo si recupera solo con una condotta attenta.",
    "",
    " - Questo scenario \xE8 privo di situazioni particolarmente difficili.",
    "",
    " Lo scenario \xE8 stato costruito con l'aiuto delle tavolette topografiche in scala 1:25000,",
    " della registrazione di un viaggio in cabina di guida, di un libro dedicato alla storia",
    " della linea e dei viaggi compiuti sul percorso dall'autore.",
    "",
    "",
    "",
    kSentinella,
};
}  // namespace

std::span<const std::string_view> testo_note() {
    return kNote;
}

}  // namespace scenario
