#pragma once

#include <vector>

#include "level/zr3level.h"
#include "merge/merge_conflicts.h"

namespace zr3::merge {

// Brings into ours every change theirs made to base, records matched across the versions by
// content as the comparison matches them: ours becomes the merged level. Fields, map cell
// slots, script slots and palette colours merge one by one; records added on both sides are
// all kept, ours before theirs; a move on one side is kept. Where the two sides' changes
// cannot both be taken, ours keeps its own value and the conflict is answered, in the order
// the lists were merged.
std::vector<MergeConflict> MergeLevels(const ZR3Level& base, ZR3Level& ours,
                                       const ZR3Level& theirs);

}  // namespace zr3::merge
