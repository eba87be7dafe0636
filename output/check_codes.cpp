#include "output/check_codes.h"
#include "compiler/route_rules.h"

#include <array>

namespace scenario {

namespace {

// Pads short identities so that there are always 25 characters to sum.
constexpr std::string_view kRiempitivo = "aabbccddeeffgghhiillmmnnoo";

// Only A to Z have a lower case here; every other byte stays as it is, so
// the codes do not depend on the locale of the machine.
std::uint8_t lower_ascii(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 'A' && code <= 'Z' ? static_cast<std::uint8_t>(code - 'A' + 'a') : code;
}

// The character codes of the first 25 characters of the working text.
std::array<std::uint8_t, kCaratteriCodice> working_text(std::string_view numero_treno,
                                                        std::string_view nome_linea) {
    std::array<std::uint8_t, kCaratteriCodice> codes{};
    std::size_t i = 0;
    for (std::string_view part : {numero_treno, nome_linea, kRiempitivo}) {
        for (std::size_t k = 0; k < part.size() && i < codes.size(); ++k) {
            codes[i++] = lower_ascii(part[k]);
        }
    }
    return codes;
}

std::string_view testo_of(const Scenario& s, int index) {
    const voce* v = s.entry(index);
    return v != nullptr ? std::string_view(v->testo) : std::string_view();
}

}  // namespace

std::int32_t codice_gara_og(std::string_view numero_treno, std::string_view nome_linea) {
    std::int32_t sum = 0;
    for (std::uint8_t c : working_text(numero_treno, nome_linea))
        sum += c;
    return sum;
}

std::int32_t codice_gara_st(std::string_view numero_treno, std::string_view nome_linea) {
    const auto codes = working_text(numero_treno, nome_linea);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        sum += static_cast<std::int32_t>(i + 1) * codes[i];
    }
    return sum;
}

std::int32_t codice_gara_og(const Scenario& s) {
    return codice_gara_og(testo_of(s, kVoceTestataCodici), testo_of(s, kVoceTestataLinea));
}

std::int32_t codice_gara_st(const Scenario& s) {
    return codice_gara_st(testo_of(s, kVoceTestataCodici), testo_of(s, kVoceTestataLinea));
}

}  // namespace scenario
