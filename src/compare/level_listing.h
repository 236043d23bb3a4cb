#pragma once

#include "level/text.h"
#include "level/zr3level.h"

namespace zr3::compare {

// The level as lines that a line-by-line diff compares well, for git's textconv: each record
// under its list and name, one line a field ("  cost: 30"), references by the name of their
// record, a map's cells one line a row and layer, a script as its script text, a palette one
// line a colour. No identifier and no index appears, so inserting a record or a save that
// renumbers them changes no other line.
Lines LevelListing(const ZR3Level& level);

}  // namespace zr3::compare
