// Window shapes built from rectangles in one call.
#pragma once

#include <vector>

#include "base/skin_geometry.h"
#include "win/handles.h"

namespace win {

// The union of rectangles that are one band each or sorted left to right
// within a band, bands top to bottom, none overlapping (as mask runs are).
// An empty list gives an empty region; null only when the system refuses.
Region region_from_rects(const std::vector<SkinRect>& rects);

}  // namespace win
