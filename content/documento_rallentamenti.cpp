// The slowdown bulletin handed to the driver with the train card. The train
// runs under no temporary speed restriction, so the bulletin says only that.
#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {
// The blank lines keep the statement where the printed form has its body.
constexpr std::string_view kRallentamenti[] = {
    "", "", "", "", "                         NESSUNA PRESCRIZIONE", kSentinella,
};
}  // namespace

std::span<const std::string_view> testo_rallentamenti() {
    return kRallentamenti;
}

}  // namespace scenario
