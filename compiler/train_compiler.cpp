#include "compiler/train_compiler.h"

#include <limits>
#include <span>

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "compiler/record_kinds.h"
#include "compiler/route_rules.h"
#include "compiler/train_recorders.h"
#include "formats/field_reader.h"
#include "formats/source_layout.h"

namespace scenario {

namespace {

constexpr std::int32_t kLengthStep = 2 * kMetriCella;  // so that half a length is whole cells
constexpr std::int32_t kMinSpacing = 350;              // from the previous station's far end
constexpr std::int32_t kLongStation = 600;             // shorter stations drop field 5
constexpr std::int32_t kShortEndBeyond = 150;          // kinds 5 and 6 end this far past p
constexpr std::int32_t kByte3Extension = 50;

constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerMinute = 60;

// How a record handler leaves the reading loop.
enum class Step : std::uint8_t {
    next,   // go on with the next keyword field
    close,  // stop reading and run the closing steps (code 15)
    stop,   // a code was recorded: the train file is deleted, nothing else runs
    fail,   // a read failure or an access outside a store: the caller records 25
};

// One of the two profiles laid into every cell from 0 to N - 3.
struct Profile {
    std::uint8_t cella::*field;
    bool in_fifths;  // speeds are stored in units of 5 km/h
    std::int64_t cursor = 0;
    std::int32_t running = 0;  // the value that applies at the cursor
};

bool fits_long(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

// The byte a profile cell receives; false when the fifth of a speed does not
// fit one.
bool profile_byte(const Profile& p, std::uint8_t* out) {
    if (!p.in_fifths) {
        *out = low8(p.running);
        return true;
    }
    const std::int64_t fifth = speed_units(p.running);
    if (fifth < 0 || fifth > std::numeric_limits<std::uint8_t>::max()) return false;
    *out = static_cast<std::uint8_t>(fifth);
    return true;
}

class TrainCompiler {
  public:
    TrainCompiler(Scenario& s, std::string_view text, std::int32_t sign_slot, SourceLocation* where,
                  CompileObserver* observer)
        : s_(s), reader_(text), sign_slot_(sign_slot), where_(where), observer_(observer) {}

    bool run();

  private:
    bool skip_preamble();
    Step read_records();
    Step read_keyword();
    Step handle_record();
    Step handle(RecordKindId kind);
    bool close();

    Step braked_mass() { return read_or_fail(&s_.voci[kVoceTestataTreno].valore1); }
    Step carriages() { return read_or_fail(&s_.voci[kVoceTestataTreno].valore3); }
    Step sanding() { return read_or_fail(&s_.voci[kVoceTestataCodici].numero1); }
    Step clock();
    Step speed_limit() { return profile_row(speed_); }
    Step adhesion() { return profile_row(adhesion_); }
    Step profile_row(Profile& p);
    Step signal();
    Step slowdown();
    Step abbattimento();
    Step station();

    Step read_station_values(voce& e);
    Step place_station(voce& e, std::int32_t length);
    Step set_extent(voce& e, std::int32_t length);
    Step mark_stop(const voce& e);
    Step count_station();

    bool advance(Profile& p, std::int64_t target);
    Step after_recorder(bool handled, std::int32_t posizione);
    Step out_of_range(std::int32_t p);
    Step refuse(std::int32_t code, std::int32_t p);
    Step refuse(std::int32_t code);
    void locate() {
        if (where_ != nullptr) *where_ = {SourceKind::treno, record_line_};
    }
    template <typename... T>
    Step read_or_fail(T*... out) {
        return reader_.read(out...) ? Step::next : Step::fail;
    }

    Scenario& s_;
    FieldReader reader_;
    std::int32_t sign_slot_;
    SourceLocation* where_;
    CompileObserver* observer_;
    const std::span<const RecordKind> kinds_ = record_kinds(RecordBlock::train);
    std::int32_t record_line_ = 0;
    std::size_t record_keyword_ = 0;  // where the keyword field of the record begins
    std::int32_t n_ = 1;              // index in `voci` of the next station entry
    Profile speed_{&cella::velocita, true};
    Profile adhesion_{&cella::aderenza, false};
};

bool TrainCompiler::run() {
    if (!s_.has_route() || !skip_preamble()) return false;
    switch (read_records()) {
        case Step::fail:
            // The record in progress stands for the read failure, as in the line file.
            if (record_line_ > 0) locate();
            return false;
        case Step::stop:
            return true;
        case Step::next:
        case Step::close:
            break;
    }
    return close();
}

// Everything up to and including the first field that holds "[generale]" is
// never interpreted. An empty file fails on its first read.
bool TrainCompiler::skip_preamble() {
    return scenario::skip_preamble(reader_, &s_.riga) != Preamble::fail;
}

// The last field of the file is never interpreted: reaching the end right
// after a keyword field ends the reading.
Step TrainCompiler::read_records() {
    while (!reader_.at_end()) {
        const Step keyword = read_keyword();
        if (keyword != Step::next) return keyword;
        const Step handled = handle_record();
        if (handled != Step::next) return handled;
    }
    return Step::close;
}

Step TrainCompiler::read_keyword() {
    switch (scenario::read_keyword(reader_, &s_.riga, kBodyComments)) {
        case KeywordRead::keyword:
            break;
        case KeywordRead::end:
            return Step::close;
        case KeywordRead::fail:
            return Step::fail;
    }
    record_line_ = reader_.line();
    record_keyword_ = reader_.last_field().begin;
    return Step::next;
}

// Every kind whose words the keyword field holds is read in turn, in the
// order of the table, so one field naming two kinds reads two records.
Step TrainCompiler::handle_record() {
    for (const RecordKind& kind : kinds_) {
        if (!selects(kind, s_.riga)) continue;
        if (observer_ != nullptr) {
            observer_->record_begins(SourceKind::treno, kind.id, record_keyword_);
        }
        const Step step = handle(kind.id);
        if (step != Step::next) return step;
        if (observer_ != nullptr) observer_->record_ends(reader_.last_field().end);
    }
    return Step::next;
}

Step TrainCompiler::handle(RecordKindId kind) {
    switch (kind) {
        case RecordKindId::massa_frenata:
            return braked_mass();
        case RecordKindId::vetture:
            return carriages();
        case RecordKindId::velocita:
            return speed_limit();
        case RecordKindId::aderenza:
            return adhesion();
        case RecordKindId::orologio:
            return clock();
        case RecordKindId::sabbia:
            return sanding();
        case RecordKindId::segnale:
            return signal();
        case RecordKindId::rallentamento:
            return slowdown();
        case RecordKindId::abbattimento:
            return abbattimento();
        case RecordKindId::stazione:
            return station();
        default:
            break;  // the line file's kinds never reach the train file
    }
    return Step::fail;
}

Step TrainCompiler::clock() {
    voce& e = s_.voci[kVoceTestataCodici];
    return read_or_fail(&e.numero3, &e.numero4, &e.numero5);
}

// The running value applies from the cursor up to the row's cell; the row's
// value applies from there on. At least one cell is written for a row
// beyond 0, even one that does not lie past the cursor.
Step TrainCompiler::profile_row(Profile& p) {
    std::int32_t q = 0;
    std::int32_t value = 0;
    if (!reader_.read(&q, &value)) return Step::fail;
    if (!in_range(s_, q)) return out_of_range(q);
    const std::int64_t c = cell_of(q);
    if (c > 0 && !advance(p, c)) return Step::fail;
    p.running = value;
    return Step::next;
}

// Writes the running value at the cursor and moves it on, at least once and
// then while the cursor is below `target`. A cursor at N writes nothing:
// only rows out of order push it that far.
bool TrainCompiler::advance(Profile& p, std::int64_t target) {
    const std::int64_t last = s_.ultima_cella();
    do {
        cella* c = p.cursor < last ? s_.cell(p.cursor) : nullptr;
        if (c == nullptr) return true;
        std::uint8_t value = 0;
        if (!profile_byte(p, &value)) return false;
        c->*p.field = value;
        ++p.cursor;
    } while (p.cursor < target);
    return true;
}

Step TrainCompiler::signal() {
    std::int32_t posizione = 0, sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0;
    std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;
    if (!reader_.read(&posizione, &sx, &s1, &s2, &s3, &rapp, &dx, &d1, &d2, &d3, &tempo)) {
        return Step::fail;
    }
    if (!in_range(s_, posizione)) return out_of_range(posizione);
    const bool handled =
        memo_segnale(s_, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo, observer_);
    return after_recorder(handled, posizione);
}

Step TrainCompiler::slowdown() {
    std::int32_t x = 0, v = 0, l = 0, f_tt = 0, f_ta = 0, d_v = 0;
    if (!reader_.read(&x, &v, &l, &f_tt, &f_ta, &d_v)) return Step::fail;
    if (!in_range(s_, x)) return out_of_range(x);
    return after_recorder(memo_rallentamento(s_, x, v, l, f_tt, f_ta, d_v), x);
}

// Any code, even one the line file left, ends the reading here: the row's
// position then stands for it.
Step TrainCompiler::after_recorder(bool handled, std::int32_t posizione) {
    if (!handled) return Step::fail;
    if (s_.codice_errore <= 0) return Step::next;
    s_.posizione_errore = posizione;
    locate();
    return Step::stop;
}

Step TrainCompiler::abbattimento() {
    std::int32_t q = 0;
    std::int32_t u = 0;
    if (!reader_.read(&q, &u)) return Step::fail;
    if (!in_range(s_, q)) return out_of_range(q);
    cella* c = s_.cell(cell_of(q));
    if (c == nullptr) return Step::fail;
    if (!is_free(*c)) return refuse(codice::kAbbattimentoOccupato, q);
    if (u > 0) {
        c->tipo = tipo_cella::kAbbattimento;
        c->dato1 = low16(u);
    } else {
        c->tipo = tipo_cella::kAbbattimentoSenzaValore;
    }
    return Step::next;
}

// The fields are read one at a time, with the tests between the reads: a
// refused station leaves the fields read before the refusal in its entry.
Step TrainCompiler::station() {
    voce* e = s_.entry(n_);
    if (e == nullptr) return Step::fail;
    if (!reader_.read(&e->valore3)) return Step::fail;
    const std::int32_t p = e->valore3;
    if (!in_range(s_, p, kMargineStazione)) return out_of_range(p);
    if (p % kMetriCella != 0) return refuse(codice::kStazioneNonMultipla, p);
    std::int32_t length = 0;
    if (!reader_.read(&e->tipo, &length)) return Step::fail;
    if (length % kLengthStep != 0) return refuse(codice::kLunghezzaStazione, p);
    const Step values = read_station_values(*e);
    if (values != Step::next) return values;
    return place_station(*e, length);
}

Step TrainCompiler::read_station_values(voce& e) {
    std::int32_t hours = 0, minutes = 0, seconds = 0;
    if (!reader_.read(&e.segno, &e.byte4, &e.byte3, &e.numero1, &e.numero2, &e.byte1, &e.numero3,
                      &e.numero4, &e.numero5, &e.byte2, &hours, &minutes, &seconds, &e.testo)) {
        return Step::fail;
    }
    const std::int64_t time = hours * kSecondsPerHour + minutes * kSecondsPerMinute + seconds;
    if (!fits_long(time)) return Step::fail;  // the time of day overflows 32 bits
    e.valore4 = static_cast<std::int32_t>(time);
    return Step::next;
}

Step TrainCompiler::place_station(voce& e, std::int32_t length) {
    const Step extent = set_extent(e, length);
    if (extent != Step::next) return extent;
    if (length < kLongStation) e.byte4 = 0;
    // The first station keeps neither value; its far end has already used `byte3`.
    if (n_ == 1) {
        e.byte3 = 0;
        e.byte4 = 0;
    }
    const Step stop = mark_stop(e);
    if (stop != Step::next) return stop;
    const voce* previous = s_.entry(n_ - 1);
    if (n_ > 1 && previous != nullptr &&
        static_cast<std::int64_t>(e.valore1) - kMinSpacing < previous->valore2) {
        return refuse(codice::kStazioniVicine, e.valore3);
    }
    return count_station();
}

// Start and far end of the station by kind. With p a multiple of 50 and the
// length a multiple of 100, both are multiples of 50.
Step TrainCompiler::set_extent(voce& e, std::int32_t length) {
    const std::int64_t p = e.valore3;
    std::int64_t start = p - length / 2;
    std::int64_t end = p + length / 2 + (e.byte3 != 0 ? kByte3Extension : 0);
    if (is_short_kind(e.tipo) || is_long_kind(e.tipo)) {
        start = p - length;
        end = is_short_kind(e.tipo) ? p + kShortEndBeyond : p + length;
        e.byte3 = 0;
    }
    if (!fits_long(start) || !fits_long(end)) return Step::fail;
    e.valore1 = static_cast<std::int32_t>(start);
    e.valore2 = static_cast<std::int32_t>(end);
    return Step::next;
}

// A station of kind below 25 gets a stop point on the cell before its far
// end (replacing whatever stood there) and, unless it is of kind 5 or 6,
// the approach marks 81 to 84 on the four cells before that.
Step TrainCompiler::mark_stop(const voce& e) {
    if (!has_stop_point(e.tipo)) return Step::next;
    const std::int64_t j = stop_cell(e.valore2);
    if (!beyond_header(j)) return refuse(codice::kFermataInizio);
    cella* stop = s_.cell(j);
    if (stop == nullptr) return Step::fail;
    if (has_approach_marks(e.tipo)) {
        for (int k = 1; k <= kSegniStazione && beyond_header(mark_cell(j, k)); ++k) {
            if (cella* mark = s_.cell(mark_cell(j, k))) mark->dato6 = mark_value(k);
        }
    }
    if (observer_ != nullptr && !is_free(*stop)) observer_->stop_replaces(j, stop->tipo);
    stop->tipo = tipo_cella::kFermata;
    stop->dato1 = low16(n_);
    return Step::next;
}

// The station entries must stay below the sign texts of the line file: the
// station that reaches them is stored and marked, then refused.
Step TrainCompiler::count_station() {
    ++n_;
    if (n_ >= sign_slot_) return refuse(codice::kTroppeStazioni);
    return Step::next;
}

Step TrainCompiler::out_of_range(std::int32_t p) {
    s_.codice_errore = codice::kFuoriPercorso;
    s_.posizione_errore = p;
    locate();
    return Step::close;
}

Step TrainCompiler::refuse(std::int32_t code, std::int32_t p) {
    s_.posizione_errore = p;
    return refuse(code);
}

Step TrainCompiler::refuse(std::int32_t code) {
    s_.codice_errore = code;
    locate();
    return Step::stop;
}

// The profiles run up to N - 3 with the last values of the file. The
// kilometric references are checked last, whatever happened before.
bool TrainCompiler::close() {
    const std::int64_t target = profile_end(s_.ultima_cella());
    if (!advance(speed_, target) || !advance(adhesion_, target)) return false;
    for (int i = kVoceProgressivaTre; i <= kVoceProgressivaUno; ++i) {
        const voce& ref = s_.voci[i];
        if (ref.valore1 % kMetriCella != 0 || ref.valore2 % kMetriCella != 0) {
            s_.codice_errore = codice::kProgressivaNonMultipla;
            // The references come from the line file: no train record stands for the code.
            if (where_ != nullptr) *where_ = SourceLocation{};
        }
    }
    return true;
}

}  // namespace

bool compila_treno(Scenario& s, std::string_view text, std::int32_t sign_slot,
                   SourceLocation* where, CompileObserver* observer) {
    TrainCompiler compiler(s, text, sign_slot, where, observer);
    return compiler.run();
}

}  // namespace scenario
