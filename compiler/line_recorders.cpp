#include "compiler/line_recorders.h"

#include <array>
#include <limits>
#include <optional>

#include "compiler/error_codes.h"
#include "compiler/route_rules.h"

namespace scenario {

namespace {

// The amount added to the kilometric value of a reference that counts down.
constexpr std::int32_t kScostamentoDecrescente = 100;

// Tunnel kinds above this request marks; the kind given to a tunnel that
// follows the previous one within kDistanzaGallerieVicine metres.
constexpr std::int32_t kRichiestaSegni = 10;
constexpr std::int32_t kGalleriaContigua = 3;
constexpr std::int32_t kDistanzaGallerieVicine = 150;
constexpr std::int64_t kPassoSegni = 4;

struct Progressiva {
    std::int32_t posizione = 0;
    std::int32_t valore = 0;
    std::int32_t verso = 0;  // 1 when the progressive counts down
};

Progressiva read_reference(const voce& v) {
    return {v.valore1, v.valore2, v.valore3};
}

void write_reference(voce& v, const Progressiva& p) {
    v.valore1 = p.posizione;
    v.valore2 = p.valore;
    v.valore3 = p.verso;
}

bool fits_long(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

bool fits_integer(std::int64_t v) {
    return v >= std::numeric_limits<std::int16_t>::min() &&
           v <= std::numeric_limits<std::int16_t>::max();
}

// The order by starting position, largest first; an empty result when the
// largest position is shared.
std::optional<std::array<Progressiva, 3>> order_by_position(const Progressiva& t,
                                                            const Progressiva& d,
                                                            const Progressiva& u) {
    using Order = std::array<Progressiva, 3>;
    if (t.posizione > d.posizione && t.posizione > u.posizione)
        return d.posizione > u.posizione ? Order{t, d, u} : Order{t, u, d};
    if (d.posizione > t.posizione && d.posizione > u.posizione)
        return t.posizione > u.posizione ? Order{d, t, u} : Order{d, u, t};
    if (u.posizione > t.posizione && u.posizione > d.posizione)
        return t.posizione > d.posizione ? Order{u, t, d} : Order{u, d, t};
    return std::nullopt;
}

// When every reference starts at 0, the first one with a kilometric value
// decides the order, "uno" before "due" before "tre".
std::optional<std::array<Progressiva, 3>> order_by_value(const Progressiva& t, const Progressiva& d,
                                                         const Progressiva& u) {
    using Order = std::array<Progressiva, 3>;
    if (u.valore > 0) return Order{u, d, t};
    if (d.valore > 0) return Order{d, t, u};
    if (t.valore > 0) return Order{t, d, u};
    return std::nullopt;
}

}  // namespace

bool progressive_ordina(Scenario& s) {
    const Progressiva t = read_reference(s.voci[kVoceProgressivaTre]);
    const Progressiva d = read_reference(s.voci[kVoceProgressivaDue]);
    const Progressiva u = read_reference(s.voci[kVoceProgressivaUno]);
    const std::int64_t somma = std::int64_t{t.posizione} + d.posizione + u.posizione;
    if (!fits_long(somma)) return false;
    const auto order = somma != 0 ? order_by_position(t, d, u) : order_by_value(t, d, u);
    std::array<Progressiva, 3> result{};  // all zeros when no order exists
    if (order) result = *order;
    for (int i = 0; i < 3; ++i) {
        Progressiva& p = result[static_cast<std::size_t>(i)];
        if (p.verso == 1) {
            const std::int64_t valore = std::int64_t{p.valore} + kScostamentoDecrescente;
            if (!fits_long(valore)) return false;
            p.valore = static_cast<std::int32_t>(valore);
        }
        write_reference(s.voci[kVoceProgressivaTre + i], p);
    }
    return true;
}

bool memo_montagna(Scenario& s, std::int32_t inizio, std::int32_t fine, std::int32_t* tipo) {
    const std::int64_t first = cell_of(inizio);
    const std::int64_t last = round_half_even(static_cast<double>(fine) / kMetriCella - 1.0);
    if (s.numero_montagne >= kMaxMontagne) return false;
    if (first <= last && (s.cell(first) == nullptr || s.cell(last) == nullptr)) return false;

    const bool segni = *tipo > kRichiestaSegni;
    if (segni) *tipo -= kRichiestaSegni;
    const std::int32_t n = ++s.numero_montagne;
    s.montagne_inizio[static_cast<std::size_t>(n)] = inizio;
    s.montagne_fine[static_cast<std::size_t>(n)] = fine;
    if (n > 1) {
        const std::int64_t distanza =
            std::int64_t{inizio} - s.montagne_fine[static_cast<std::size_t>(n - 1)];
        if (distanza <= kDistanzaGallerieVicine) *tipo = kGalleriaContigua;
    }
    for (std::int64_t i = first; i <= last; ++i) {
        cella* c = s.cell(i);
        c->galleria = low8(*tipo);
        const std::int64_t conta = i - first + 1;
        if (segni && conta % kPassoSegni == 0 && c->tipo == tipo_cella::kVuota)
            c->tipo = tipo_cella::kSegnoGalleria;
    }
    return true;
}

bool memo_indicatori_v_max(Scenario& s, std::int32_t posizione, std::int32_t vas, std::int32_t vbs,
                           std::int32_t vcs, std::int16_t strisces, std::int32_t vad,
                           std::int32_t vbd, std::int32_t vcd, std::int16_t strisced) {
    cella* c = s.cell(cell_after(posizione));
    if (c == nullptr) return false;
    if (!is_free(*c)) {
        s.codice_errore = codice::kIndicatoreOccupato;
        return true;
    }
    const std::int64_t dato1 = packed_board_speed(vas, vad);
    const std::int64_t dato2 = packed_board_speed(vbs, vbd);
    const std::int64_t dato3 = packed_board_speed(vcs, vcd);
    // The stripe word is worked out in 16 bits: the product must fit as well.
    const std::int64_t strisce_dieci = std::int64_t{strisces} * 10;
    const std::int64_t dato4 = strisce_dieci + strisced;
    if (!fits_integer(dato1) || !fits_integer(dato2) || !fits_integer(dato3) ||
        !fits_integer(strisce_dieci) || !fits_integer(dato4))
        return false;
    c->tipo = tipo_cella::kIndicatoreVMax;
    c->dato1 = static_cast<std::int16_t>(dato1);
    c->dato2 = static_cast<std::int16_t>(dato2);
    c->dato3 = static_cast<std::int16_t>(dato3);
    c->dato4 = static_cast<std::int16_t>(dato4);
    return true;
}

std::int32_t minimo(std::int32_t x, std::int32_t y) {
    return x > y ? y : x;
}

}  // namespace scenario
