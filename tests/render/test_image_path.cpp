#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "level/zr3level.h"
#include "records/zr3character.h"
#include "render/image_cache.h"
#include "render/image_path.h"
#include "render/offscreen.h"
#include "support/character_builder.h"
#include "support/graphic_builder.h"
#include "support/level_builder.h"
#include "support/monster_builder.h"
#include "support/object_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;

// Each kind's path comes from its own field, and a character set, whose eight pictures are no
// one picture, names none.
TEST(ImagePathOf, IsThePathOfATileObjectGraphicOrMonsterAndEmptyForOtherKinds) {
  zr3test::LevelBuilder builder;
  zr3test::TileFields tile = zr3test::NamedTile("Grass", 11);
  tile.gfxId = 1;
  tile.path = "tiles\\grass.bmp";
  builder.Add(Category::Tiles, zr3test::TileRecord(tile));
  zr3test::ObjectFields object = zr3test::NamedObject("Well", 0);
  object.path = "objects\\well.bmp";
  builder.Add(Category::Objects, zr3test::ObjectRecord(object));
  zr3test::GraphicFields graphic = zr3test::NamedGraphic("Title", 1, 21);
  graphic.path = "gfx\\title.bmp";
  builder.Add(Category::Graphics, zr3test::GraphicRecord(graphic));
  builder.Add(Category::Graphics, zr3test::GraphicRecord(zr3test::NamedGraphic("None", 0, 22)));
  zr3test::MonsterFields monster;
  monster.name = "Wolf";
  monster.imagePath = "monsters\\wolf.bmp";
  builder.Add(Category::Monsters, zr3test::MonsterRecord(monster));
  zr3test::CharacterFields hero;
  hero.imageIds = {1, 0, 0, 0, 0, 0, 0, 0};
  hero.imagePaths = {"chars\\hero_n.bmp"};
  builder.Add(Category::Characters, zr3test::CharacterBlob(hero));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  auto pathOf = [&level](Category category, int index) {
    return zr3::render::ImagePathOf(*level.RecordAt(category, index));
  };
  EXPECT_EQ(pathOf(Category::Tiles, 0), "tiles\\grass.bmp");
  EXPECT_EQ(pathOf(Category::Objects, 0), "objects\\well.bmp");
  EXPECT_EQ(pathOf(Category::Graphics, 0), "gfx\\title.bmp");
  EXPECT_EQ(pathOf(Category::Graphics, 1), "");
  EXPECT_EQ(pathOf(Category::Monsters, 0), "monsters\\wolf.bmp");
  EXPECT_EQ(pathOf(Category::Characters, 0), "");
  EXPECT_EQ(pathOf(Category::Flags, 0), "");
}

// Every picture the demo level names is beside it and readable, so that the editor and the
// map drawing show the demo without a missing picture.
TEST(DemoPictures, EveryImagePathOfTheDemoLevelNamesAReadablePicture) {
  zr3::render::OffscreenGui gui;
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  std::vector<std::string> paths;
  for (const Category category : zr3::kFileOrder) {
    for (const auto& record : level.List(category)) {
      paths.push_back(zr3::render::ImagePathOf(*record));
      if (category != Category::Characters) continue;
      const auto& set = static_cast<const zr3::ZR3Character&>(*record);
      for (std::size_t i = 0; i < zr3::ZR3Character::kImageCount; ++i) {
        if (set.ImageId(i) != 0) paths.push_back(set.ImagePath(i));
      }
    }
  }
  std::erase(paths, std::string());
  EXPECT_GE(paths.size(), 19u);
  zr3::render::ImageCache images(zr3::render::DefaultGameFolders(QStringLiteral(ZR3_DEMO_PATH)));
  for (const std::string& path : paths) {
    const QImage* image = images.Original(path);
    ASSERT_NE(image, nullptr) << path;
    EXPECT_GE(image->width(), 16) << path;
  }
}

// A picture that already has an alpha channel keeps its transparency, and its magenta becomes
// transparent too: the picture view keys pictures that the cache keyed already.
TEST(ApplyColourKey, KeysMagentaAndKeepsAnAlphaChannel) {
  QImage picture(3, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(255, 0, 255, 255));
  picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
  picture.setPixel(2, 0, qRgba(10, 20, 30, 255));
  const QImage keyed = zr3::render::ApplyColourKey(picture);
  EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(keyed.pixel(1, 0)), 0);
  EXPECT_EQ(keyed.pixel(2, 0), qRgba(10, 20, 30, 255));
  QImage opaque(2, 1, QImage::Format_RGB888);
  opaque.fill(qRgb(1, 2, 3));
  EXPECT_EQ(zr3::render::ApplyColourKey(opaque).format(), QImage::Format_RGB32);
}

}  // namespace
