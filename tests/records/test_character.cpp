#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "level/bytes.h"
#include "level/record_factory.h"
#include "level/zr3level.h"
#include "records/zr3character.h"
#include "support/character_builder.h"
#include "support/compare.h"
#include "support/level_builder.h"

namespace {

using zr3::Category;
using zr3::ZR3Character;
using zr3::ZR3Level;
using zr3test::CharacterBlob;
using zr3test::CharacterFields;

std::string Written(ZR3Character& character) {
  zr3::ByteWriter out;
  character.Write(out);
  return out.Release();
}

std::unique_ptr<ZR3Character> Read(const zr3test::Blob& blob) {
  zr3::ByteReader in(blob.Bytes());
  auto character = std::make_unique<ZR3Character>(in);
  EXPECT_EQ(in.Remaining(), 0u);
  return character;
}

zr3::Lines Described(const ZR3Character& character) {
  zr3::Lines lines;
  character.Describe(lines);
  return lines;
}

}  // namespace

TEST(Character, SizeIsSeventySixPlusEightyPerNonZeroImage) {
  auto none = Read(CharacterBlob({.name = "Ghost"}));
  EXPECT_EQ(Written(*none).size(), 76u);

  CharacterFields one{.name = "Guard"};
  one.imageIds[3] = 10;
  auto single = Read(CharacterBlob(one));
  const std::string bytes = Written(*single);
  ASSERT_EQ(bytes.size(), 156u);
  // The path of a non-zero identifier is written even when empty.
  EXPECT_EQ(bytes.substr(76), std::string(80, '\0'));

  CharacterFields all{.name = "Hero"};
  for (std::size_t i = 0; i < 8; ++i) {
    all.imageIds[i] = static_cast<std::uint32_t>(100 + i);
    all.imagePaths[i] = "gfx/hero" + std::to_string(i) + ".bmp";
  }
  auto full = Read(CharacterBlob(all));
  EXPECT_EQ(Written(*full), CharacterBlob(all).Bytes());
  EXPECT_EQ(Written(*full).size(), 716u);
}

TEST(Character, AllZeroSetDescribesEmptyImagesAndPaths) {
  auto none = Read(CharacterBlob({.name = "Ghost", .id = 2}));
  const zr3::Lines expected = {
      "Name: Ghost",          "GFX Id0: 00 00 00 00", "GFX Id1: 00 00 00 00",
      "GFX Id2: 00 00 00 00", "GFX Id3: 00 00 00 00", "GFX Id4: 00 00 00 00",
      "GFX Id5: 00 00 00 00", "GFX Id6: 00 00 00 00", "GFX Id7: 00 00 00 00",
      "Next Id: 00 00 00 00", "Prev Id: 00 00 00 00", "Id: 02 00 00 00",
      "Image up1: ",          "Image up2: ",          "Image down1: ",
      "Image down2: ",        "Image left1: ",        "Image left2: ",
      "Image right1: ",       "Image right2: "};
  EXPECT_EQ(Described(*none), expected);
}

TEST(Character, PathsFollowTheirIdentifiersOntoTheRightLines) {
  CharacterFields spec{.name = "Guard"};
  spec.imageIds[3] = 10;
  spec.imagePaths[3] = "gfx/guard_down2.bmp";
  spec.imageIds[6] = 0x01020304;
  spec.imagePaths[6] = "gfx/guard_right1.bmp";
  // A path given for an identifier of 0 is not in the file and must not shift the others.
  spec.imagePaths[0] = "not stored";
  auto guard = Read(CharacterBlob(spec));
  EXPECT_EQ(Written(*guard).size(), 76u + 2 * 80u);

  const zr3::Lines lines = Described(*guard);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[4], "GFX Id3: 0a 00 00 00");
  EXPECT_EQ(lines[7], "GFX Id6: 04 03 02 01");
  EXPECT_EQ(lines[12], "Image up1: ");
  EXPECT_EQ(lines[15], "Image down2: gfx/guard_down2.bmp");
  EXPECT_EQ(lines[17], "Image left2: ");
  EXPECT_EQ(lines[18], "Image right1: gfx/guard_right1.bmp");
}

TEST(Character, CopyWritesTheSameBytesAsItsSource) {
  CharacterFields spec{.name = "Guard", .nextId = 8, .prevId = 6, .id = 7};
  spec.imageIds[1] = 4;
  spec.imagePaths[1] = "gfx/a.bmp";
  spec.imageIds[7] = 5;
  auto source = Read(CharacterBlob(spec));
  std::unique_ptr<zr3::ZR3Base> copy = zr3::NewRecord(Category::Characters);
  ASSERT_NE(copy, nullptr);
  source->CopyTo(*copy);
  auto& copied = dynamic_cast<ZR3Character&>(*copy);
  EXPECT_EQ(Written(copied), Written(*source));
  EXPECT_EQ(Described(copied), Described(*source));
}

TEST(Character, LevelOfCharacterSetsRoundTripsWithNeighbourIdentifiers) {
  zr3test::LevelBuilder builder;
  CharacterFields first{.name = "A", .nextId = 12, .prevId = 0, .id = 11};
  first.imageIds[2] = 3;
  first.imagePaths[2] = "down1.bmp";
  CharacterFields second{.name = "B", .nextId = 0, .prevId = 11, .id = 12};
  second.imageIds[7] = 9;
  builder.Add(Category::Characters, CharacterBlob(first));
  builder.Add(Category::Characters, CharacterBlob(second));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_TRUE(zr3test::SameModuloIds(builder.Build(), level.SaveToBytes()));
}
