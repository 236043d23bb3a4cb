#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "edit/map_paint.h"
#include "level/zr3level.h"
#include "render/render_fixture.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using zr3::Category;
using zr3test::PixelAt;
using zr3test::RunCli;

// A demo map with a rectangle painted over, drawn against the demo: the painted cells as
// drawn without --diff and outlined, every other cell dimmed.
TEST(RenderMapDiff, OutlinesTheChangedCellsAndDimsTheRest) {
  zr3test::TempDir dir;
  const std::string old = dir.Path("old.zr3");
  const std::string changed = dir.Path("new.zr3");
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  level.Save(old);
  auto* tile = static_cast<zr3::ZR3ChainRecord*>(level.List(Category::Tiles)[2].get());
  zr3::MapPaint paint(level, 0);
  ASSERT_GT(paint.Fill(level, 2, 4, 3, 6, 2, tile), 0u);
  level.Save(changed);

  const std::string plainPath = dir.Path("plain.png");
  const std::string markedPath = dir.Path("marked.png");
  ASSERT_EQ(RunCli({"render-map", changed, "0", plainPath, "--game-folder", dir.Path("")}).status,
            0);
  const zr3test::CliResult marked = RunCli(
      {"render-map", changed, "0", markedPath, "--game-folder", dir.Path(""), "--diff", old});
  ASSERT_EQ(marked.status, 0) << marked.err;
  const QImage plain(QString::fromStdString(plainPath));
  const QImage outlined(QString::fromStdString(markedPath));
  ASSERT_EQ(plain.size(), outlined.size());
  // Cells are 16 pixels and the border ring is one cell wide.
  const auto centre = [](int rowOrColumn) { return (rowOrColumn + 1) * 16 + 8; };
  EXPECT_EQ(PixelAt(outlined, centre(5), centre(2)), PixelAt(plain, centre(5), centre(2)));
  const QColor before(PixelAt(plain, centre(0), centre(0)));
  const QColor after(PixelAt(outlined, centre(0), centre(0)));
  EXPECT_LT(after.lightness(), before.lightness());
  const QColor edge(PixelAt(outlined, centre(5), (2 + 1) * 16));
  EXPECT_GT(edge.red(), 200);
  EXPECT_LT(edge.green(), 100);
}

}  // namespace
