#pragma once

#include "VectorContextData.h"

namespace pfw::gui::VG {

// Turns the command buffer into flattened paths of points, once per path: curves are
// subdivided to the tessellation tolerance, near-duplicate points merged, paths oriented
// by their winding, and each point given its direction and length to the next.
void FlattenPaths(VectorContext* context);

} // namespace pfw::gui::VG
