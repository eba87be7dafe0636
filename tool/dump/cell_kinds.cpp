#include "tool/dump/cell_kinds.h"

#include "compiler/model.h"
#include "compiler/record_kinds.h"

namespace scenario {

std::string_view tipo_name(std::uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::kVuota:
            return "none";
        case tipo_cella::kSegnale:
            return record_kind(RecordKindId::segnale).name;
        case tipo_cella::kFineRallentamento:
            return "slowdown end";
        case tipo_cella::kInizioRallentamento:
            return "slowdown start";
        case tipo_cella::kAvvisoRallentamento:
            return "slowdown warning";
        case tipo_cella::kPreavviso:
            return "slowdown lead-in";
        case tipo_cella::kIndicatoreVMax:
            return record_kind(RecordKindId::indicatori_vmax).name;
        case tipo_cella::kFermata:
            return "station stop";
        case tipo_cella::kSegnoGalleria:
            return "tunnel mark";
        case tipo_cella::kAbbattimento:
            return record_kind(RecordKindId::abbattimento).name;
        case tipo_cella::kAbbattimentoSenzaValore:
            return "speed-reduction point without value";
        case tipo_cella::kCartelloIndicatore:
            return record_kind(RecordKindId::cartello_indicatore).name;
        default:
            return "unknown";
    }
}

}  // namespace scenario
