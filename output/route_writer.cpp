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

namespace scenario {

namespace {

void put_cella(LeRecord<kCellaBytes> out, const cella& c) {
    out.u8<0>(c.tipo);
    out.i16<1>(c.dato1);
    out.i16<3>(c.dato2);
    out.i16<5>(c.dato3);
    out.i16<7>(c.dato4);
    out.u8<9>(c.dato5);
    out.u8<10>(c.dato6);
    out.u8<11>(c.galleria);
    out.u8<12>(c.velocita);
    out.u8<13>(c.pendenza);
    out.u8<14>(c.aderenza);
}

}  // namespace

Bytes route_image(const Scenario& s) {
    Bytes out(s.percorso.size() * kCellaBytes);
    const LeRun<kCellaBytes> cells(out, 0, s.percorso.size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        put_cella(cells[i], s.percorso[i]);
    return out;
}

}  // namespace scenario
