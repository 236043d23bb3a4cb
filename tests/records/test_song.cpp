#include <gtest/gtest.h>

#include <string>

#include "level/zr3level.h"
#include "records/zr3song.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/song_builder.h"

namespace {

using zr3::Category;
using zr3::ZR3Level;
using zr3::ZR3Song;
using zr3test::SongBlob;

std::string CountingData() {
  std::string data;
  for (int i = 0; i < 404; ++i) data.push_back(static_cast<char>(i * 7 & 0xFF));
  return data;
}

}  // namespace

TEST(Song, KeepsItsDataAndNeighbourIdentifiersThroughASave) {
  zr3test::LevelBuilder builder;
  builder.Add(
      Category::Songs,
      SongBlob({.name = "Theme", .data = CountingData(), .nextId = 31, .prevId = 0, .id = 30}));
  builder.Add(Category::Songs, SongBlob({.name = "Battle", .nextId = 0, .prevId = 30, .id = 31}));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_TRUE(zr3test::SameModuloIds(builder.Build(), level.SaveToBytes()));
}

TEST(Song, DescribesNameDataLineAndIdentifiers) {
  zr3test::LevelBuilder builder;
  builder.Add(Category::Songs,
              SongBlob({.name = "Theme", .data = CountingData(), .nextId = 0x0102, .id = 3}));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  zr3::Lines lines;
  level.At<ZR3Song>(Category::Songs, 0).Describe(lines);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Name: Theme");
  EXPECT_EQ(lines[1].size(), 1220u);
  EXPECT_EQ(lines[1].substr(0, 20), "Unknown: 00 07 0e 15");
  EXPECT_EQ(lines[1].substr(1217), " 05");  // byte 403: 403 * 7 mod 256
  EXPECT_EQ(lines[2], "Next Id: 02 01 00 00");
  EXPECT_EQ(lines[3], "Prev Id: 00 00 00 00");
  EXPECT_EQ(lines[4], "Id: 03 00 00 00");

  ZR3Song copy;
  level.At<ZR3Song>(Category::Songs, 0).CopyTo(copy);
  zr3::Lines copied;
  copy.Describe(copied);
  EXPECT_EQ(copied, lines);
}
