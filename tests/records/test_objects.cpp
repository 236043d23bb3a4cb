#include <gtest/gtest.h>

#include "level/bytes.h"
#include "records/zr3map.h"
#include "records/zr3object.h"
#include "support/chain_ids.h"
#include "support/map_builder.h"
#include "support/object_builder.h"
#include "support/record_helpers.h"
#include "support/tile_builder.h"

using namespace zr3test;
using zr3::Category;
using zr3::ZR3Map;
using zr3::ZR3Object;

namespace {

// Stands in for a script record: objects care only for its list, name and own identifier.
class StandInScript : public zr3::ZR3ChainRecord {
 public:
  StandInScript(Category list, std::string name, std::uint32_t id) : list_(list) {
    name_ = std::move(name);
    Blob chain;
    chain.U32(0).U32(0).U32(id);
    zr3::ByteReader in(chain.Bytes());
    ReadChain(in);
  }
  Category ListCategory() const override { return list_; }
  void Describe(zr3::Lines& lines) const override { lines.push_back("Name: " + name_); }
  void Write(zr3::ByteWriter&) override {}
  void CopyTo(zr3::ZR3Base&) const override {}

 private:
  Category list_;
};

StandInScript& AddScript(zr3::ZR3Level& level, Category list, std::string name, std::uint32_t id) {
  auto script = std::make_unique<StandInScript>(list, std::move(name), id);
  StandInScript& added = *script;
  added.SetPosition(static_cast<int>(level.List(list).size()));
  level.List(list).push_back(std::move(script));
  return added;
}

}  // namespace

TEST(ObjectRecord, Occupies176BytesAndDescribesEveryField) {
  ObjectFields spec = NamedObject("Chest", 0x0badf00d);
  spec.x = 12;
  spec.y = 7;
  spec.opaque = "\xfe\x01";
  spec.gfxId = 0x30;
  spec.scriptIds[3] = 0x42;
  spec.nextId = 2;
  spec.id = 1;
  spec.path = "objects/chest.bmp";
  const Blob blob = ObjectRecord(spec);
  ASSERT_EQ(blob.Size(), ZR3Object::kSize);
  std::size_t consumed = 0;
  auto object = ReadOne<ZR3Object>(blob.Bytes() + "next", &consumed);
  EXPECT_EQ(consumed, ZR3Object::kSize);
  EXPECT_EQ(WriteRecord(*object).size(), ZR3Object::kSize);
  EXPECT_EQ(
      DescribeLines(*object),
      (zr3::Lines{"Name: Chest", "Map: 0d f0 ad 0b", "Location: 12,7", "Unknown: fe 01",
                  "GFX Id: 30 00 00 00", "Script 3: 42 00 00 00", "Next Id: 02 00 00 00",
                  "Prev Id: 00 00 00 00", "Id: 01 00 00 00", "Image path: objects/chest.bmp"}));
}

TEST(ObjectLinking, FirstMapWinsWhileMapsTakeTheLastTile) {
  LevelBuilder builder;
  // Identifiers shared on purpose: two tiles carry 7, two maps carry 9.
  std::vector<TileFields> tiles = {NamedTile("EarlyTile", 7), NamedTile("LateTile", 7)};
  ChainIds(tiles);
  for (const TileFields& tile : tiles) builder.Add(Category::Tiles, TileRecord(tile));
  std::vector<MapFields> maps = {NamedMap("EarlyMap", 1, 9), NamedMap("LateMap", 1, 9)};
  maps[0].At(0, 0) = {7, 0, 0};
  maps[0].borders = {7, 0, 0, 0};
  ChainIds(maps);
  for (const MapFields& map : maps) builder.Add(Category::Maps, MapRecord(map));
  builder.Add(Category::Objects, ObjectRecord(NamedObject("Sign", 9)));
  auto level = LoadLevel(builder);

  const zr3::ZR3Base& earlyTile = *level->List(Category::Tiles)[0];
  const zr3::ZR3Base& lateTile = *level->List(Category::Tiles)[1];
  const auto& map = level->At<ZR3Map>(Category::Maps, 0);
  EXPECT_TRUE(map.RefersTo(lateTile));
  EXPECT_FALSE(map.RefersTo(earlyTile));
  EXPECT_EQ(DescribeLines(map)[3], "Border N: 07 00 00 00 LateTile");
  EXPECT_EQ(DescribeLines(map).back(), "  LateTile");

  const auto& object = level->At<ZR3Object>(Category::Objects, 0);
  EXPECT_TRUE(object.RefersTo(*level->List(Category::Maps)[0]));
  EXPECT_FALSE(object.RefersTo(*level->List(Category::Maps)[1]));
  EXPECT_EQ(DescribeLines(object)[1], "Map: EarlyMap");
}

TEST(ObjectLinking, MapIdentifierZeroIsSearchedLikeAnyOther) {
  LevelBuilder builder;
  builder.Add(Category::Maps, MapRecord(NamedMap("Origin", 0, 0)));
  builder.Add(Category::Objects, ObjectRecord(NamedObject("Stone", 0)));
  auto level = LoadLevel(builder);
  const auto& object = level->At<ZR3Object>(Category::Objects, 0);
  EXPECT_EQ(DescribeLines(object)[1], "Map: Origin");
  EXPECT_TRUE(object.RefersTo(*level->List(Category::Maps)[0]));
}

TEST(ObjectSave, UnresolvedMapKeptWhileUnresolvedScriptSlotIsWrittenAsZero) {
  LevelBuilder builder;
  builder.Add(Category::Maps, MapRecord(NamedMap("Elsewhere", 0, 5)));
  // 1 is also the first save identifier: the kept map identifier must not collide with it.
  ObjectFields lost = NamedObject("Lost", 1);
  lost.scriptIds[0] = 0x42;
  lost.scriptIds[2] = 0x43;
  builder.Add(Category::Objects, ObjectRecord(lost));
  auto level = LoadLevel(builder);
  const zr3::Lines lines = DescribeLines(level->At<ZR3Object>(Category::Objects, 0));
  EXPECT_EQ(lines[1], "Map: 01 00 00 00");
  EXPECT_EQ(lines[5], "Script 0: 42 00 00 00");
  EXPECT_EQ(lines[6], "Script 2: 43 00 00 00");

  const std::string saved = level->SaveToBytes();
  const std::size_t at = FirstRecordAt(builder, Category::Objects);
  EXPECT_EQ(U32At(saved, at + kObjectMapOffset), 1u);
  for (std::size_t slot = 0; slot < ZR3Object::kScriptSlots; ++slot) {
    EXPECT_EQ(U32At(saved, at + kObjectScriptsOffset + 4 * slot), 0u) << "slot " << slot;
  }
  auto reloaded = LoadLevel(saved);
  EXPECT_EQ(DescribeLines(reloaded->At<ZR3Object>(Category::Objects, 0))[1], "Map: 01 00 00 00");
}

TEST(ObjectLinking, ScriptSlotsTakeTheFirstObjectScript) {
  LevelBuilder builder;
  ObjectFields door = NamedObject("Door", 0);
  door.scriptIds[3] = 8;
  door.scriptIds[5] = 6;
  builder.Add(Category::Objects, ObjectRecord(door));
  auto level = LoadLevel(builder);
  auto& otherKind = AddScript(*level, Category::GlobalScripts, "GlobalSix", 6);
  auto& first = AddScript(*level, Category::ObjectScripts, "OpenDoor", 8);
  auto& second = AddScript(*level, Category::ObjectScripts, "AlsoEight", 8);
  level->LinkAll();

  const auto& object = level->At<ZR3Object>(Category::Objects, 0);
  const zr3::Lines lines = DescribeLines(object);
  EXPECT_EQ(lines[5], "Script 3: OpenDoor");
  EXPECT_EQ(lines[6], "Script 5: 06 00 00 00");  // global scripts are never searched
  EXPECT_EQ(lines[7], "Next Id: 00 00 00 00");
  EXPECT_TRUE(object.RefersTo(first));
  EXPECT_FALSE(object.RefersTo(second));
  EXPECT_FALSE(object.RefersTo(otherKind));

  const std::string saved = level->SaveToBytes();
  const std::size_t at = FirstRecordAt(builder, Category::Objects);
  EXPECT_NE(first.SaveId(), 0u);
  EXPECT_EQ(U32At(saved, at + kObjectScriptsOffset + 12), first.SaveId());
  EXPECT_EQ(U32At(saved, at + kObjectScriptsOffset + 20), 0u);
}

TEST(ObjectCopy, CopyHasTheSameContentAndReferences) {
  LevelBuilder builder;
  builder.Add(Category::Maps, MapRecord(NamedMap("Town", 0, 3)));
  ObjectFields well = NamedObject("Well", 3);
  well.x = 255;
  well.y = 1;
  well.gfxId = 4;
  well.scriptIds[0] = 9;
  well.id = 11;
  well.path = "well";
  builder.Add(Category::Objects, ObjectRecord(well));
  auto level = LoadLevel(builder);
  auto& original = level->At<ZR3Object>(Category::Objects, 0);
  ZR3Object copy;
  original.CopyTo(copy);
  EXPECT_EQ(DescribeLines(copy), DescribeLines(original));
  EXPECT_TRUE(copy.RefersTo(*level->List(Category::Maps)[0]));
  EXPECT_EQ(WriteRecord(copy), WriteRecord(original));
}
