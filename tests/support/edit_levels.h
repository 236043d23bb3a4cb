#pragma once

#include <string>
#include <vector>

#include "level/zr3level.h"

namespace zr3test {

// Loads a level whose item list holds items of these names and nothing else.
void LoadItems(zr3::ZR3Level& level, std::vector<std::string> names);

// Loads a level of spells, items, a shop and a monster that refer to each other:
// spells "Self" (learns itself), "Taught", "Teacher" (learns "Taught", group 2); items
// "Sword", "Shield" (group 2); shop "Store" selling "Sword"; monster "Orc" carrying "Sword" in
// two slots, knowing "Taught", in group 2.
void LoadSample(zr3::ZR3Level& level);

}  // namespace zr3test
