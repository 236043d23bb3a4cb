#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "level/field_access.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using zr3::Category;
using zr3::ZR3Level;

// One editing command of the window and the zr3 call that makes the same change on the demo:
// the words "{LEVEL}" and "{OUT}" stand for the demo and the level written, "{SCRIPTS}" for a
// script text file holding scripts; what the call wrote must show the change.
struct ParityRow {
  std::string window;
  std::vector<std::string> args;
  std::function<void(const ZR3Level& changed)> check;
  std::string input = "";  // standard input
};

// Names the case in the test's output.
void PrintTo(const ParityRow& c, std::ostream* out) {
  *out << c.window;
}

std::string NameOf(const ZR3Level& level, Category category, std::size_t index) {
  return level.List(category).at(index)->Name();
}

std::string FieldOf(const zr3::FieldList& fields, const std::string& name) {
  for (const zr3::FieldInfo& field : fields) {
    if (field.name == name) return field.value;
  }
  return "(no field " + name + ")";
}

const zr3::ZR3Map& MapOf(const ZR3Level& level, std::size_t index) {
  return static_cast<const zr3::ZR3Map&>(*level.List(Category::Maps).at(index));
}

// The name of the tile in a slot of the village (map 1), or "" when the slot is empty.
std::string VillageTile(const ZR3Level& level, int row, int column, std::size_t slot) {
  const zr3::ZR3ChainRecord* tile = MapOf(level, 1).CellTile(row, column, slot);
  return tile ? tile->Name() : "";
}

// The demo's first global script as the export writes it, with its wait changed from the
// window's text editor.
const std::string kEditedMayor =
    "globalscript \"Mayor greets\"\r\nconditions:\r\n  flag \"MetMayor\" == val 0\r\n"
    "commands:\r\n  wait 5\r\nend script\r\n";

const ParityRow kRows[] = {
    {"Rename (F2)",
     {"rename", "{LEVEL}", "maps", "0", "Oldtree", "-o", "{OUT}"},
     [](const ZR3Level& level) { EXPECT_EQ(NameOf(level, Category::Maps, 0), "Oldtree"); }},
    {"Move Down (Ctrl+Down)",
     {"move", "{LEVEL}", "tiles", "0", "down", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       EXPECT_EQ(NameOf(level, Category::Tiles, 0), "Wall");
       EXPECT_EQ(NameOf(level, Category::Tiles, 1), "Grass");
     }},
    {"Copy a script into another kind",
     {"copy", "{LEVEL}", "global-scripts", "0", "--to", "death", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       ASSERT_EQ(level.List(Category::DeathScripts).size(), 2u);
       EXPECT_EQ(NameOf(level, Category::DeathScripts, 1), "Mayor greets");
     }},
    {"Delete (Del)",
     {"delete", "{LEVEL}", "global-scripts", "1", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       ASSERT_EQ(level.List(Category::GlobalScripts).size(), 1u);
       EXPECT_EQ(NameOf(level, Category::GlobalScripts, 0), "Mayor greets");
     }},
    {"Fields tab: a record's field",
     {"set", "{LEVEL}", "items", "0", "cost", "45", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       EXPECT_EQ(FieldOf(level.List(Category::Items)[0]->Fields(), "cost"), "45");
     }},
    {"Fields tab: the level information (General)",
     {"set", "{LEVEL}", "general", "author", "Someone Else", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       EXPECT_EQ(FieldOf(level.Info().Fields(), "author"), "Someone Else");
     }},
    {"Fields tab: a map's size",
     {"set", "{LEVEL}", "maps", "0", "size", "12", "-o", "{OUT}"},
     [](const ZR3Level& level) { EXPECT_EQ(MapOf(level, 0).Side(), 12); }},
    {"Map tab: paint a cell (click)",
     {"paint", "{LEVEL}", "1", "2", "7", "3,4", "-o", "{OUT}"},
     [](const ZR3Level& level) { EXPECT_EQ(VillageTile(level, 3, 4, 1), "Fence"); }},
    {"Map tab: fill a rectangle (Shift+drag)",
     {"paint", "{LEVEL}", "1", "1", "2", "2,3:0,0", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       for (int row = 0; row <= 2; ++row) {
         for (int column = 0; column <= 3; ++column) {
           EXPECT_EQ(VillageTile(level, row, column, 0), "Water") << row << "," << column;
         }
       }
       EXPECT_NE(VillageTile(level, 3, 0, 0), "Water");
     }},
    {"Map tab: erase (right button)",
     {"paint", "{LEVEL}", "1", "3", "none", "0,0:47,47", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       for (int row = 0; row < 48; ++row) {
         for (int column = 0; column < 48; ++column) {
           ASSERT_EQ(VillageTile(level, row, column, 2), "") << row << "," << column;
         }
       }
     }},
    {"Palette tab: a colour (double-click)",
     {"set-colour", "{LEVEL}", "0", "5", "#ff0080", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       const auto& palette =
           static_cast<const zr3::ZR3Palette&>(*level.List(Category::Palettes).at(0));
       EXPECT_EQ(palette.Colours()[15], 0xff);
       EXPECT_EQ(palette.Colours()[16], 0x00);
       EXPECT_EQ(palette.Colours()[17], 0x80);
     }},
    {"File > Import Scripts",
     {"import-scripts", "{LEVEL}", "{SCRIPTS}", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       ASSERT_EQ(level.List(Category::GlobalScripts).size(), 3u);
       EXPECT_EQ(NameOf(level, Category::GlobalScripts, 2), "Bell rings");
     }},
    {"Edit as text (one script)",
     {"import-scripts", "{LEVEL}", "-", "-o", "{OUT}"},
     [](const ZR3Level& level) {
       ASSERT_EQ(level.List(Category::GlobalScripts).size(), 2u);
       EXPECT_EQ(FieldOf(level.List(Category::GlobalScripts)[0]->Fields(), "commands"), "1 in use");
     },
     kEditedMayor},
    {"File > Save As",
     {"save", "{LEVEL}", "{OUT}"},
     [](const ZR3Level& level) { EXPECT_EQ(level.List(Category::Tiles).size(), 11u); }},
};

class CliWindowParity : public ::testing::TestWithParam<ParityRow> {};

TEST_P(CliWindowParity, TheCommandLineMakesTheWindowsChange) {
  zr3test::TempDir dir;
  const std::string scripts = dir.Path("scripts.txt");
  zr3test::WriteFile(scripts,
                     "globalscript \"Bell rings\"\r\ncommands:\r\n  wait 1\r\nend script\r\n");
  std::vector<std::string> args;
  for (const std::string& word : GetParam().args) {
    args.push_back(word == "{LEVEL}"     ? std::string(ZR3_DEMO_PATH)
                   : word == "{OUT}"     ? dir.Path("out.zr3")
                   : word == "{SCRIPTS}" ? scripts
                                         : word);
  }
  const zr3test::CliResult result = zr3test::RunCliWithInput(args, GetParam().input);
  ASSERT_EQ(result.status, 0) << result.err;
  ZR3Level changed;
  changed.Load(dir.Path("out.zr3"));
  GetParam().check(changed);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliWindowParity, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<ParityRow>& info) {
                           return "Row" + std::to_string(info.index);
                         });

}  // namespace
