#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "level/bytes.h"
#include "level/record_factory.h"
#include "level/zr3level.h"
#include "records/zr3monster.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/monster_builder.h"
#include "support/stand_in_record.h"

namespace {

using zr3::Category;
using zr3test::MonsterFields;
using zr3test::MonsterRecord;

constexpr std::size_t kMonsterSize = 372;
constexpr std::size_t kFirstItemSlot = 72;
constexpr std::size_t kSlotListsSize = 5 * 10 * 4;

zr3::Lines DescribeOf(const zr3::ZR3Base& record) {
  zr3::Lines lines;
  record.Describe(lines);
  return lines;
}

// The lines between "Gold: " and the first "Unknown:": the type, build and style block.
zr3::Lines ChoiceBlock(const zr3::Lines& lines) {
  auto gold = std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) { return line.rfind("Gold: ", 0) == 0; });
  auto unknown = std::find_if(
      gold, lines.end(), [](const std::string& line) { return line.rfind("Unknown:", 0) == 0; });
  return gold == lines.end() ? zr3::Lines{} : zr3::Lines(gold + 1, unknown);
}

zr3::ZR3Monster& LoadOne(zr3::ZR3Level& level, const MonsterFields& spec,
                         zr3test::LevelBuilder builder = {}) {
  builder.Add(Category::Monsters, MonsterRecord(spec));
  level.LoadFromBytes(builder.Build().Bytes());
  return level.At<zr3::ZR3Monster>(Category::Monsters, 0);
}

std::size_t MonsterOffset(const zr3test::LevelBuilder& builder, std::size_t index) {
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == "Monsters") return offset + 2 + index * kMonsterSize;
  }
  throw std::logic_error("no monster section");
}

// A monster with a value in every field that is not a reference.
MonsterFields FullMonster() {
  MonsterFields m;
  m.name = "Cave Troll";
  m.gfxId = 0x11223344;
  m.level = 0xFFFF;
  m.maxHp = 40000;
  m.hp = 3;
  m.maxSp = 4;
  m.sp = 5;
  m.str = 6;
  m.intelligence = 7;
  m.dex = 8;
  m.experience = 0xFFFFFFFF;
  m.gold = 0x8000;
  m.type = 1;
  m.build = 3;
  m.attackStyle = 2;
  m.opaqueA = "\xAA\xBB";
  m.group1 = 20;
  m.group2 = 2;
  m.opaqueB = "\xCC\xDD";
  m.opaqueC = "\x01\x02\x03\x04\x05\x06\x07\x08";
  m.id = 0x00000101;
  m.imagePath = "art/troll.bmp";
  return m;
}

TEST(Monster, ReadsAndWritesThreeHundredSeventyTwoBytes) {
  MonsterFields spec = FullMonster();
  spec.tiles[9] = 0x01020304;
  const std::string bytes = MonsterRecord(spec).Bytes() + "trailing";
  zr3::ByteReader in(bytes);
  zr3::ZR3Monster monster(in);
  EXPECT_EQ(in.Offset(), kMonsterSize);
  zr3::ByteWriter out;
  monster.Write(out);
  EXPECT_EQ(out.Size(), kMonsterSize);
  EXPECT_EQ(monster.ImagePath(), "art/troll.bmp");
}

TEST(Monster, RoundTripKeepsEveryFieldAndGroupIndexesAsStored) {
  zr3test::LevelBuilder builder;
  MonsterFields first = FullMonster();
  first.name = std::string(32, 'M');
  first.imagePath = std::string(80, 'p');  // fills the field: no terminating zero
  first.group1 = -1;
  first.group2 = 20;
  first.nextId = 0x202;
  MonsterFields second = FullMonster();
  second.group1 = 19;
  second.prevId = first.id;
  second.id = 0x202;
  builder.Add(Category::Monsters, MonsterRecord(first));
  builder.Add(Category::Monsters, MonsterRecord(second));
  const zr3test::Blob built = builder.Build();

  zr3::ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  EXPECT_TRUE(zr3test::SameModuloIds(built, level.SaveToBytes()));
}

TEST(Monster, DescribesEveryLineInOrder) {
  zr3test::LevelBuilder builder;
  builder.groups[2] = "Trolls";
  MonsterFields spec = FullMonster();
  spec.items[2] = 0x0BADF00D;
  spec.spells[0] = 0x51;
  spec.preScripts[9] = 0x52;
  spec.postScripts[1] = 0x53;
  spec.tiles[5] = 0x54;
  zr3::ZR3Level level;
  const zr3::ZR3Monster& monster = LoadOne(level, spec, builder);

  const zr3::Lines expected = {"Name: Cave Troll",
                               "GFX Id: 44 33 22 11",
                               "Level: 65535",
                               "Max HP: 40000",
                               "HP: 3",
                               "Max SP: 4",
                               "SP: 5",
                               "STR: 6",
                               "INT: 7",
                               "DEX: 8",
                               "Exp: 4294967295",
                               "Gold: 32768",
                               "Type: Fighter",
                               "Build: Balanced",
                               "Attack Style: Aggressive",
                               "Unknown: aa bb",
                               "Group 1: 20",
                               "Group 2: Trolls",
                               "Unknown: cc dd",
                               "Item 2: 0d f0 ad 0b",
                               "Spell 0: 51 00 00 00",
                               "Pre 9: 52 00 00 00",
                               "Post 1: 53 00 00 00",
                               "Tile 5: 54 00 00 00",
                               "Unknown: 01 02 03 04 05 06 07 08",
                               "Next Id: 00 00 00 00",
                               "Prev Id: 00 00 00 00",
                               "Id: 01 01 00 00",
                               "Image path: art/troll.bmp"};
  EXPECT_EQ(DescribeOf(monster), expected);
}

TEST(Monster, DropsUnresolvedIdentifiersOfEveryListAtSave) {
  MonsterFields spec = FullMonster();
  spec.items[2] = 0x0BADF00D;
  spec.spells[0] = 0x51;
  spec.preScripts[9] = 0x52;
  spec.postScripts[1] = 0x53;
  spec.tiles[5] = 0x54;
  zr3test::LevelBuilder builder;
  builder.Add(Category::Monsters, MonsterRecord(spec));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const std::string saved = level.SaveToBytes();

  // The same level with the five lists empty is what the save must give.
  zr3test::LevelBuilder expected;
  expected.Add(Category::Monsters, MonsterRecord(FullMonster()));
  EXPECT_TRUE(zr3test::SameModuloIds(expected.Build(), saved));
  const std::size_t lists = MonsterOffset(builder, 0) + kFirstItemSlot;
  EXPECT_EQ(saved.substr(lists, kSlotListsSize), std::string(kSlotListsSize, '\0'));
}

TEST(Monster, TypeBuildStyleBlockEndsAtFirstValueWithoutName) {
  struct Case {
    std::uint16_t type, build, style;
    zr3::Lines block;
  };
  const Case cases[] = {
      {0, 0, 0, {"Type: Creature", "Build: Big and strong", "Attack Style: Cautious"}},
      {2, 1, 1, {"Type: Magic User", "Build: Small and fast", "Attack Style: Balanced"}},
      {1, 4, 2, {"Type: Fighter"}},
      {0, 2, 3, {"Type: Creature", "Build: Super smart"}},
      {3, 0, 0, {}},
      {0xFFFF, 3, 2, {}},
  };
  for (const Case& c : cases) {
    MonsterFields spec = FullMonster();
    spec.type = c.type;
    spec.build = c.build;
    spec.attackStyle = c.style;
    zr3::ZR3Level level;
    const zr3::Lines lines = DescribeOf(LoadOne(level, spec));
    EXPECT_EQ(ChoiceBlock(lines), c.block) << c.type << "/" << c.build << "/" << c.style;
    // The rest of the description goes on.
    EXPECT_EQ(lines.back(), "Image path: art/troll.bmp");
  }
}

TEST(Monster, GroupIndexResolvesOnlyWithinTheGroupTable) {
  zr3test::LevelBuilder builder;
  builder.groups[19] = "Last";
  MonsterFields spec = FullMonster();
  spec.group1 = 20;
  spec.group2 = 19;
  zr3::ZR3Level level;
  zr3::ZR3Monster& monster = LoadOne(level, spec, builder);
  ASSERT_TRUE(level.Loaded());
  EXPECT_EQ(monster.Group1(), nullptr);
  EXPECT_EQ(monster.Group2(), level.List(Category::Groups)[19].get());
  EXPECT_TRUE(monster.RefersTo(*level.List(Category::Groups)[19]));
  EXPECT_FALSE(monster.RefersTo(*level.List(Category::Groups)[0]));

  MonsterFields negative = FullMonster();
  negative.group1 = -1;
  negative.group2 = 0;
  zr3::ZR3Level other;
  zr3::ZR3Monster& below = LoadOne(other, negative);
  const zr3::Lines lines = DescribeOf(below);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Group 1: -1"), lines.end());
  // Group 0 resolves to its (empty) name rather than showing the index.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Group 2: "), lines.end());
  EXPECT_FALSE(below.RefersTo(*other.List(Category::Groups)[19]));
  EXPECT_TRUE(below.RefersTo(*other.List(Category::Groups)[0]));
}

TEST(Monster, LinksEachListAgainstItsOwnListFirstMatchSkippingEmptySlots) {
  MonsterFields spec = FullMonster();
  spec.items[0] = 7;
  spec.spells[1] = 7;
  spec.preScripts[2] = 8;  // only a global script carries 8
  spec.postScripts[3] = 9;
  spec.tiles[4] = 7;
  zr3::ZR3Level level;
  zr3::ZR3Monster& monster = LoadOne(level, spec);
  auto& emptyItem = zr3test::AddStandIn(level, Category::Items, 0, "Nothing");
  auto& item = zr3test::AddStandIn(level, Category::Items, 7, "Axe");
  auto& laterItem = zr3test::AddStandIn(level, Category::Items, 7, "Later Axe");
  auto& spell = zr3test::AddStandIn(level, Category::Spells, 7, "Fire");
  auto& tile = zr3test::AddStandIn(level, Category::Tiles, 7, "Lava");
  auto& global = zr3test::AddStandIn(level, Category::GlobalScripts, 8, "Global");
  auto& script = zr3test::AddStandIn(level, Category::ObjectScripts, 9, "Roar");
  level.LinkAll();

  const zr3::Lines lines = DescribeOf(monster);
  for (const char* line :
       {"Item 0: Axe", "Spell 1: Fire", "Pre 2: 08 00 00 00", "Post 3: Roar", "Tile 4: Lava"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  EXPECT_TRUE(monster.RefersTo(item));
  EXPECT_FALSE(monster.RefersTo(laterItem));
  EXPECT_FALSE(monster.RefersTo(emptyItem));
  EXPECT_TRUE(monster.RefersTo(spell));
  EXPECT_TRUE(monster.RefersTo(tile));
  EXPECT_TRUE(monster.RefersTo(script));
  EXPECT_FALSE(monster.RefersTo(global));

  item.SetSaveId(31);
  spell.SetSaveId(32);
  tile.SetSaveId(33);
  script.SetSaveId(34);
  zr3::ByteWriter out;
  monster.Write(out);
  auto slot = [&out](std::size_t list, std::size_t index) {
    return zr3test::U32At(out.Data(), kFirstItemSlot + list * 40 + index * 4);
  };
  EXPECT_EQ(slot(0, 0), 31u);
  EXPECT_EQ(slot(1, 1), 32u);
  EXPECT_EQ(slot(2, 2), 0u);
  EXPECT_EQ(slot(3, 3), 34u);
  EXPECT_EQ(slot(4, 4), 33u);
}

TEST(Monster, CopyNamesTheSameRecordsAndGroups) {
  zr3test::LevelBuilder builder;
  builder.groups[2] = "Trolls";
  MonsterFields spec = FullMonster();
  spec.items[6] = 7;
  spec.tiles[0] = 0x99;
  zr3::ZR3Level level;
  const zr3::ZR3Monster& source = LoadOne(level, spec, builder);
  auto& item = zr3test::AddStandIn(level, Category::Items, 7, "Club");
  level.LinkAll();

  std::unique_ptr<zr3::ZR3Base> copy = zr3::NewRecord(Category::Monsters);
  ASSERT_NE(copy, nullptr);
  source.CopyTo(*copy);
  const auto& monster = static_cast<const zr3::ZR3Monster&>(*copy);
  EXPECT_EQ(DescribeOf(monster), DescribeOf(source));
  EXPECT_TRUE(monster.RefersTo(item));
  EXPECT_TRUE(monster.RefersTo(*level.List(Category::Groups)[2]));
  EXPECT_EQ(monster.Group1(), nullptr);
}

}  // namespace
