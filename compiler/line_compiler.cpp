#include "compiler/line_compiler.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>
#include <optional>
#include <string>

#include "compiler/error_codes.h"
#include "compiler/line_recorders.h"
#include "formats/field_reader.h"
#include "formats/keywords.h"

namespace scenario {

namespace {

constexpr std::int32_t kLunghezzaMassima = 1000000;
// The geometry cursor may not pass this row while curves are laid.
constexpr std::int64_t kUltimaRigaCurve = 1000000;

// Consecutive comment fields passed over before a field counts as a keyword.
constexpr int kCommentiTestata = 10;
constexpr int kCommentiCorpo = 2;

// `pendenza` stores per mille plus this, so that a level cell holds 100.
constexpr std::int64_t kPendenzaPiana = 100;

// Signal-repetition positions lie on cell boundaries.
constexpr std::int32_t kPassoRipetizione = 50;
constexpr std::int32_t kQuattroCodici = 4;
constexpr std::int32_t kNoveCodici = 9;

// Turn per metre, the reciprocal of the radius, of curve classes "1" to "6".
constexpr std::array<double, 6> kSvoltaPerClasse = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// What a step of the reading asks for next.
enum class Step : std::uint8_t {
    next,   // go on
    leave,  // code 15: stop reading, but run the closing steps
    stop,   // a code ended the compile
    fail,   // the failure handler takes over
};

bool fits_integer(std::int32_t v) {
    return v >= std::numeric_limits<std::int16_t>::min() &&
           v <= std::numeric_limits<std::int16_t>::max();
}

// The header block ends at a section title: a field with both brackets
// that is not a comment.
bool ends_header(const std::string& riga) {
    const std::size_t first = riga.find_first_not_of(' ');
    const bool comment = first != std::string::npos && riga[first] == '-';
    return !comment && contains_exact(riga, "[") && contains_exact(riga, "]");
}

// The turn of the first class digit found in the keyword, if any.
std::optional<double> turn_of(const std::string& riga) {
    for (std::size_t i = 0; i < kSvoltaPerClasse.size(); ++i) {
        const char digit[] = {static_cast<char>('1' + i), '\0'};
        if (contains_exact(riga, digit)) return kSvoltaPerClasse[i];
    }
    return std::nullopt;
}

class LineCompiler {
  public:
    LineCompiler(Scenario& s, std::string_view text) : s_(s), in_(text) {}
    LineHalf run();

  private:
    bool read_keyword();
    bool has_dash() const { return contains_exact(s_.riga, "-"); }

    Step find_generale();
    Step header();
    Step header_record();
    Step lunghezza();
    Step progressive();
    Step sfondi();
    Step ripetizione();

    void prepare_body();
    Step body();
    Step body_record();
    Step pendenza();
    Step curva();
    Step montagna();
    Step indicatore();
    Step cartello();
    Step close_line();

    Step range_test(std::int32_t p);
    Step give_up(std::int32_t code);
    Step give_up_at(std::int32_t code, std::int32_t posizione);
    Step failure();

    bool write_gradient();
    Step extend(std::int64_t up_to, double svolta);
    // Row `metri_totali` - 2, the last one the compiler fills (the geometry
    // holds rows 0 to `metri_totali`); negative when there is no geometry.
    std::int64_t last_geometry_row() const { return s_.tracciato.rows() - 3; }
    void add_rows(std::int64_t last, double svolta);
    void empty_remaining_rows();

    Scenario& s_;
    FieldReader in_;
    LineHalf out_;
    std::int32_t record_line_ = 0;  // line of the keyword field most recently read
    std::int64_t gradient_cursor_ = 0;
    std::int32_t previous_gradient_ = 0;
    // The next geometry row to compute: every row below it holds its value.
    std::int64_t geometry_cursor_ = 0;
};

LineHalf LineCompiler::run() {
    Step st = find_generale();
    if (st == Step::next) st = header();
    if (st == Step::next) st = progressive_ordina(s_) ? Step::next : failure();
    if (st == Step::next) {
        prepare_body();
        st = body();
    }
    if (st == Step::next || st == Step::leave) st = close_line();
    switch (st) {
        case Step::next:
        case Step::leave:
            out_.end = LineEnd::finished;
            break;
        case Step::stop:
            out_.end = LineEnd::stopped;
            break;
        case Step::fail:
            out_.end = LineEnd::failed;
            break;
    }
    empty_remaining_rows();
    return out_;
}

bool LineCompiler::read_keyword() {
    if (!in_.read_text(&s_.riga)) return false;
    record_line_ = in_.line();
    return true;
}

Step LineCompiler::range_test(std::int32_t p) {
    // Before the length record there is no route to test against.
    if (!s_.has_route()) return failure();
    if (in_range(s_, p)) return Step::next;
    s_.codice_errore = codice::kFuoriPercorso;
    s_.posizione_errore = p;
    out_.line = record_line_;
    return Step::leave;
}

Step LineCompiler::give_up(std::int32_t code) {
    s_.codice_errore = code;
    out_.line = record_line_;
    return Step::stop;
}

Step LineCompiler::give_up_at(std::int32_t code, std::int32_t posizione) {
    s_.posizione_errore = posizione;
    return give_up(code);
}

Step LineCompiler::failure() {
    out_.line = record_line_;
    return Step::fail;
}

// --- Up to "[generale]" and the header block --------------------------------

Step LineCompiler::find_generale() {
    do {
        if (!read_keyword()) return failure();
        // The field that ends the file is never examined.
        if (in_.at_end()) return give_up(codice::kGeneraleMancante);
    } while (!contains_word(s_.riga, "[generale]"));
    return Step::next;
}

Step LineCompiler::header() {
    for (;;) {
        if (in_.at_end()) return Step::next;
        if (!read_keyword()) return failure();
        if (in_.at_end()) return Step::next;
        for (int i = 0; i < kCommentiTestata && has_dash(); ++i) {
            if (!read_keyword()) return failure();
        }
        if (const Step st = header_record(); st != Step::next) return st;
        if (ends_header(s_.riga)) return Step::next;
    }
}

Step LineCompiler::header_record() {
    for (Step (LineCompiler::*handler)() : {&LineCompiler::lunghezza, &LineCompiler::progressive,
                                            &LineCompiler::sfondi, &LineCompiler::ripetizione}) {
        if (const Step st = (this->*handler)(); st != Step::next) return st;
    }
    return Step::next;
}

Step LineCompiler::lunghezza() {
    if (!contains_word(s_.riga, "percorso") || !contains_word(s_.riga, "lunghezza"))
        return Step::next;
    voce& v = s_.voci[kVoceTestataTreno];
    if (!in_.read(&v.valore2)) return failure();
    if (v.valore2 > kLunghezzaMassima) return give_up(codice::kLunghezzaEccessiva);
    if (!create_route(s_, v.valore2)) return failure();
    return Step::next;
}

Step LineCompiler::progressive() {
    if (!contains_exact(s_.riga, "progressiva")) return Step::next;
    const struct {
        const char* word;
        int entry;
    } references[] = {
        {"tre", kVoceProgressivaTre},
        {"due", kVoceProgressivaDue},
        {"uno", kVoceProgressivaUno},
    };
    for (const auto& r : references) {
        if (!contains_exact(s_.riga, r.word)) continue;
        voce& v = s_.voci[static_cast<std::size_t>(r.entry)];
        if (!in_.read(&v.valore1, &v.valore2, &v.valore3)) return failure();
    }
    return Step::next;
}

Step LineCompiler::sfondi() {
    if (!contains_exact(s_.riga, "sfondo")) return Step::next;
    voce& v = s_.voci[kVoceTestataLinea];
    // The scenery values are stored out of their reading order: "due" goes to
    // `valore3` and "tre" to `valore2`.
    const struct {
        const char* word;
        std::int32_t* field;
    } values[] = {{"uno", &v.valore1}, {"due", &v.valore3}, {"tre", &v.valore2}};
    for (const auto& value : values) {
        if (contains_exact(s_.riga, value.word) && !in_.read(value.field)) return failure();
    }
    return Step::next;
}

Step LineCompiler::ripetizione() {
    if (!contains_exact(s_.riga, "segnali") || !contains_exact(s_.riga, "ripetizione"))
        return Step::next;
    voce& v = s_.voci[kVoceTestataCodici];
    if (!in_.read(&v.valore1, &v.valore2)) return failure();
    if (v.valore1 % kPassoRipetizione != 0) return give_up(codice::kRipetizionePrimaNonMultipla);
    if (v.valore2 % kPassoRipetizione != 0) return give_up(codice::kRipetizioneSecondaNonMultipla);
    if (contains_exact(s_.riga, "4")) {
        v.valore3 = kQuattroCodici;
    } else if (contains_exact(s_.riga, "9")) {
        v.valore3 = kNoveCodici;
    } else {
        return give_up(codice::kRipetizioneSenzaCodici);
    }
    if (v.valore2 == 0) v.valore3 = 0;
    return Step::next;
}

// --- The body ----------------------------------------------------------------

void LineCompiler::prepare_body() {
    s_.numero_montagne = 0;
    out_.sign_slot = kPrimoCartello;
    gradient_cursor_ = 0;
    previous_gradient_ = 0;
    geometry_cursor_ = 2;
    Tracciato& t = s_.tracciato;
    // A created geometry always has more than two rows.
    if (!t.exists()) return;
    t.tag[0] = t.tag[1] = Tag::intero;
    t.x[0] = 0.0;
    t.y[0] = 0.0;
    t.x[1] = 0.0;
    t.y[1] = 1.0;
}

Step LineCompiler::body() {
    for (;;) {
        if (in_.at_end()) return Step::next;
        if (!read_keyword()) return failure();
        if (in_.at_end()) return Step::next;
        for (int i = 0; i < kCommentiCorpo && has_dash(); ++i) {
            if (!read_keyword()) return failure();
            if (in_.at_end()) return Step::next;
        }
        if (const Step st = body_record(); st != Step::next) return st;
    }
}

// One keyword may name several record kinds; each is handled in this order.
Step LineCompiler::body_record() {
    for (Step (LineCompiler::*handler)() :
         {&LineCompiler::pendenza, &LineCompiler::curva, &LineCompiler::montagna,
          &LineCompiler::indicatore, &LineCompiler::cartello}) {
        if (const Step st = (this->*handler)(); st != Step::next) return st;
    }
    return Step::next;
}

bool LineCompiler::write_gradient() {
    cella* c = s_.cell(gradient_cursor_);
    if (c == nullptr) return false;
    c->pendenza = low8(std::int64_t{previous_gradient_} + kPendenzaPiana);
    ++gradient_cursor_;
    return true;
}

// The previous gradient holds up to the cell of the new record; at least one
// cell is written even when the cursor is already there.
Step LineCompiler::pendenza() {
    if (!contains_word(s_.riga, "pendenza")) return Step::next;
    std::int32_t p = 0;
    std::int32_t g = 0;
    if (!in_.read(&p, &g)) return failure();
    if (const Step st = range_test(p); st != Step::next) return st;
    const std::int64_t k = cell_of(p);
    if (k > 0) {
        do {
            if (!write_gradient()) return failure();
        } while (gradient_cursor_ < k);
    }
    previous_gradient_ = g;
    return Step::next;
}

Step LineCompiler::curva() {
    if (!contains_word(s_.riga, "curva") || s_.genera_linea == 0) return Step::next;
    std::int32_t a = 0;
    std::int32_t b = 0;
    if (!in_.read(&a, &b)) return failure();
    if (const Step st = range_test(a); st != Step::next) return st;
    std::optional<double> svolta = turn_of(s_.riga);
    if (!svolta) return give_up(codice::kCurva);
    if (contains_word(s_.riga, "s")) svolta = -*svolta;
    if (const Step st = extend(a, 0.0); st != Step::next) return st;
    return extend(std::int64_t{a} + b, *svolta);
}

// Adds rows turning by `svolta` per metre while the cursor is at most
// `up_to`. The last two rows of the geometry stay empty: a curve that would
// fill them reaches past what the route carries and is refused. The rows go
// in as few runs as the two limits allow, each row as if added one by one:
// a run stops at the last row the route carries and at the last row a
// curve may reach.
Step LineCompiler::extend(std::int64_t up_to, double svolta) {
    const std::int64_t last_row = last_geometry_row();
    while (geometry_cursor_ <= up_to) {
        if (geometry_cursor_ > last_row) return failure();
        add_rows(std::min({up_to, last_row, kUltimaRigaCurve}), svolta);
        if (geometry_cursor_ > kUltimaRigaCurve) return give_up(codice::kCurva);
    }
    return Step::next;
}

// Turns the older of two consecutive rows, (x2, y2), into the row after the
// newer one, (x1, y1): the step between them, turned by `svolta`. The
// operations are kept exactly in this order and form: the geometry file
// records the resulting doubles bit for bit.
inline void next_row(double& x2, double& y2, double x1, double y1, double svolta) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    x2 = x1 + (dx + dy * svolta);
    y2 = y1 + (dy - dx * svolta);
}

// Adds the rows from the cursor to `last`, each continuing the step between
// the two rows before it. The two latest rows are carried in locals, two
// rows a turn, so that the newest and the one before it change roles
// instead of being copied from one to the other.
// REQUIRES: 2 <= geometry_cursor_ <= last < rows.
void LineCompiler::add_rows(std::int64_t last, double svolta) {
    Tracciato& t = s_.tracciato;
    const auto first = static_cast<std::size_t>(geometry_cursor_);
    const auto end = static_cast<std::size_t>(last) + 1;
    assert(first >= 2 && first < end && end <= t.tag.size());
    double* const x = t.x.data();
    double* const y = t.y.data();
    double x2 = x[first - 2];
    double x1 = x[first - 1];
    double y2 = y[first - 2];
    double y1 = y[first - 1];
    std::size_t c = first;
    for (; c + 1 < end; c += 2) {
        next_row(x2, y2, x1, y1, svolta);
        x[c] = x2;
        y[c] = y2;
        next_row(x1, y1, x2, y2, svolta);
        x[c + 1] = x1;
        y[c + 1] = y1;
    }
    if (c < end) {
        next_row(x2, y2, x1, y1, svolta);
        x[c] = x2;
        y[c] = y2;
    }
    std::fill(t.tag.begin() + static_cast<std::ptrdiff_t>(first),
              t.tag.begin() + static_cast<std::ptrdiff_t>(end), Tag::reale);
    geometry_cursor_ = last + 1;
}

// The rows that the compile did not reach are empty: tag `vuoto`, 0 in both
// columns. Every row then holds its tag and values, however the compile
// ended (before the body, the cursor is still 0 and no row is seeded).
void LineCompiler::empty_remaining_rows() {
    Tracciato& t = s_.tracciato;
    if (!t.exists()) return;
    const auto from = static_cast<std::ptrdiff_t>(
        std::min(static_cast<std::size_t>(geometry_cursor_), t.x.size()));
    std::fill(t.tag.begin() + from, t.tag.end(), Tag::vuoto);
    std::fill(t.x.begin() + from, t.x.end(), 0.0);
    std::fill(t.y.begin() + from, t.y.end(), 0.0);
}

Step LineCompiler::montagna() {
    if (!contains_word(s_.riga, "montagna")) return Step::next;
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t tipo = 0;
    if (!in_.read(&inizio, &fine, &tipo)) return failure();
    if (const Step st = range_test(inizio); st != Step::next) return st;
    if (!memo_montagna(s_, inizio, fine, &tipo)) return failure();
    if (s_.codice_errore > 0) return give_up_at(s_.codice_errore, inizio);
    return Step::next;
}

Step LineCompiler::indicatore() {
    if (!contains_word(s_.riga, "indicatori_v")) return Step::next;
    std::int32_t posizione = 0, vas = 0, vbs = 0, vcs = 0, strisces = 0;
    std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
    if (!in_.read(&posizione, &vas, &vbs, &vcs, &strisces, &vad, &vbd, &vcd, &strisced))
        return failure();
    if (const Step st = range_test(posizione); st != Step::next) return st;
    // Stripe counts are 16-bit values: a larger count does not fit.
    if (!fits_integer(strisces) || !fits_integer(strisced)) return failure();
    if (!memo_indicatori_v_max(s_, posizione, vas, vbs, vcs, static_cast<std::int16_t>(strisces),
                               vad, vbd, vcd, static_cast<std::int16_t>(strisced)))
        return failure();
    if (s_.codice_errore > 0) return give_up_at(s_.codice_errore, posizione);
    return Step::next;
}

// Sign texts fill `voci` from entry 80 downward; the cell keeps the entry.
Step LineCompiler::cartello() {
    if (!contains_word(s_.riga, "cartello") || !contains_word(s_.riga, "indicat"))
        return Step::next;
    std::int32_t p = 0;
    if (!in_.read(&p, &s_.riga)) return failure();
    if (const Step st = range_test(p); st != Step::next) return st;
    cella* c = s_.cell(cell_after(p));
    if (c == nullptr) return failure();
    if (!is_free(*c)) return give_up_at(codice::kCartelloOccupato, p);
    voce* v = s_.entry(out_.sign_slot);
    if (v == nullptr) return failure();
    c->tipo = tipo_cella::kCartelloIndicatore;
    c->dato1 = low16(out_.sign_slot);
    v->testo = s_.riga;
    --out_.sign_slot;
    return Step::next;
}

// --- Closing -----------------------------------------------------------------

// The last gradient runs on to the cell below N - 2, and the geometry goes
// straight on to row `metri_totali` - 2.
Step LineCompiler::close_line() {
    do {
        if (!write_gradient()) return failure();
    } while (gradient_cursor_ < s_.ultima_cella() - 2);
    if (!s_.tracciato.exists()) return Step::next;
    const std::int64_t last_row = last_geometry_row();
    if (geometry_cursor_ <= last_row) add_rows(last_row, 0.0);
    return Step::next;
}

}  // namespace

LineHalf compila_linea(Scenario& s, std::string_view text) {
    return LineCompiler(s, text).run();
}

}  // namespace scenario
