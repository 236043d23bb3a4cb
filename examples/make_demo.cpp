// Writes the demo level that the README's run command opens.
#include <iostream>

#include "support/level_builder.h"

namespace {

zr3test::LevelBuilder DemoLevel() {
  zr3test::LevelBuilder level;
  level.info.name = "Hollowtree Demo";
  level.info.author = "ZR3Tool developers";
  level.info.email = "demo@zr3tool.invalid";
  level.info.version = "1.0";
  level.info.statBuying = 0;
  level.info.encounterPercent = 15;
  level.info.inventorySize = 20;
  level.info.levelText = "A quiet town at the edge of the Hollow Wood.";
  level.flags[0] = "MetMayor";
  level.flags[1] = "DoorOpen";
  level.flags[2] = "QuestDone";
  level.groups[0] = "Townsfolk";
  level.groups[1] = "Wolves";
  level.customText = {"Spells", "Items", "Gold", "Exp"};
  return level;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_demo OUT.zr3\n";
    return 2;
  }
  try {
    DemoLevel().WriteTo(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "make_demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
