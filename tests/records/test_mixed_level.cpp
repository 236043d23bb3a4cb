#include <gtest/gtest.h>

#include <string>

#include "level/zr3level.h"
#include "support/character_builder.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/list_builder.h"
#include "support/palette_builder.h"
#include "support/song_builder.h"
#include "support/text_builder.h"

namespace {

using zr3::Category;

// A level holding two records of each of palettes, texts, songs, character sets and lists,
// with consistent neighbour identifiers and a level palette that resolves.
zr3test::LevelBuilder MixedLevel() {
  zr3test::LevelBuilder builder;
  std::string colours(768, '\0');
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<char>(i % 251);
  builder.Add(Category::Palettes, zr3test::PaletteBlob({.name = "Day", .nextId = 2, .id = 1}));
  builder.Add(Category::Palettes,
              zr3test::PaletteBlob({.name = "Night", .colours = colours, .prevId = 1, .id = 2}));
  builder.info.paletteId = 2;

  builder.Add(Category::Texts, zr3test::TextBlob({.name = "Hello", .text = "Hi\r\nthere \xe9"}));
  builder.Add(Category::Texts, zr3test::TextBlob({.name = "Bye", .text = "Farewell."}));

  std::string data(404, '\x5a');
  builder.Add(Category::Songs,
              zr3test::SongBlob({.name = "Theme", .data = data, .nextId = 21, .id = 20}));
  builder.Add(Category::Songs, zr3test::SongBlob({.name = "Battle", .prevId = 20, .id = 21}));

  zr3test::CharacterFields hero{.name = "Hero", .nextId = 31, .id = 30};
  hero.imageIds = {1, 2, 3, 4, 5, 6, 7, 8};
  hero.imagePaths = {"u1", "u2", "d1", "d2", "l1", "l2", "r1", "r2"};
  zr3test::CharacterFields ghost{.name = "Ghost", .prevId = 30, .id = 31};
  ghost.imageIds[5] = 77;
  ghost.imagePaths[5] = "ghost_left2.bmp";
  builder.Add(Category::Characters, zr3test::CharacterBlob(hero));
  builder.Add(Category::Characters, zr3test::CharacterBlob(ghost));

  zr3test::ListFields menu{
      .name = "Menu", .count = 2, .opaque = "\x07\x08", .nextId = 41, .id = 40};
  menu.optionTexts = {"Buy", "Sell", "Kept beyond the count"};
  zr3test::ListFields big{.name = "Big", .count = 11, .prevId = 40, .id = 41};
  builder.Add(Category::Lists, zr3test::ListBlob(menu));
  builder.Add(Category::Lists, zr3test::ListBlob(big));
  return builder;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(MixedLevel, RoundTripsModuloIdentifiersAndAgainAfterReload) {
  const zr3test::Blob built = MixedLevel().Build();
  zr3::ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  const std::string saved = level.SaveToBytes();
  EXPECT_TRUE(zr3test::SameModuloIds(built, saved));

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(saved);
  EXPECT_TRUE(zr3test::SameModuloIds(built, reloaded.SaveToBytes()));
  EXPECT_EQ(reloaded.Info().palette.Record(), reloaded.List(Category::Palettes)[1].get());
}

TEST(MixedLevel, ExportsEveryRecordUnderItsHeading) {
  zr3::ZR3Level level;
  level.LoadFromBytes(MixedLevel().Build().Bytes());
  const std::string text = level.LevelText();
  EXPECT_TRUE(Contains(text, "Palette: Night\r\n"));
  EXPECT_TRUE(Contains(text, "PALETTE 1\r\nName: Night\r\nColour 0: 00 01 02\r\n"));
  EXPECT_TRUE(Contains(text, "TEXT 0\r\nName: Hello\r\nText: Hi\r\nthere \xe9\r\n"));
  EXPECT_TRUE(Contains(text, "CHARACTER SET 1\r\nName: Ghost\r\n"));
  EXPECT_TRUE(Contains(text, "Image left2: ghost_left2.bmp\r\nImage right1: \r\n"));
  EXPECT_TRUE(Contains(text, "SONG 0\r\nName: Theme\r\nUnknown: 5a 5a"));
  EXPECT_TRUE(Contains(text, "LIST 0\r\nName: Menu\r\nOption 0: Buy\r\nOption 1: Sell\r\n"));
  EXPECT_TRUE(Contains(text, "Count: 11\r\n"));
  EXPECT_FALSE(Contains(text, "Kept beyond the count"));
}
