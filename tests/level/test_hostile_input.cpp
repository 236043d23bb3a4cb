#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "level/safefile.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3script.h"
#include "support/allocation_meter.h"
#include "support/chain_ids.h"
#include "support/faulty_files.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/level_on_disk.h"
#include "support/object_builder.h"
#include "support/script_builder.h"
#include "support/temp_dir.h"

namespace {

using ::testing::AnyOf;
using ::testing::StartsWith;
using zr3::Category;
using zr3::ZR3Error;
using zr3::ZR3Level;
using zr3test::FailingStep;
using zr3test::FullDisk;

constexpr std::size_t kMapSize = 120064;
constexpr std::size_t kMapCellsBegin = 36;
constexpr std::size_t kMapCellsEnd = 120036;

std::string LoadFailure(std::string_view bytes) {
  ZR3Level level;
  try {
    level.LoadFromBytes(bytes);
  } catch (const ZR3Error& e) {
    return e.what();
  }
  return "(loaded)";
}

// Cuts the file after every byte and expects a clear refusal each time. Inside the cells of a
// map every cut behaves alike, so there every 499th cut is tried.
void ExpectEveryPrefixRefused(const std::string& bytes, std::size_t maps) {
  auto insideCells = [maps](std::size_t offset) {
    constexpr std::size_t kMapsBegin = 8 + 2;
    if (offset < kMapsBegin || offset >= kMapsBegin + maps * kMapSize) return false;
    const std::size_t within = (offset - kMapsBegin) % kMapSize;
    return within > kMapCellsBegin && within < kMapCellsEnd;
  };
  for (std::size_t cut = 0; cut < bytes.size(); cut += insideCells(cut) ? 499 : 1) {
    const std::string failure = LoadFailure(std::string_view(bytes).substr(0, cut));
    ASSERT_THAT(failure, AnyOf(StartsWith("Unexpected end of file while loading "),
                               std::string("Not a ZR3 File")))
        << "cut at " << cut;
  }
}

zr3test::LevelBuilder LevelOfManyKinds(std::size_t records) {
  zr3test::LevelBuilder builder;
  std::vector<zr3test::ItemFields> items(records);
  std::vector<zr3test::ScriptFields> scripts;
  std::vector<zr3test::ObjectFields> objects;
  for (std::size_t i = 0; i < records; ++i) {
    items[i].name = "Item " + std::to_string(i);
    scripts.push_back(zr3test::ScriptWith("Script " + std::to_string(i), {{1, {0, 0, 0, 1}}},
                                          {{101, {0, 0, 0, 1}}, {104, {0, 0}}}));
    objects.push_back(zr3test::NamedObject("Object " + std::to_string(i), 1));
    objects.back().scriptIds[0] = static_cast<std::uint32_t>(5000 + i);
  }
  zr3test::ChainIds(items, 1000);
  zr3test::ChainIds(scripts, 5000);
  zr3test::ChainIds(objects, 9000);
  for (const auto& item : items) builder.Add(Category::Items, zr3test::ItemBlob(item));
  for (const auto& script : scripts) {
    builder.Add(Category::ObjectScripts, zr3test::ScriptBlob(script));
  }
  for (const auto& object : objects) builder.Add(Category::Objects, zr3test::ObjectRecord(object));
  return builder;
}

TEST(HostileInput, EveryPrefixOfTheDemoLevelIsRefusedClearly) {
  const std::string demo = zr3test::ReadFile(ZR3_DEMO_PATH);
  ZR3Level level;
  level.LoadFromBytes(demo);
  ExpectEveryPrefixRefused(demo, level.List(Category::Maps).size());
}

TEST(HostileInput, EveryPrefixOfAGeneratedLevelIsRefusedClearly) {
  ExpectEveryPrefixRefused(LevelOfManyKinds(3).Build().Bytes(), 0);
}

TEST(HostileInput, ACountIsNeverTrustedForMemory) {
  zr3test::LevelBuilder builder;
  builder.SetCount(Category::Maps, 65535);
  const std::string bytes = builder.Build().Bytes();  // claims 65535 maps, holds none
  zr3test::AllocationMeter meter;
  EXPECT_EQ(LoadFailure(bytes), "Unexpected end of file while loading Maps");
  EXPECT_LT(meter.PeakBytes(), 64u * 1024u);
}

TEST(HostileInput, LoadingNeedsASmallMultipleOfTheFileSize) {
  const std::string bytes = LevelOfManyKinds(2000).Build().Bytes();
  std::size_t peak = 0;
  {
    zr3test::AllocationMeter meter;
    ZR3Level level;
    level.LoadFromBytes(bytes);
    peak = meter.PeakBytes();
  }
  EXPECT_LT(peak, 6 * bytes.size()) << "file " << bytes.size() << " bytes, peak " << peak;
}

class InjectedFaults : public zr3test::LevelOnDisk {
 protected:
  void SetUp() override {
    Place(zr3test::ReadFile(ZR3_DEMO_PATH));
    textPath = dir.Path("level.txt");
    zr3test::WriteFile(textPath, "the old export\r\n");
    level.List(Category::Flags)[0]->SetName("Changed");
    level.SetModified(true);
  }

  // Whatever failed, both old files are as they were and nothing else is in the folder.
  void ExpectNothingChanged() {
    EXPECT_TRUE(level.Modified());
    EXPECT_EQ(level.FileName(), path);
    EXPECT_EQ(zr3test::ReadFile(path), original);
    EXPECT_EQ(zr3test::ReadFile(textPath), "the old export\r\n");
    EXPECT_EQ(dir.FileCount(), 2u) << "a temporary file was left behind";
  }

  void ExpectSaveAndExportFail(zr3::FileLayer& layer) {
    zr3::SetFileLayer(&layer);
    EXPECT_THROW(level.Save(path), ZR3Error);
    ExpectNothingChanged();
  }

  std::string textPath;
};

TEST_F(InjectedFaults, DiskFullAtAnyPointOfTheSave) {
  for (std::size_t budget : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, original.size() / 2,
                             original.size() - 1}) {
    FullDisk disk(budget);
    ExpectSaveAndExportFail(disk);
  }
}

TEST_F(InjectedFaults, FailureOfAnyStepOfTheSave) {
  for (auto step :
       {FailingStep::kCreate, FailingStep::kSync, FailingStep::kClose, FailingStep::kRename}) {
    FailingStep failing(step);
    ExpectSaveAndExportFail(failing);
  }
}

TEST_F(InjectedFaults, ExportFailureKeepsTheOldText) {
  const std::size_t textSize = level.LevelText().size();
  for (std::size_t budget : {std::size_t{0}, textSize / 2, textSize - 1}) {
    FullDisk disk(budget);
    zr3::SetFileLayer(&disk);
    EXPECT_THROW(level.ExportLevelText(textPath), ZR3Error);
    ExpectNothingChanged();
  }
  zr3::SetFileLayer(nullptr);
  EXPECT_THROW(level.ExportLevelText(dir.Path("missing/level.txt")), ZR3Error);
  std::filesystem::create_directory(dir.Path("folder.txt"));
  EXPECT_THROW(level.ExportLevelText(dir.Path("folder.txt")), ZR3Error);
  std::filesystem::remove(dir.Path("folder.txt"));
  ExpectNothingChanged();
}

// Saves and exports stream through a buffer of 1 MB; this level is larger than that.
class StreamedWrites : public zr3test::LevelOnDisk {
 protected:
  void SetUp() override {
    Place(LevelOfManyKinds(2000).Build().Bytes());
    ASSERT_GT(original.size(), std::size_t{1} << 20);
  }

  void ExpectOnlyTheOldFile() {
    EXPECT_EQ(zr3test::ReadFile(path), original);
    EXPECT_EQ(dir.FileCount(), 1u) << "a temporary file was left behind";
  }
};

TEST_F(StreamedWrites, WriteTheSameBytesAsInMemory) {
  level.Save(dir.Path("copy.zr3"));
  EXPECT_EQ(zr3test::ReadFile(dir.Path("copy.zr3")), level.SaveToBytes());
  level.ExportLevelText(dir.Path("level.txt"));
  const std::string text = level.LevelText();
  EXPECT_GT(text.size(), std::size_t{1} << 20);
  EXPECT_EQ(zr3test::ReadFile(dir.Path("level.txt")), text);
}

TEST_F(StreamedWrites, AFailureAfterTheFirstBufferKeepsTheOldFile) {
  // The disk fills while the save is still making later parts of the file.
  for (std::size_t budget : {std::size_t{0}, (std::size_t{1} << 20) + 17, original.size() - 4096}) {
    FullDisk disk(budget);
    zr3::SetFileLayer(&disk);
    EXPECT_THROW(level.Save(path), ZR3Error);
    zr3::SetFileLayer(nullptr);
    ExpectOnlyTheOldFile();
  }

  // The last object script alone names an item whose position no script parameter holds,
  // so the save stops after most of the file went to the temporary.
  auto& last = level.At<zr3::ZR3Script>(Category::ObjectScripts, 1999);
  last.Command(1).SetParameter(1, 1);
  last.Link(level);
  level.List(Category::Items)[1]->SetPosition(40000);
  try {
    level.Save(path);
    ADD_FAILURE() << "the save did not fail";
  } catch (const ZR3Error& error) {
    EXPECT_THAT(error.what(), StartsWith("Cannot save the script \"Script 1999\""));
  }
  EXPECT_TRUE(level.Modified());
  ExpectOnlyTheOldFile();
}

}  // namespace
