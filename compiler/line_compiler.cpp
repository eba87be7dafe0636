#include "compiler/line_compiler.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>
#include <optional>
#include <span>
#include <string>

#include "compiler/error_codes.h"
#include "compiler/line_recorders.h"
#include "compiler/record_kinds.h"
#include "compiler/route_rules.h"
#include "formats/field_reader.h"
#include "formats/keywords.h"
#include "formats/source_layout.h"

namespace scenario {

namespace {

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
    LineCompiler(Scenario& s, std::string_view text, CompileObserver* observer)
        : s_(s), in_(text), observer_(observer) {}
    LineHalf run();

  private:
    // Reads the next keyword field; false when the record loop must stop,
    // with `*st` telling how.
    bool next_keyword(CommentRule rule, Step* st);

    Step find_generale();
    Step header();
    Step body();
    // Hands the keyword to every kind of `block` whose words it holds.
    Step dispatch(RecordBlock block);
    Step handle(RecordKindId kind);

    Step lunghezza();
    Step progressiva(int entry);
    Step sfondo(std::int32_t voce::*field);
    Step ripetizione();

    void prepare_body();
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
    // holds rows 0 to `metri_totali`, made or only counted).
    std::int64_t last_geometry_row() const { return std::int64_t{s_.metri_totali} - 2; }
    void add_rows(std::int64_t last, double svolta);
    void empty_remaining_rows();

    Scenario& s_;
    FieldReader in_;
    CompileObserver* observer_;
    const std::span<const RecordKind> header_kinds_ = record_kinds(RecordBlock::line_header);
    const std::span<const RecordKind> body_kinds_ = record_kinds(RecordBlock::line_body);
    LineHalf out_;
    std::int32_t record_line_ = 0;    // line of the keyword field most recently read
    std::size_t record_keyword_ = 0;  // where that field begins
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

bool LineCompiler::next_keyword(CommentRule rule, Step* st) {
    if (in_.at_end()) {
        *st = Step::next;
        return false;
    }
    const KeywordRead read = read_keyword(in_, &s_.riga, rule);
    record_line_ = in_.line();
    record_keyword_ = in_.last_field().begin;
    if (read == KeywordRead::keyword) return true;
    *st = read == KeywordRead::fail ? failure() : Step::next;
    return false;
}

Step LineCompiler::dispatch(RecordBlock block) {
    for (const RecordKind& kind : block == RecordBlock::line_header ? header_kinds_ : body_kinds_) {
        // Without a geometry to lay them into, curve records are not read.
        if (kind.id == RecordKindId::curva && s_.genera_linea == 0) continue;
        if (!selects(kind, s_.riga)) continue;
        if (observer_ != nullptr)
            observer_->record_begins(SourceKind::linea, kind.id, record_keyword_);
        const Step st = handle(kind.id);
        if (st != Step::next) return st;
        if (observer_ != nullptr) observer_->record_ends(in_.last_field().end);
    }
    return Step::next;
}

Step LineCompiler::handle(RecordKindId kind) {
    switch (kind) {
        case RecordKindId::lunghezza:
            return lunghezza();
        case RecordKindId::progressiva_tre:
            return progressiva(kVoceProgressivaTre);
        case RecordKindId::progressiva_due:
            return progressiva(kVoceProgressivaDue);
        case RecordKindId::progressiva_uno:
            return progressiva(kVoceProgressivaUno);
        // The scenery values are stored out of their reading order: "due"
        // goes to `valore3` and "tre" to `valore2`.
        case RecordKindId::sfondo_uno:
            return sfondo(&voce::valore1);
        case RecordKindId::sfondo_due:
            return sfondo(&voce::valore3);
        case RecordKindId::sfondo_tre:
            return sfondo(&voce::valore2);
        case RecordKindId::ripetizione:
            return ripetizione();
        case RecordKindId::pendenza:
            return pendenza();
        case RecordKindId::curva:
            return curva();
        case RecordKindId::montagna:
            return montagna();
        case RecordKindId::indicatori_vmax:
            return indicatore();
        case RecordKindId::cartello_indicatore:
            return cartello();
        default:
            break;  // the train file's kinds never reach the line file
    }
    return failure();
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
    const Preamble preamble = skip_preamble(in_, &s_.riga);
    record_line_ = in_.line();
    switch (preamble) {
        case Preamble::found:
            return Step::next;
        case Preamble::end:
            return give_up(codice::kGeneraleMancante);
        case Preamble::fail:
            break;
    }
    return failure();
}

Step LineCompiler::header() {
    Step st = Step::next;
    while (next_keyword(kHeaderComments, &st)) {
        if (st = dispatch(RecordBlock::line_header); st != Step::next) return st;
        if (ends_header(s_.riga)) return Step::next;
    }
    return st;
}

Step LineCompiler::lunghezza() {
    voce& v = s_.voci[kVoceTestataTreno];
    if (!in_.read(&v.valore2)) return failure();
    if (v.valore2 > kLunghezzaMassima) return give_up(codice::kLunghezzaEccessiva);
    if (!create_route(s_, v.valore2)) return failure();
    return Step::next;
}

Step LineCompiler::progressiva(int entry) {
    voce& v = s_.voci[static_cast<std::size_t>(entry)];
    return in_.read(&v.valore1, &v.valore2, &v.valore3) ? Step::next : failure();
}

Step LineCompiler::sfondo(std::int32_t voce::*field) {
    return in_.read(&(s_.voci[kVoceTestataLinea].*field)) ? Step::next : failure();
}

Step LineCompiler::ripetizione() {
    voce& v = s_.voci[kVoceTestataCodici];
    if (!in_.read(&v.valore1, &v.valore2)) return failure();
    if (v.valore1 % kMetriCella != 0) return give_up(codice::kRipetizionePrimaNonMultipla);
    if (v.valore2 % kMetriCella != 0) return give_up(codice::kRipetizioneSecondaNonMultipla);
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

// One keyword may name several record kinds; each is handled in the
// order of the table.
Step LineCompiler::body() {
    Step st = Step::next;
    while (next_keyword(kBodyComments, &st)) {
        if (st = dispatch(RecordBlock::line_body); st != Step::next) return st;
    }
    return st;
}

bool LineCompiler::write_gradient() {
    cella* c = s_.cell(gradient_cursor_);
    if (c == nullptr) return false;
    c->pendenza = pendenza_of(previous_gradient_);
    ++gradient_cursor_;
    return true;
}

// The previous gradient holds up to the cell of the new record; at least one
// cell is written even when the cursor is already there.
Step LineCompiler::pendenza() {
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
// curve may reach. Rows only counted are passed over with the same limits.
Step LineCompiler::extend(std::int64_t up_to, double svolta) {
    const std::int64_t last_row = last_geometry_row();
    while (geometry_cursor_ <= up_to) {
        if (geometry_cursor_ > last_row) return failure();
        const std::int64_t last = std::min({up_to, last_row, kUltimaRigaCurve});
        if (s_.tracciato.exists()) {
            add_rows(last, svolta);
        } else {
            geometry_cursor_ = last + 1;
        }
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

LineHalf compila_linea(Scenario& s, std::string_view text, CompileObserver* observer) {
    return LineCompiler(s, text, observer).run();
}

}  // namespace scenario
