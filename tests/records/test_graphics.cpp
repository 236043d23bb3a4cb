#include <gtest/gtest.h>

#include "level/bytes.h"
#include "records/zr3graphic.h"
#include "support/chain_ids.h"
#include "support/graphic_builder.h"
#include "support/record_helpers.h"

using namespace zr3test;
using zr3::Category;
using zr3::ZR3Graphic;

namespace {

std::string InfoLine(const zr3::ZR3Level& level, const std::string& label) {
  zr3::Lines lines;
  level.DescribeInfo(lines);
  for (const std::string& line : lines) {
    if (line.rfind(label, 0) == 0) return line;
  }
  return "(no " + label + " line)";
}

}  // namespace

TEST(GraphicRecord, PathStoredOnlyWithResourceValue) {
  const std::string tail = "following record";
  std::size_t consumed = 0;
  auto plain =
      ReadOne<ZR3Graphic>(GraphicRecord(NamedGraphic("Plain", 0, 1)).Bytes() + tail, &consumed);
  EXPECT_EQ(consumed, 48u);
  EXPECT_EQ(WriteRecord(*plain).size(), 48u);
  EXPECT_EQ(DescribeLines(*plain).back(), "Image path: ");

  auto own =
      ReadOne<ZR3Graphic>(GraphicRecord(NamedGraphic("Own", 2, 2)).Bytes() + tail, &consumed);
  EXPECT_EQ(consumed, 128u);
  const std::string written = WriteRecord(*own);
  ASSERT_EQ(written.size(), 128u);
  EXPECT_EQ(written.substr(48), std::string(80, '\0'));

  ZR3Graphic copy;
  own->CopyTo(copy);
  EXPECT_EQ(WriteRecord(copy), written);
}

TEST(GraphicRecord, DescribesEveryField) {
  GraphicFields spec = NamedGraphic("Title\xe9", 0x01000080, 0xffffffff);
  spec.nextId = 0x22;
  spec.prevId = 0x11;
  spec.path = "gfx\\title.pcx";
  EXPECT_EQ(DescribeLines(*ReadOne<ZR3Graphic>(GraphicRecord(spec).Bytes())),
            (zr3::Lines{"Name: Title\xe9", "GFX resource?: 80 00 00 01", "Next Id: 22 00 00 00",
                        "Prev Id: 11 00 00 00", "Id: ff ff ff ff", "Image path: gfx\\title.pcx"}));
}

TEST(GraphicLevel, BackgroundMatchingNothingShowsItsDumpAndIsKept) {
  LevelBuilder builder;
  std::vector<GraphicFields> graphics = {NamedGraphic("Hills", 1, 20), NamedGraphic("Arena", 0, 21),
                                         NamedGraphic("LaterArena", 0, 21)};
  ChainIds(graphics);
  for (const GraphicFields& graphic : graphics) {
    builder.Add(Category::Graphics, GraphicRecord(graphic));
  }
  builder.info.backgroundId = 0x12345678;
  builder.info.combatScreenId = 21;
  builder.info.inventoryScreenId = 20;
  auto level = LoadLevel(builder);
  EXPECT_EQ(InfoLine(*level, "Background"), "Background: 78 56 34 12");
  EXPECT_EQ(InfoLine(*level, "Combat Screen"), "Combat Screen: LaterArena");
  EXPECT_EQ(InfoLine(*level, "Inventory Screen"), "Inventory Screen: Hills");

  auto reloaded = LoadLevel(level->SaveToBytes());
  EXPECT_EQ(reloaded->Info().background.Stored(), 0x12345678u);
  EXPECT_EQ(InfoLine(*reloaded, "Background"), "Background: 78 56 34 12");
  EXPECT_EQ(InfoLine(*reloaded, "Combat Screen"), "Combat Screen: LaterArena");
  EXPECT_EQ(InfoLine(*reloaded, "Inventory Screen"), "Inventory Screen: Hills");
}
