#include <gtest/gtest.h>

#include <string>

#include "edit/map_paint.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;
using zr3::MapPaint;

// Tiles "Grass" (7) and "Rock" (8) and a 5 x 5 map of Grass on the first layer.
class MapPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LevelBuilder builder;
    builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Grass", 7)));
    builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Rock", 8)));
    zr3test::MapFields map = zr3test::NamedMap("Meadow", 5, 30);
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 5; ++column) map.At(row, column) = {7, 0, 0};
    }
    builder.Add(Category::Maps, zr3test::MapRecord(map));
    level_.LoadFromBytes(builder.Build().Bytes());
    original_ = level_.SaveToBytes();
  }
  zr3::ZR3ChainRecord* Tile(std::size_t i) {
    return static_cast<zr3::ZR3ChainRecord*>(level_.List(Category::Tiles)[i].get());
  }
  const zr3::ZR3Map& Map() {
    return static_cast<const zr3::ZR3Map&>(*level_.List(Category::Maps)[0]);
  }

  zr3::ZR3Level level_;
  std::string original_;
};

TEST_F(MapPaintTest, AFillIsClippedToTheMapAndUndoneExactly) {
  MapPaint paint(level_, 0);
  // Corners in any order, reaching outside the map.
  EXPECT_EQ(paint.Fill(level_, 6, 3, 3, -2, 0, Tile(1)), 2u * 4u);
  EXPECT_EQ(Map().CellTile(4, 0, 0), Tile(1));
  EXPECT_EQ(Map().CellTile(2, 0, 0), Tile(0));
  EXPECT_EQ(Map().CellTile(3, 4, 0), Tile(0));
  // A slot set again in the same stroke keeps what it held before the stroke.
  EXPECT_TRUE(paint.Set(level_, 3, 3, 0, nullptr));
  EXPECT_FALSE(paint.Set(level_, 3, 3, 0, nullptr));
  EXPECT_EQ(paint.Count(), 8u);
  const std::string painted = level_.SaveToBytes();
  paint.Undo(level_);
  EXPECT_EQ(level_.SaveToBytes(), original_);
  paint.Redo(level_);
  EXPECT_EQ(level_.SaveToBytes(), painted);
}

TEST_F(MapPaintTest, APlaceOutsideTheMapIsRefusedAndChangesNothing) {
  MapPaint paint(level_, 0);
  for (const auto& [row, column, slot] : {std::tuple{5, 0, 0}, {0, -1, 0}, {0, 0, 3}}) {
    EXPECT_THROW(paint.Set(level_, row, column, static_cast<std::size_t>(slot), Tile(1)),
                 zr3::ZR3Error);
  }
  EXPECT_EQ(paint.Count(), 0u);
  EXPECT_FALSE(level_.Modified());
  EXPECT_EQ(level_.SaveToBytes(), original_);
  EXPECT_THROW(MapPaint(level_, 1), zr3::ZR3Error);
}

}  // namespace
