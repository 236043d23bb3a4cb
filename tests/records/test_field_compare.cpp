#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "edit/reorder.h"
#include "level/field_compare.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "support/edit_levels.h"
#include "support/record_helpers.h"

namespace {

using zr3::Category;
using zr3::FieldDifference;

// Matched by list and name: what a comparison by content would pair in the test level, whose
// names are unique in each list.
bool SameByName(const zr3::ZR3Base& before, const zr3::ZR3Base& after, Category) {
  return typeid(before) == typeid(after) && before.Name() == after.Name();
}

// Every record of every list of two versions, compared by their fields; the level information
// too. Records are paired by name.
std::vector<std::string> Differences(const zr3::ZR3Level& before, const zr3::ZR3Level& after) {
  std::vector<std::string> found;
  const auto note = [&](const std::string& where, const std::vector<FieldDifference>& list) {
    for (const FieldDifference& d : list)
      found.push_back(where + d.name + ": " + d.before + " > " + d.after);
  };
  note("info.", zr3::CompareFields(before.Info().Fields(), after.Info().Fields(), SameByName));
  for (const Category list : zr3::kFileOrder) {
    if (zr3::IsFixedTable(list)) continue;
    for (const auto& record : before.List(list)) {
      for (const auto& other : after.List(list)) {
        if (other->Name() != record->Name()) continue;
        note(record->Name() + ".",
             zr3::CompareFields(record->FieldsToCompare(), other->FieldsToCompare(), SameByName));
      }
    }
  }
  return found;
}

TEST(FieldCompare, EqualVersionsHaveNoDifferences) {
  const auto before = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const auto after = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  EXPECT_THAT(Differences(*before, *after), testing::IsEmpty());
}

TEST(FieldCompare, ReferencesCompareByTheRecordTheyNameNotItsPosition) {
  const auto before = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const auto moved = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  // The first tile, object script, graphic and item move down: positions, identifiers and
  // script parameters change, the records they name do not.
  for (const Category list :
       {Category::Tiles, Category::ObjectScripts, Category::Graphics, Category::Items}) {
    ASSERT_GE(moved->List(list).size(), 2u);
    ASSERT_TRUE(zr3::MoveRecord(*moved, list, 0, zr3::MoveDirection::Down).Moved());
  }
  const auto after = zr3test::LoadLevel(moved->SaveToBytes());
  EXPECT_THAT(Differences(*before, *after), testing::IsEmpty());
  // Paired by position instead, the moved records' referrers differ.
  const auto byPosition = [](const zr3::ZR3Base& a, const zr3::ZR3Base& b, Category) {
    return a.Position() == b.Position();
  };
  const zr3::ZR3Base& map = *before->List(Category::Maps).front();
  EXPECT_THAT(
      zr3::CompareFields(map.FieldsToCompare(),
                         after->List(Category::Maps).front()->FieldsToCompare(), byPosition),
      testing::Not(testing::IsEmpty()));
}

TEST(FieldCompare, AnEditedFieldIsTheOneDifference) {
  const auto before = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const auto after = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  zr3::ZR3Base& item = *after->List(Category::Items).front();
  const std::string name = item.Name();
  const std::string cost = [&] {
    for (const zr3::FieldInfo& field : item.Fields()) {
      if (field.name == "cost") return field.value;
    }
    return std::string();
  }();
  item.SetField(*after, "cost", cost == "7" ? "8" : "7");
  after->Info().encounterPercent = static_cast<std::uint8_t>(before->Info().encounterPercent + 1);
  EXPECT_THAT(Differences(*before, *after),
              testing::UnorderedElementsAre(
                  name + ".cost: " + cost + " > " + (cost == "7" ? "8" : "7"),
                  "info.encounter_percent: " + std::to_string(before->Info().encounterPercent) +
                      " > " + std::to_string(after->Info().encounterPercent)));
}

TEST(FieldCompare, APositionThatATypeTurnsIntoANumberComparesByValue) {
  const auto before = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const auto after = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  // A usable item's first parameter names an object script; any other type makes it a number.
  zr3::ZR3Base& item = *after->List(Category::Items).front();
  const auto typeOf = [](const zr3::ZR3Base& record) {
    for (const zr3::FieldInfo& field : record.Fields()) {
      if (field.name == "type") return field.value;
    }
    return std::string();
  };
  const std::string type = typeOf(item);
  const std::string other = type == "3" ? "0" : "3";
  item.SetField(*after, "type", other);
  EXPECT_THAT(Differences(*before, *after),
              testing::ElementsAre(item.Name() + ".type: " + type + " > " + other));
}

TEST(FieldCompare, MapCellsCompareTileByTile) {
  const auto before = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const auto after = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  auto& map = static_cast<zr3::ZR3Map&>(*after->List(Category::Maps).front());
  ASSERT_GT(map.Side(), 0);
  const auto& tiles = after->List(Category::Tiles);
  auto* tile = static_cast<zr3::ZR3ChainRecord*>(tiles[0].get());
  if (map.CellTile(0, 0, 2) == tile) tile = static_cast<zr3::ZR3ChainRecord*>(tiles[1].get());
  map.SetCellTile(0, 0, 2, tile);
  const std::vector<std::string> found = Differences(*before, *after);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_THAT(found[0], testing::StartsWith(map.Name() + ".cells: "));
}

}  // namespace
