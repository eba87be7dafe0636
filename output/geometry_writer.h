// The line geometry file: the plan of the line as the simulator loads it.
#pragma once

#include <cstddef>

#include "compiler/model.h"
#include "output/file_system.h"
#include "output/le_writer.h"

namespace scenario {

// The file is a stream of tagged items: a 16-bit tag, then the value its
// tag calls for.
inline constexpr std::size_t kTagBytes = 2;
inline constexpr std::size_t kInteroValueBytes = 2;  // tag 2: a 16-bit integer
inline constexpr std::size_t kRealeValueBytes = 8;   // tag 5: an IEEE 754 double

// Bytes of one piece of the file as it is encoded and handed on: small
// enough to stay in the processor's cache (and, beside the embedded line's
// columns, in their one large page), large enough that a line takes few
// writes. Measured against 16, 64, 256 and 1024 KiB.
inline constexpr std::size_t kGeometryPieceBytes = 128 * 1024;

// The file of `t`, encoded a piece at a time straight from the model, so
// that the geometry is held once: the file image of a long line is never
// built whole. No bytes when the geometry was not built.
class GeometryFile final : public FileContents {
  public:
    explicit GeometryFile(const Tracciato& t) : t_(t) {}
    bool write_to(PieceSink& sink) const override;

  private:
    const Tracciato& t_;
};

// The whole file image of `t`; empty when the geometry was not built.
Bytes geometry_image(const Tracciato& t);

}  // namespace scenario
