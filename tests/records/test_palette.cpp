#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "level/bytes.h"
#include "level/zr3level.h"
#include "records/zr3palette.h"
#include "support/blob.h"
#include "support/level_builder.h"
#include "support/palette_builder.h"

namespace {

using zr3::Category;
using zr3::ZR3Level;
using zr3::ZR3Palette;
using zr3test::LevelBuilder;
using zr3test::PaletteBlob;
using zr3test::PaletteFields;

// Colour n holds the bytes n, n + 1, n + 2 (mod 256), so every colour differs.
std::string CountingColours() {
  std::string colours;
  for (int n = 0; n < 256; ++n) {
    for (int k = 0; k < 3; ++k) colours.push_back(static_cast<char>((n + k) & 0xFF));
  }
  return colours;
}

std::size_t OffsetOf(const LevelBuilder& builder, const std::string& piece) {
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == piece) return offset;
  }
  ADD_FAILURE() << "no piece " << piece;
  return 0;
}

// The level information's palette identifier sits after the texts, the three numbers and the
// first reserved area.
constexpr std::size_t kInfoPaletteOffset = 80 + 32 + 32 + 10 + 3 + 19;

zr3::Lines InfoLines(const ZR3Level& level) {
  zr3::Lines lines;
  level.DescribeInfo(lines);
  return lines;
}

bool HasLine(const zr3::Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(Palette, OccupiesEightHundredTwelveBytesAndKeepsColours) {
  PaletteFields spec{.name = "Dusk", .colours = CountingColours(), .id = 7};
  const zr3test::Blob blob = PaletteBlob(spec);
  zr3::ByteReader in(blob.Bytes());
  ZR3Palette palette(in);
  EXPECT_EQ(in.Remaining(), 0u);

  zr3::ByteWriter out;
  palette.Write(out);
  ASSERT_EQ(out.Size(), ZR3Palette::kSize);
  EXPECT_EQ(out.Data().substr(32, 768), spec.colours);
}

TEST(Palette, DescribesNameEveryColourAndIdentifiers) {
  std::string colours(768, '\0');
  colours[15] = 0x10;
  colours[16] = 0x20;
  colours[17] = 0x30;
  colours[765] = static_cast<char>(0xff);
  LevelBuilder builder;
  builder.Add(Category::Palettes, PaletteBlob({.name = "Dusk", .colours = colours, .id = 1}));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  zr3::Lines lines;
  level.At<ZR3Palette>(Category::Palettes, 0).Describe(lines);
  ASSERT_EQ(lines.size(), 260u);
  EXPECT_EQ(lines[0], "Name: Dusk");
  EXPECT_EQ(lines[1], "Colour 0: 00 00 00");
  EXPECT_EQ(lines[6], "Colour 5: 10 20 30");
  EXPECT_EQ(lines[11], "Colour 10: 00 00 00");
  EXPECT_EQ(lines[256], "Colour 255: ff 00 00");
  EXPECT_EQ(lines[257], "Next Id: 00 00 00 00");
  EXPECT_EQ(lines[258], "Prev Id: 00 00 00 00");
  EXPECT_EQ(lines[259], "Id: 01 00 00 00");
}

TEST(Palette, LevelPaletteResolvesToTheLastMatchAndFollowsItThroughASave) {
  LevelBuilder builder;
  builder.Add(Category::Palettes, PaletteBlob({.name = "First", .id = 5}));
  builder.Add(Category::Palettes, PaletteBlob({.name = "Other", .id = 6}));
  builder.Add(Category::Palettes, PaletteBlob({.name = "Last", .id = 5}));
  builder.info.paletteId = 5;
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(level.Info().palette.Record(), &level.At<ZR3Palette>(Category::Palettes, 2));
  EXPECT_TRUE(HasLine(InfoLines(level), "Palette: Last"));

  const std::string saved = level.SaveToBytes();
  const std::size_t infoPalette = OffsetOf(builder, "Level Info") + kInfoPaletteOffset;
  const std::size_t lastOwnId = OffsetOf(builder, "Palettes") + 2 + 2 * ZR3Palette::kSize + 808;
  EXPECT_EQ(zr3test::U32At(saved, infoPalette), zr3test::U32At(saved, lastOwnId));

  ZR3Level reloaded;
  reloaded.LoadFromBytes(saved);
  EXPECT_EQ(reloaded.Info().palette.Record(), &reloaded.At<ZR3Palette>(Category::Palettes, 2));
}

TEST(Palette, LevelPaletteIdentifierZeroIsMatchedLikeAnyOther) {
  LevelBuilder builder;
  builder.Add(Category::Palettes, PaletteBlob({.name = "Zero", .id = 0}));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_TRUE(HasLine(InfoLines(level), "Palette: Zero"));
}

TEST(Palette, UnresolvedLevelPaletteShowsItsBytesAndIsWrittenBackUnchanged) {
  LevelBuilder builder;
  builder.Add(Category::Palettes, PaletteBlob({.name = "A", .id = 5}));
  builder.Add(Category::Palettes, PaletteBlob({.name = "B", .id = 6}));
  // A small value that the running save identifiers would otherwise hand out.
  builder.info.paletteId = 1;
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(level.Info().palette.Record(), nullptr);
  EXPECT_TRUE(HasLine(InfoLines(level), "Palette: 01 00 00 00"));

  const std::string saved = level.SaveToBytes();
  EXPECT_EQ(zr3test::U32At(saved, OffsetOf(builder, "Level Info") + kInfoPaletteOffset), 1u);
  const std::size_t palettes = OffsetOf(builder, "Palettes") + 2;
  EXPECT_NE(zr3test::U32At(saved, palettes + 808), 1u);
  EXPECT_NE(zr3test::U32At(saved, palettes + ZR3Palette::kSize + 808), 1u);

  ZR3Level reloaded;
  reloaded.LoadFromBytes(saved);
  EXPECT_EQ(reloaded.Info().palette.Record(), nullptr);
}
