// Placeholder until the line and train compilers land.
#include "compiler/memorizza_dati.h"

namespace scenario {

CompileResult memorizza_dati(Scenario& s, const SourceFile& linea, const SourceFile&) {
    CompileResult result;
    if (linea.state == SourceState::missing) {
        s.codice_errore = 101;
        return result;
    }
    result.linea_consumed = true;
    result.treno_consumed = true;
    return result;
}

}  // namespace scenario
