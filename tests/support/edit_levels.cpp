#include "support/edit_levels.h"

#include "support/chain_ids.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/monster_builder.h"
#include "support/shop_builder.h"
#include "support/spell_builder.h"

using zr3::Category;

namespace zr3test {

void LoadItems(zr3::ZR3Level& level, std::vector<std::string> names) {
  std::vector<ItemSpec> items;
  for (std::string& name : names) items.push_back({.name = std::move(name)});
  ChainIds(items, 50);
  LevelBuilder builder;
  for (const ItemSpec& item : items) builder.Add(Category::Items, ItemBlob(item));
  level.LoadFromBytes(builder.Build().Bytes());
}

// Items 200..., spells 100...: "Self" learns itself, "Taught" is learnt through "Teacher";
// the shop "Store" sells "Sword", the monster "Orc" carries "Sword" twice, knows "Taught"
// and belongs to group 2, like the item "Shield" and the spell "Teacher".
void LoadSample(zr3::ZR3Level& level) {
  std::vector<SpellSpec> spells = {
      {.name = "Self"}, {.name = "Taught"}, {.name = "Teacher", .groups = {-1, 2}}};
  ChainIds(spells, 100);
  spells[0].learnId = 100;
  spells[2].learnId = 101;
  std::vector<ItemSpec> items = {{.name = "Sword"}, {.name = "Shield", .groups = {2, -1}}};
  ChainIds(items, 200);
  LevelBuilder builder;
  for (const SpellSpec& spell : spells) builder.Add(Category::Spells, SpellBlob(spell));
  for (const ItemSpec& item : items) builder.Add(Category::Items, ItemBlob(item));
  ShopSpec shop{.name = "Store", .id = 300};
  shop.items[4] = 200;
  builder.Add(Category::Shops, ShopRecord(shop));
  MonsterSpec orc;
  orc.name = "Orc";
  orc.group1 = 2;
  orc.group2 = -1;
  orc.id = 400;
  orc.items[1] = orc.items[7] = 200;
  orc.spells[0] = 101;
  builder.Add(Category::Monsters, MonsterRecord(orc));
  level.LoadFromBytes(builder.Build().Bytes());
}

}  // namespace zr3test
