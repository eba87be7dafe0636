// The line geometry file: the plan of the line as the simulator loads it.
#pragma once

#include "compiler/model.h"
#include "output/le_writer.h"

namespace scenario {

// The whole file image of `t`; empty when the geometry was not built.
Bytes geometry_image(const Tracciato& t);

}  // namespace scenario
