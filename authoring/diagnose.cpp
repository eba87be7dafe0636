#include "authoring/diagnose.h"

#include <algorithm>
#include <optional>

#include "compiler/error_codes.h"
#include "compiler/record_kinds.h"
#include "compiler/route_rules.h"
#include "compiler/source_check.h"
#include "formats/source_lines.h"

namespace scenario {

namespace {

// One source file with its checks, and the lines that locate them.
struct CheckedFile {
    SourceKind file;
    std::string_view text;  // empty when the file is not there
    SourceLines lines{std::string_view{}};
    SourceCheck made;  // when the caller gave none
    const SourceCheck* check = nullptr;
    std::vector<bool> placed;  // the findings a recorded code took over

    explicit CheckedFile(SourceKind kind) : file(kind) {}
    CheckedFile(const CheckedFile&) = delete;  // `check` may point into `made`
    CheckedFile& operator=(const CheckedFile&) = delete;

    SourceRange range(FieldSpan span) const {
        const TextPosition b = lines.at(span.begin);
        const TextPosition e = lines.at(std::max(span.begin, span.end));
        return {b.line, b.column, e.line, e.column};
    }
    // The whole of a 1-based line.
    SourceRange whole_line(std::int32_t line) const {
        const auto width = static_cast<std::int32_t>(lines.line(line).size());
        return {line, 1, line, width + 1};
    }
};

// The checks of `source`, or those given, which the caller made alike.
void check_file(CheckedFile& f, const SourceFile& source, const SourceCheck* given,
                bool curves_read, std::optional<std::int32_t> ultima_cella) {
    f.check = &f.made;  // unless some are given
    if (source.state != SourceState::present) return;
    f.text = source.text;
    f.lines = SourceLines(f.text);
    if (given != nullptr) {
        f.check = given;
    } else {
        f.made = f.file == SourceKind::linea ? check_linea(f.text, curves_read)
                                             : check_treno(f.text, ultima_cella);
    }
    f.placed.assign(f.check->findings.size(), false);
}

Diagnostic make(DiagnosticId id, SourceKind file, SourceRange range, std::string message,
                std::string hint = {}) {
    return {id, diagnostic_kind(id).severity, file, range, std::move(message), std::move(hint)};
}

// The codes of the route pass name a place on the route, not a record.
bool is_pass_code(std::int32_t code) {
    return code == codice::kPuntoPrimaDelSegnale || code == codice::kFasciaOccupata ||
           code == codice::kPuntoNelRallentamento;
}

std::string_view object_name(std::uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::kSegnale:
            return record_kind(RecordKindId::segnale).name;
        case tipo_cella::kFineRallentamento:
        case tipo_cella::kInizioRallentamento:
        case tipo_cella::kAvvisoRallentamento:
        case tipo_cella::kPreavviso:
            return "slowdown cell";
        case tipo_cella::kIndicatoreVMax:
            return record_kind(RecordKindId::indicatori_vmax).name;
        case tipo_cella::kFermata:
            return "stop point of another station";
        case tipo_cella::kAbbattimento:
        case tipo_cella::kAbbattimentoSenzaValore:
            return record_kind(RecordKindId::abbattimento).name;
        case tipo_cella::kCartelloIndicatore:
            return record_kind(RecordKindId::cartello_indicatore).name;
        default:
            break;
    }
    return "object";
}

// The station that put the approach mark `dato6` on `cell`, if one did. Two
// stations whose marks overlap give a cell different marks, so the mark
// names the station.
const voce* station_marking(const Scenario& s, std::int64_t cell, std::uint8_t dato6) {
    const int count = station_count(s.voci, s.percorso);
    for (int n = kPrimaStazione; n < kPrimaStazione + count; ++n) {
        const voce& e = s.voci[static_cast<std::size_t>(n)];
        if (station_marks(e, cell, dato6)) return &e;
    }
    return nullptr;
}

class Diagnoser {
  public:
    Diagnoser(const SourceFile& linea, const SourceFile& treno, const Scenario& s,
              const BuildOutcome& outcome, const SourceChecks& given)
        : s_(s), outcome_(outcome), linea_state_(linea.state), treno_state_(treno.state) {
        check_file(linea_, linea, given.linea, s.genera_linea != 0, std::nullopt);
        check_file(treno_, treno, given.treno, false, linea_.check->ultima_cella);
    }

    std::vector<Diagnostic> run(const CompileEvents& events);

  private:
    CheckedFile& file(SourceKind kind) { return kind == SourceKind::treno ? treno_ : linea_; }
    void add_missing();
    void add_recorded_code();
    bool place_at_finding(Diagnostic& d, std::int32_t code, std::int32_t line);
    void add_outcome();
    void add_replacement(const CompileEvents::Replacement& r);
    void add_findings(const CheckedFile& f);
    const CheckedRecord* record_at(const CheckedFile& f, std::size_t keyword) const;

    const Scenario& s_;
    const BuildOutcome& outcome_;
    CheckedFile linea_{SourceKind::linea};
    CheckedFile treno_{SourceKind::treno};
    SourceState linea_state_;
    SourceState treno_state_;
    std::vector<Diagnostic> out_;
    std::size_t last_mark_keyword_ = 0;
};

std::vector<Diagnostic> Diagnoser::run(const CompileEvents& events) {
    add_missing();
    add_recorded_code();
    add_outcome();
    for (const CompileEvents::Replacement& r : events.replacements)
        add_replacement(r);
    add_findings(linea_);
    add_findings(treno_);
    std::stable_sort(out_.begin(), out_.end(), [](const Diagnostic& a, const Diagnostic& b) {
        const auto order = [](SourceKind k) { return k == SourceKind::none ? 3 : int(k); };
        if (a.file != b.file) return order(a.file) < order(b.file);
        if (a.range.line != b.range.line) return a.range.line < b.range.line;
        return a.range.column < b.range.column;
    });
    return std::move(out_);
}

void Diagnoser::add_missing() {
    const struct {
        SourceKind file;
        SourceState state;
        std::string_view what;
    } sources[] = {{SourceKind::linea, linea_state_, "line"},
                   {SourceKind::treno, treno_state_, "train"}};
    for (const auto& source : sources) {
        if (source.state == SourceState::present) continue;
        out_.push_back(
            make(DiagnosticId::missing_source, source.file, {},
                 "the " + std::string(source.what) + " source file " +
                     (source.state == SourceState::missing ? "is missing" : "cannot be read")));
    }
}

// The record at which the compile recorded its code, located as precisely
// as the checks can: at the field a check found at fault there, else at the
// whole record, else at the file.
void Diagnoser::add_recorded_code() {
    const std::int32_t code = s_.codice_errore;
    if (code == codice::kNessuno) return;
    // A missing file is its own diagnostic; the code it leaves says no more.
    if (code == codice::kLineaMancante) return;
    if (code == codice::kLettura &&
        (linea_state_ != SourceState::present || treno_state_ != SourceState::present))
        return;
    Diagnostic d = make(DiagnosticId::recorded_code, SourceKind::treno, {},
                        describe_error(code, s_.posizione_errore));
    if (is_pass_code(code)) {
        d.hint = "found by the route pass once both files were read";
        out_.push_back(std::move(d));
        return;
    }
    const SourceLocation where = outcome_.compile.where;
    d.file = where.file == SourceKind::none ? SourceKind::linea : where.file;
    if (code == codice::kGeneraleMancante || where.file == SourceKind::none || where.line <= 0) {
        place_at_finding(d, code, 0);
        out_.push_back(std::move(d));
        return;
    }
    if (!place_at_finding(d, code, where.line)) {
        const CheckedFile& f = file(where.file);
        d.range = f.whole_line(where.line);
        for (const CheckedRecord& r : f.check->records) {
            if (f.lines.at(r.keyword).line == where.line) {
                d.range = f.range({r.keyword, r.end});
                break;
            }
        }
        if (code == codice::kFuoriPercorso && where.file == SourceKind::treno) {
            d.hint =
                "a code 15 left by the line file ends the train file at its first signal or "
                "slowdown row";
        }
    }
    out_.push_back(std::move(d));
}

// Takes over the finding of `code` on `line` (0: the first finding of that
// code in either file), so that the code is shown once, at its field. A
// read failure may show only at a later record (a speed is laid into the
// cells when the next speed row comes): the last such finding before the
// line then stands for it.
bool Diagnoser::place_at_finding(Diagnostic& d, std::int32_t code, std::int32_t line) {
    for (CheckedFile* f : {&linea_, &treno_}) {
        if (line != 0 && f->file != d.file) continue;
        const std::vector<Finding>& findings = f->check->findings;
        std::size_t chosen = findings.size();
        for (std::size_t i = 0; i < findings.size(); ++i) {
            if (findings[i].code != code || f->placed[i]) continue;
            const std::int32_t at = f->lines.at(findings[i].span.begin).line;
            if (line == 0 || at == line) {
                chosen = i;
                break;
            }
            if (code == codice::kLettura && at < line) chosen = i;
        }
        if (chosen == findings.size()) continue;
        d.file = f->file;
        d.range = f->range(findings[chosen].span);
        d.hint = findings[chosen].message;
        f->placed[chosen] = true;
        return true;
    }
    return false;
}

void Diagnoser::add_outcome() {
    const bool missing =
        linea_state_ != SourceState::present || treno_state_ != SourceState::present;
    switch (outcome_.status) {
        case BuildOutcome::Status::no_route:
            if (missing) return;
            out_.push_back(make(DiagnosticId::no_route, SourceKind::linea, {},
                                "the compile created no route, so nothing is written",
                                "the header block needs a 'lunghezza percorso' record of at most "
                                "1000000 m"));
            return;
        case BuildOutcome::Status::fatal_check:
            out_.push_back(make(DiagnosticId::fatal_check, SourceKind::none, {},
                                describe_error(outcome_.fatal_code, 0) + ": nothing is written"));
            return;
        case BuildOutcome::Status::written:
        case BuildOutcome::Status::file_failure:
            return;
    }
}

const CheckedRecord* Diagnoser::record_at(const CheckedFile& f, std::size_t keyword) const {
    for (const CheckedRecord& r : f.check->records) {
        if (r.keyword == keyword) return &r;
    }
    return nullptr;
}

// A signal's four marks may replace several: they are told as one.
void Diagnoser::add_replacement(const CompileEvents::Replacement& r) {
    const CheckedFile& f = file(r.record.file);
    const CheckedRecord* record = record_at(f, r.record.keyword);
    const SourceRange range = record != nullptr ? f.range(record->first_value) : SourceRange{};
    const std::string subject =
        record != nullptr ? record->subject : std::string(record_kind(r.record.kind).name);
    if (r.what == CompileEvents::What::stop) {
        out_.push_back(make(DiagnosticId::stop_replaces_object, r.record.file, range,
                            subject + ": its stop point on " + cell_text(r.cell) +
                                " replaces the " + std::string(object_name(r.old)) + " there"));
        return;
    }
    const voce* station = station_marking(s_, r.cell, r.old);
    const std::string mark =
        "the mark " + std::to_string(r.old) + " of " +
        (station != nullptr ? "station " + station->testo : std::string("another signal")) +
        " on " + cell_text(r.cell);
    if (!out_.empty() && out_.back().id == DiagnosticId::mark_replaces_mark &&
        last_mark_keyword_ == r.record.keyword) {
        out_.back().message += ", and " + mark;
        return;
    }
    last_mark_keyword_ = r.record.keyword;
    out_.push_back(make(DiagnosticId::mark_replaces_mark, r.record.file, range,
                        subject + ": its approach marks replace " + mark));
}

void Diagnoser::add_findings(const CheckedFile& f) {
    for (std::size_t i = 0; i < f.check->findings.size(); ++i) {
        const Finding& finding = f.check->findings[i];
        if (!f.placed[i])
            out_.push_back(make(finding.id, f.file, f.range(finding.span), finding.message));
    }
}

}  // namespace

std::string cell_text(std::int64_t cell) {
    return "cell " + std::to_string(cell) + " (" + std::to_string(cell_start(cell)) + " to " +
           std::to_string(cell_start(cell + 1)) + " m)";
}

std::vector<Diagnostic> diagnose(const SourceFile& linea, const SourceFile& treno,
                                 const Scenario& s, const BuildOutcome& outcome,
                                 const CompileEvents& events, const SourceChecks& given) {
    return Diagnoser(linea, treno, s, outcome, given).run(events);
}

std::string reading_difference(const SourceFile& linea, const SourceFile& treno, const Scenario& s,
                               const CompileEvents& events) {
    CheckedFile l{SourceKind::linea};
    CheckedFile t{SourceKind::treno};
    check_file(l, linea, nullptr, s.genera_linea != 0, std::nullopt);
    check_file(t, treno, nullptr, false, l.check->ultima_cella);
    std::size_t next[2] = {0, 0};
    for (const CompileEvents::Record& r : events.records) {
        const CheckedFile& f = r.file == SourceKind::treno ? t : l;
        std::size_t& i = next[r.file == SourceKind::treno ? 1 : 0];
        const std::string where = std::string(r.file == SourceKind::treno ? "train" : "line") +
                                  " file, record " + std::to_string(i + 1);
        if (i >= f.check->records.size()) return where + ": not read by the checks";
        const CheckedRecord& c = f.check->records[i++];
        if (c.kind != r.kind || c.keyword != r.keyword || c.end != r.end) {
            return where + ": the compile read " + std::string(record_kind(r.kind).name) +
                   " at bytes " + std::to_string(r.keyword) + " to " + std::to_string(r.end) +
                   ", the checks " + std::string(record_kind(c.kind).name) + " at " +
                   std::to_string(c.keyword) + " to " + std::to_string(c.end);
        }
    }
    return {};
}

}  // namespace scenario
