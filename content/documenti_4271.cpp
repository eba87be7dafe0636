#include "content/embedded_texts.h"

#include "content/emitter.h"

namespace scenario {

namespace {
constexpr std::string_view kNote[] = {"", kSentinella};
constexpr std::string_view kRallentamenti[] = {"", kSentinella};
constexpr std::string_view kScheda[] = {"", kSentinella};
}  // namespace

std::span<const std::string_view> testo_note() { return kNote; }
std::span<const std::string_view> testo_rallentamenti() { return kRallentamenti; }
std::span<const std::string_view> testo_scheda() { return kScheda; }

}  // namespace scenario
