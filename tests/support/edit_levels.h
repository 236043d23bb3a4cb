#pragma once

#include <string>
#include <vector>

#include "level/zr3level.h"
#include "support/level_builder.h"
#include "support/print_category.h"

namespace zr3test {

// Loads a level whose item list holds items of these names and nothing else.
void LoadItems(zr3::ZR3Level& level, std::vector<std::string> names);

// Loads a level of spells, items, a shop and a monster that refer to each other:
// spells "Self" (learns itself), "Taught", "Teacher" (learns "Taught", group 2); items
// "Sword", "Shield" (group 2); shop "Store" selling "Sword"; monster "Orc" carrying "Sword" in
// two slots, knowing "Taught", in group 2.
void LoadSample(zr3::ZR3Level& level);

// Loads a level of every kind that refers to another:
// tiles "Grass", "Water", "Lava"; maps "Town" (a Grass cell, Water to the north), "Cave",
// "Field"; object "Door" on Town running the object scripts "Open" and "Listed";
// object scripts "Open", "Drink", "Spare", "Loop" (runs itself), "Listed"; items "Axe" (a
// weapon whose parameter 1 is 2, the position of "Spare") and "Potion" (usable, runs
// "Drink"); list "Menu" with "Listed" as its result; global script "Watcher" placing "Door"
// on "Cave", startup script "Opening" (asking flag 5) and death script "Mourner" warping to
// "Cave";
// monster "Troll" standing on "Lava"; palettes "Day" (the default) and "Night"; graphics
// "Sky" (background and inventory screen), "Arena" (combat screen) and "Plain".
LevelBuilder World();
void LoadWorld(zr3::ZR3Level& level);

}  // namespace zr3test
