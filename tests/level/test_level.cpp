#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "level/text.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/level_on_disk.h"
#include "support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using zr3::Category;
using zr3::ZR3Error;
using zr3::ZR3Level;
using zr3test::LevelBuilder;

constexpr std::size_t kEmptyLevelSize = 9754;

std::string LoadError(std::string_view bytes) {
  ZR3Level level;
  try {
    level.LoadFromBytes(bytes);
  } catch (const ZR3Error& e) {
    EXPECT_FALSE(level.Loaded());
    return e.what();
  }
  return "(loaded)";
}

class RecordingProgress : public zr3::ZR3Progress {
 public:
  void ShowStatus(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

TEST(LevelContainer, EmptyLevelRoundTripsToTheSameBytes) {
  LevelBuilder builder;
  builder.flags[7] = "Seven";
  builder.groups[19] = "Last group";
  builder.customText[3] = "Exp";
  builder.opaque[0] = '\x5a';
  builder.opaque[319] = '\xa5';
  builder.info.opaqueA[3] = '\x11';
  builder.info.opaqueB[39] = '\x22';
  const zr3test::Blob built = builder.Build();
  ASSERT_EQ(built.Size(), kEmptyLevelSize);

  ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  EXPECT_TRUE(level.Loaded());
  EXPECT_FALSE(level.Modified());
  EXPECT_EQ(level.List(Category::Flags).size(), 256u);
  EXPECT_EQ(level.List(Category::Groups).size(), 20u);
  EXPECT_EQ(level.List(Category::CustomText).size(), 4u);
  EXPECT_EQ(level.List(Category::Flags)[7]->Name(), "Seven");
  EXPECT_EQ(level.List(Category::Flags)[7]->Position(), 7);
  EXPECT_EQ(level.List(Category::Groups)[19]->Name(), "Last group");
  EXPECT_EQ(level.SaveToBytes(), built.Bytes());
}

TEST(LevelContainer, ProgressMessagesComeInFileOrderAndEndEmpty) {
  RecordingProgress progress;
  ZR3Level level;
  level.LoadFromBytes(LevelBuilder().Build().Bytes(), &progress);
  EXPECT_THAT(progress.messages,
              ElementsAre("Loading Maps...", "Loading Tiles...", "Loading Objects...",
                          "Loading Global Scripts...", "Loading Death Scripts...",
                          "Loading Object Scripts...", "Loading Startup Scripts...",
                          "Loading Flags...", "Loading Groups...", "Loading Items...",
                          "Loading Spells...", "Loading Shops...", "Loading Monsters...",
                          "Loading Palettes...", "Loading Texts...", "Loading Character Sets...",
                          "Loading Songs...", "Loading Level Info...", "Loading Graphics...",
                          "Loading Custom Text...", "Loading Lists...", "Setting links...", ""));
}

TEST(LevelContainer, WrongHeaderIsRefused) {
  for (std::string header : {"02012401", "0201240", "", "XXXXXXXX"}) {
    LevelBuilder builder;
    builder.header = header;
    ZR3Level level;
    EXPECT_THROW(
        {
          try {
            level.LoadFromBytes(builder.Build().Bytes());
          } catch (const ZR3Error& e) {
            EXPECT_STREQ(e.what(), "Not a ZR3 File");
            throw;
          }
        },
        ZR3Error)
        << header;
    EXPECT_FALSE(level.Loaded());
    for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
      EXPECT_TRUE(level.List(static_cast<Category>(c)).empty());
    }
  }
}

TEST(LevelContainer, TruncationFailsWithTheSectionName) {
  LevelBuilder builder;
  const std::string bytes = builder.Build().Bytes();
  const auto sections = builder.SectionOffsets();
  // Cutting a file just before a piece, or one byte into it, names that piece.
  for (std::size_t i = 1; i + 1 < sections.size(); ++i) {
    const auto& [name, offset] = sections[i];
    SCOPED_TRACE(name);
    EXPECT_EQ(LoadError(std::string_view(bytes).substr(0, offset)),
              "Unexpected end of file while loading " + name);
    EXPECT_EQ(LoadError(std::string_view(bytes).substr(0, offset + 1)),
              "Unexpected end of file while loading " + name);
  }
  const std::size_t info = std::find_if(sections.begin(), sections.end(), [](const auto& s) {
                             return s.first == "Level Info";
                           })->second;
  EXPECT_EQ(LoadError(std::string_view(bytes).substr(0, info + 200)),
            "Unexpected end of file while loading Level Info");
}

TEST(LevelContainer, BytesAfterTheLastSectionAreIgnored) {
  const std::string bytes = LevelBuilder().Build().Bytes();
  ZR3Level level;
  level.LoadFromBytes(bytes + "trailing bytes");
  EXPECT_TRUE(level.Loaded());
  EXPECT_EQ(level.SaveToBytes(), bytes);
}

TEST(LevelContainer, FixedWidthTextRule) {
  LevelBuilder builder;
  const std::string full32(32, 'Z');
  builder.flags[0] = full32;
  builder.flags[1] = std::string("ab\0cd", 5);  // bytes after the first zero
  builder.flags[2] = "\xe9t\xe9\r\n";           // 8-bit bytes and control characters kept
  builder.info.version = "1234567890";          // exactly the width: no terminating zero
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const zr3::RecordList& flags = level.List(Category::Flags);
  EXPECT_EQ(flags[0]->Name(), full32);
  EXPECT_EQ(flags[1]->Name(), "ab");
  EXPECT_EQ(flags[2]->Name(), "\xe9t\xe9\r\n");
  EXPECT_EQ(level.Info().version, "1234567890");

  builder.flags[1] = "ab";
  EXPECT_EQ(level.SaveToBytes(), builder.Build().Bytes());

  flags[3]->SetName(std::string(40, 'L'));  // a longer name is cut to the field
  const std::string saved = level.SaveToBytes();
  ZR3Level reread;
  reread.LoadFromBytes(saved);
  EXPECT_EQ(reread.List(Category::Flags)[3]->Name(), std::string(32, 'L'));
}

TEST(RecordBase, HexDump) {
  const std::uint8_t bytes[] = {0x00, 0x0a, 0xff};
  EXPECT_EQ(zr3::HexDump("Unknown:", bytes, 0), "Unknown:");
  EXPECT_EQ(zr3::HexDump("Unknown:", bytes, 3), "Unknown: 00 0a ff");
  EXPECT_EQ(zr3::HexDumpU32("Id:", 1), "Id: 01 00 00 00");
  EXPECT_EQ(zr3::HexDumpU32("Id:", 0xA1B2C3D4), "Id: d4 c3 b2 a1");
}

TEST(LevelInformation, DescribeInfoLines) {
  LevelBuilder builder;
  builder.info.name = "Castle";
  builder.info.author = "Ann";
  builder.info.email = "ann@example.org";
  builder.info.version = "2.1";
  builder.info.levelText = "Welcome";
  builder.info.statBuying = 1;
  builder.info.encounterPercent = 200;
  builder.info.inventorySize = 255;
  builder.info.paletteId = 0x01020304;
  builder.info.backgroundId = 7;
  builder.customText = {"Magic", "Stuff", "Coins", "XP"};
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  zr3::Lines lines;
  level.DescribeInfo(lines);
  EXPECT_THAT(lines,
              ElementsAre("Header: 02012400", "Name: Castle", "Version: 2.1", "Author: Ann",
                          "Email: ann@example.org", "Level Text: Welcome", "Stat Buying: Off",
                          "Encounter Percent: 200", "Inventory Size: 255", "Spells Text: Magic",
                          "Items Text: Stuff", "Gold Text: Coins", "Exp Text: XP",
                          "Palette: 04 03 02 01", "Background: 07 00 00 00",
                          "Combat Screen: 00 00 00 00", "Inventory Screen: 00 00 00 00"));

  for (auto [value, text] : {std::pair{0, "Stat Buying: On"}, std::pair{2, "Stat Buying: On"}}) {
    builder.info.statBuying = static_cast<std::uint8_t>(value);
    ZR3Level other;
    other.LoadFromBytes(builder.Build().Bytes());
    lines.clear();
    other.DescribeInfo(lines);
    EXPECT_EQ(lines[6], text);
  }
}

TEST(LevelInformation, UnresolvedIdentifiersAreWrittenBackUnchanged) {
  LevelBuilder builder;
  builder.info.paletteId = 11;
  builder.info.backgroundId = 12;
  builder.info.combatScreenId = 13;
  builder.info.inventoryScreenId = 0xFFFFFFFF;
  const std::string bytes = builder.Build().Bytes();
  ZR3Level level;
  level.LoadFromBytes(bytes);
  EXPECT_EQ(level.SaveToBytes(), bytes);
}

std::string EmptyLevelText() {
  std::string text =
      "Header: 02012400\r\nName: \r\nVersion: \r\nAuthor: \r\nEmail: \r\nLevel Text: \r\n"
      "Stat Buying: On\r\nEncounter Percent: 0\r\nInventory Size: 0\r\nSpells Text: \r\n"
      "Items Text: \r\nGold Text: \r\nExp Text: \r\nPalette: 00 00 00 00\r\n"
      "Background: 00 00 00 00\r\nCombat Screen: 00 00 00 00\r\n"
      "Inventory Screen: 00 00 00 00\r\n--------------------\r\nFLAGS\r\n";
  for (int i = 0; i < 256; ++i) text += std::to_string(i) + ": \r\n";
  text += "--------------------\r\nGROUPS\r\n";
  for (int i = 0; i < 20; ++i) text += std::to_string(i) + ": \r\n";
  text += "--------------------\r\nCUSTOM TEXT\r\nName: \r\nName: \r\nName: \r\nName: \r\n";
  text += "--------------------\r\n";
  return text;
}

TEST(LevelTextExport, EmptyLevelHoldsInformationFlagsGroupsAndCustomText) {
  ZR3Level level;
  level.LoadFromBytes(LevelBuilder().Build().Bytes());
  EXPECT_EQ(level.LevelText(), EmptyLevelText());

  zr3test::TempDir dir;
  level.ExportLevelText(dir.Path("level.txt"));
  EXPECT_EQ(zr3test::ReadFile(dir.Path("level.txt")), EmptyLevelText());
  EXPECT_THROW(level.ExportLevelText(""), ZR3Error);
}

TEST(LevelTextExport, ServesALevelWhoseLoadFailed) {
  LevelBuilder builder;
  builder.flags[0] = "First";
  const std::string bytes = builder.Build().Bytes();
  const auto sections = builder.SectionOffsets();
  const std::size_t groups = std::find_if(sections.begin(), sections.end(), [](const auto& s) {
                               return s.first == "Groups";
                             })->second;
  ZR3Level level;
  EXPECT_THROW(level.LoadFromBytes(std::string_view(bytes).substr(0, groups + 40)), ZR3Error);
  ASSERT_EQ(level.List(Category::Groups).size(), 1u);
  const std::string text = level.LevelText();
  EXPECT_THAT(text, HasSubstr("FLAGS\r\n0: First\r\n"));
  EXPECT_THAT(text, HasSubstr("GROUPS\r\n0: \r\n--------------------\r\nCUSTOM TEXT\r\n"
                              "--------------------\r\n"));
  zr3::Lines lines;
  level.DescribeInfo(lines);
  EXPECT_EQ(lines[9], "Spells Text: ");
}

class SaveFailures : public zr3test::LevelOnDisk {
 protected:
  void SetUp() override {
    Place(LevelBuilder().Build().Bytes());
    level.List(Category::Flags)[0]->SetName("Changed");
    level.SetModified(true);
  }
  void ExpectFailedSaveKeepsEverything(const std::string& target) {
    EXPECT_THROW(level.Save(target), ZR3Error);
    EXPECT_TRUE(level.Modified());
    EXPECT_EQ(level.FileName(), path);
    EXPECT_EQ(zr3test::ReadFile(path), original);
    EXPECT_EQ(dir.FileCount(), 1u) << "a temporary file was left behind";
  }
};

TEST_F(SaveFailures, FolderThatDoesNotExist) {
  ExpectFailedSaveKeepsEverything(dir.Path("missing/level.zr3"));
}

TEST_F(SaveFailures, TargetThatIsAFolder) {
  std::filesystem::create_directory(dir.Path("folder.zr3"));
  ExpectFailedSaveKeepsEverything(dir.Path("folder.zr3"));
}

TEST_F(SaveFailures, SuccessfulSaveReplacesAndClearsTheFlag) {
  const std::string other = dir.Path("other.zr3");
  level.Save(other);
  EXPECT_FALSE(level.Modified());
  EXPECT_EQ(level.FileName(), other);
  ZR3Level reread;
  reread.Load(other);
  EXPECT_EQ(reread.List(Category::Flags)[0]->Name(), "Changed");
  EXPECT_EQ(zr3test::ReadFile(path), original);
}

TEST(LevelContainer, MissingFileCannotBeOpened) {
  ZR3Level level;
  try {
    level.Load("/nonexistent/level.zr3");
    FAIL() << "loaded";
  } catch (const ZR3Error& e) {
    EXPECT_STREQ(e.what(), "Cannot open file /nonexistent/level.zr3");
  }
  EXPECT_FALSE(level.Loaded());
}

}  // namespace
