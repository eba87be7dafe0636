// One 15-byte record per cell of `percorso`, 0 to N, with nothing between
// them. Cell 1 is the header cell: its dato1 carries the format mark and
// its dato2 the plain check code.
//
//   offset  width  field
//   0       1      tipo
//   1       2      dato1 (signed)
//   3       2      dato2 (signed)
//   5       2      dato3 (signed)
//   7       2      dato4 (signed)
//   9       1      dato5
//   10      1      dato6
//   11      1      galleria
//   12      1      velocita
//   13      1      pendenza
//   14      1      aderenza
#include "output/route_writer.h"

#include <cassert>

namespace scenario {

namespace {

void put_cella(Bytes& out, const cella& c) {
    const std::size_t before = out.size();
    put_u8(out, c.tipo);
    put_i16(out, c.dato1);
    put_i16(out, c.dato2);
    put_i16(out, c.dato3);
    put_i16(out, c.dato4);
    put_u8(out, c.dato5);
    put_u8(out, c.dato6);
    put_u8(out, c.galleria);
    put_u8(out, c.velocita);
    put_u8(out, c.pendenza);
    put_u8(out, c.aderenza);
    assert(out.size() - before == kCellaBytes);
    (void)before;
}

}  // namespace

Bytes route_image(const Scenario& s) {
    Bytes out;
    out.reserve(s.percorso.size() * kCellaBytes);
    for (const cella& c : s.percorso)
        put_cella(out, c);
    return out;
}

}  // namespace scenario
