#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {
constexpr std::string_view kRighe[] = {
    "[generale]",
    "[fine]",
    kSentinella,
};
}  // namespace

std::span<const std::string_view> testo_treno() { return kRighe; }

}  // namespace scenario
