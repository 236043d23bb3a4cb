#include "script/entry_fixture.h"

#include "support/level_builder.h"
#include "support/stand_in_record.h"

namespace zr3test {

using zr3::Category;

void EntryTest::SetUp() {
  LevelBuilder builder;
  builder.flags[0] = "Gold";
  builder.flags[1] = "Silver";
  builder.flags[2] = "Copper";
  std::vector<ScriptFields> scripts;
  for (const char* name : {"Door", "Chest", "Well", "Sign", "Gate", "Altar"}) {
    scripts.push_back(ScriptWith(name, {}, {}));
  }
  ChainIds(scripts, 100);
  for (const ScriptFields& script : scripts)
    builder.Add(Category::ObjectScripts, ScriptBlob(script));
  level.LoadFromBytes(builder.Build().Bytes());

  AddStandIns(level, Category::Maps, {"Town", "Forest"});
  AddStandIns(level, Category::Items, {"Sword", "Shield"});
  AddStandIns(level, Category::Characters, {"Hero"});
  AddStandIns(level, Category::Graphics, {"Portrait", "Sky"});
  AddStandIns(level, Category::Texts, {"Intro"});
  AddStandIns(level, Category::Songs, {"Theme"});
  AddStandIns(level, Category::Spells, {"Fireball"});
  AddStandIns(level, Category::Objects, {"Chest", "Lamp"});
  AddStandIns(level, Category::Tiles, {"Grass", "Water"});
  AddStandIns(level, Category::Palettes, {"Dusk"});
  AddStandIns(level, Category::Shops, {"Smithy"});
  AddStandIns(level, Category::Monsters, {"Goblin"});
  AddStandIns(level, Category::Lists, {"Quests"});
}

}  // namespace zr3test
