#include "compiler/memorizza_dati.h"

#include "compiler/error_codes.h"
#include "compiler/line_compiler.h"
#include "compiler/route_rules.h"
#include "compiler/train_compiler.h"

namespace scenario {

namespace {

// Any failure while the sources are read: whatever is open is closed, the
// source files that still exist are removed and code 25 is recorded. The
// position of an earlier code is left as it was.
CompileResult& fail(Scenario& s, CompileResult& result, const SourceFile& treno) {
    s.codice_errore = codice::kLettura;
    result.linea_consumed = true;
    result.treno_consumed = treno.state != SourceState::missing;
    return result;
}

CompileResult& compile_train(Scenario& s, CompileResult& result, const SourceFile& treno,
                             std::int32_t sign_slot, CompileObserver* observer) {
    if (treno.state != SourceState::present) {
        result.where = {SourceKind::treno, 0};
        return fail(s, result, treno);
    }
    result.treno_consumed = true;
    if (!compila_treno(s, treno.text, sign_slot, &result.where, observer))
        return fail(s, result, treno);
    return result;
}

}  // namespace

CompileResult memorizza_dati(Scenario& s, const SourceFile& linea, const SourceFile& treno,
                             CompileObserver* observer) {
    CompileResult result;
    s.voci[kVoceTestataLinea].testo = s.nome_linea;
    s.voci[kVoceTestataCodici].testo = s.numero_treno;
    if (linea.state == SourceState::missing) {
        s.codice_errore = codice::kLineaMancante;
        result.where = {SourceKind::linea, 0};
        return result;
    }
    result.linea_consumed = true;
    if (linea.state == SourceState::unreadable) {
        result.where = {SourceKind::linea, 0};
        return fail(s, result, treno);
    }
    const std::int32_t code_before = s.codice_errore;
    const LineHalf half = compila_linea(s, linea.text, observer);
    if (half.end != LineEnd::finished || s.codice_errore != code_before)
        result.where = {SourceKind::linea, half.line};
    switch (half.end) {
        case LineEnd::stopped:
            return result;
        case LineEnd::failed:
            return fail(s, result, treno);
        case LineEnd::finished:
            break;
    }
    // Without a length record there is no route for the train to run on.
    if (!s.has_route() && s.codice_errore == codice::kNessuno) return fail(s, result, treno);
    return compile_train(s, result, treno, half.sign_slot, observer);
}

}  // namespace scenario
