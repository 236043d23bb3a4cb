#include <gtest/gtest.h>

#include "level/bytes.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3script.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/script_builder.h"
#include "support/stand_in_record.h"

namespace zr3test {
namespace {

using zr3::Category;
using zr3::ZR3Script;

std::string Pattern(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 37 + seed) & 0xff);
  return bytes;
}

// Adds the scripts to one section with chained identifiers.
void AddScripts(LevelBuilder& builder, Category category, std::vector<ScriptFields> scripts,
                std::uint32_t firstId) {
  ChainIds(scripts, firstId);
  for (const ScriptFields& script : scripts) builder.Add(category, ScriptBlob(script));
}

ZR3Script& ScriptAt(zr3::ZR3Level& level, Category category, std::size_t index) {
  return level.At<ZR3Script>(category, index);
}

TEST(ScriptRecord, RoundTripKeepsEveryByte) {
  LevelBuilder builder;
  builder.flags[0] = "Gold";
  builder.flags[1] = "Silver";

  // Counts above ten, opaque blocks and slots beyond the counts full of data.
  ScriptFields full = ScriptWith("A name of exactly thirty-two ch.", {{1, {0, 0, 0, 10}}},
                                 {{114, {1, 0, 3, 1}}, {110, {-1}}});
  full.blockA = Pattern(200, 1);
  full.blockB = Pattern(200, 2);
  full.opaque = "\xab\xcd";
  full.conditionCount = 12;
  full.commandCount = 11;
  for (std::size_t i = 1; i < 10; ++i) full.conditions[i] = {static_cast<std::uint16_t>(i), {}};
  full.conditions[9] = {4, {-1, 250, 3, 4, 5, 6, 7, 8, 9}};
  full.commands[9] = {999, {-7, -6, -5, -4, -3, -2, -1, 0, 32767}};

  ScriptFields beyond = ScriptWith("Beyond", {{2, {0, 0, 40, 3, 0, 0, 0}}}, {{104, {0, 33}}});
  beyond.conditionCount = 0;
  beyond.commandCount = 0;
  beyond.conditions[5] = {13, {12, 1, 2, 3, 4, 5, 6, 7, 8}};
  beyond.commands[8] = {129, {5, 6, -1, 0, 0, 0, 0, 0, 1}};
  beyond.opaque = std::string("\x01\x00", 2);

  AddScripts(builder, Category::GlobalScripts, {full, beyond}, 10);
  AddScripts(builder, Category::DeathScripts, {ScriptWith("Death", {}, {{115, {}}})}, 20);
  AddScripts(builder, Category::ObjectScripts,
             {ScriptWith("Door", {{0, {}}}, {{101, {1, 0, 3, 1}}}),
              ScriptWith("Chest", {}, {{114, {0, 1, 0, 1}}}), ScriptWith("Well", {}, {})},
             30);
  AddScripts(builder, Category::StartupScripts, {ScriptWith("Start", {}, {{120, {}}})}, 40);
  const Blob built = builder.Build();

  zr3::ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  EXPECT_TRUE(SameModuloIds(built, level.SaveToBytes()));
}

TEST(ScriptRecord, KindComesFromTheSection) {
  LevelBuilder builder;
  AddScripts(builder, Category::GlobalScripts, {ScriptWith("G", {}, {})}, 1);
  AddScripts(builder, Category::DeathScripts, {ScriptWith("D", {}, {})}, 2);
  AddScripts(builder, Category::ObjectScripts,
             {ScriptWith("O1", {}, {}), ScriptWith("O2", {}, {}), ScriptWith("O3", {}, {})}, 3);
  AddScripts(builder, Category::StartupScripts, {ScriptWith("S", {}, {})}, 9);
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  const std::pair<Category, int> kinds[] = {{Category::GlobalScripts, 0},
                                            {Category::DeathScripts, 1},
                                            {Category::ObjectScripts, 2},
                                            {Category::StartupScripts, 3}};
  for (const auto& [category, kind] : kinds) {
    const ZR3Script& script = ScriptAt(level, category, 0);
    EXPECT_EQ(script.Kind(), kind);
    EXPECT_EQ(script.ListCategory(), category);
  }
  EXPECT_EQ(ScriptAt(level, Category::ObjectScripts, 0).Name(), "O1");
  // Neighbours stay within the kind's list.
  const ZR3Script& middle = ScriptAt(level, Category::ObjectScripts, 1);
  EXPECT_EQ(middle.Prev(), &ScriptAt(level, Category::ObjectScripts, 0));
  EXPECT_EQ(middle.Next(), &ScriptAt(level, Category::ObjectScripts, 2));
  EXPECT_EQ(ScriptAt(level, Category::DeathScripts, 0).Next(), nullptr);
  EXPECT_EQ(ScriptAt(level, Category::DeathScripts, 0).Prev(), nullptr);
}

TEST(ScriptRecord, DescribeLines) {
  LevelBuilder builder;
  builder.flags[0] = "Gold";
  ScriptFields empty = ScriptWith("Empty", {}, {});
  empty.opaque = "\x07\xfe";
  empty.id = 0x01020304;
  empty.nextId = 5;
  empty.prevId = 0;
  ScriptFields busy = ScriptWith("Busy", {{1, {0, 0, 0, 10}}}, {{110, {500}}, {99, {}}});
  busy.conditionCount = 12;
  for (auto& slot : busy.conditions) slot = {7, {0}};
  builder.Add(Category::GlobalScripts, ScriptBlob(empty));
  builder.Add(Category::GlobalScripts, ScriptBlob(busy));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  zr3::Lines lines;
  ScriptAt(level, Category::GlobalScripts, 0).Describe(lines);
  EXPECT_EQ(lines, (zr3::Lines{"Name: Empty", "Conditions: 0", "Commands: 0", "Unknown: 07 fe",
                               "Next Id: 05 00 00 00", "Prev Id: 00 00 00 00", "Id: 04 03 02 01"}));

  lines.clear();
  ScriptAt(level, Category::GlobalScripts, 1).Describe(lines);
  ASSERT_EQ(lines.size(), 1u + 10u + 2u + 2u + 4u);
  EXPECT_EQ(lines[1], "Condition 0: Combat In combat");
  EXPECT_EQ(lines[10], "Condition 9: Combat In combat");
  EXPECT_EQ(lines[11], "Command 0: Wait 500ms");
  EXPECT_EQ(lines[12], "Command 1: null");
  EXPECT_EQ(lines[13], "Conditions: 12");
  EXPECT_EQ(lines[14], "Commands: 2");
}

TEST(ScriptRecord, OnlySlotsInUseAreLinkedButEverySlotIsAsked) {
  LevelBuilder builder;
  builder.flags[3] = "Key";
  builder.flags[4] = "Lever";
  ScriptFields script = ScriptWith("S", {{1, {3, 0, 0, 1}}}, {});
  script.conditions[1] = {1, {4, 0, 0, 1}};  // beyond the count: never linked
  builder.Add(Category::GlobalScripts, ScriptBlob(script));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  ZR3Script& loaded = ScriptAt(level, Category::GlobalScripts, 0);
  zr3::ZR3Base& key = *level.List(Category::Flags)[3];
  zr3::ZR3Base& lever = *level.List(Category::Flags)[4];
  EXPECT_TRUE(loaded.RefersTo(key, Category::Flags));
  EXPECT_FALSE(loaded.RefersTo(lever, Category::Flags));

  // A reference held beyond a lowered count still answers, and is still written.
  loaded.SetConditionCount(2);
  loaded.Link(level);
  EXPECT_TRUE(loaded.RefersTo(lever, Category::Flags));
  loaded.SetConditionCount(0);
  loaded.Link(level);
  EXPECT_TRUE(loaded.RefersTo(key, Category::Flags));
  EXPECT_TRUE(loaded.RefersTo(lever, Category::Flags));
}

TEST(ScriptRecord, QueriesCoverConditionsAndCommands) {
  LevelBuilder builder;
  AddScripts(builder, Category::ObjectScripts,
             {ScriptWith("Door", {}, {}), ScriptWith("Chest", {}, {})}, 50);
  ScriptFields global = ScriptWith("G", {{4, {0, 0}}}, {{100, {}}, {114, {1, 0, 0, 1}}});
  global.commands[9] = {104, {0, 1}};
  builder.Add(Category::GlobalScripts, ScriptBlob(global));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  ZR3Script& script = ScriptAt(level, Category::GlobalScripts, 0);
  EXPECT_TRUE(
      script.RefersTo(ScriptAt(level, Category::ObjectScripts, 1), Category::ObjectScripts));
  EXPECT_FALSE(
      script.RefersTo(ScriptAt(level, Category::ObjectScripts, 0), Category::ObjectScripts));

  // Items arrive: link again and the condition and the slot beyond the count both count.
  AddStandIns(level, Category::Items, {"Sword", "Shield"});
  script.SetCommandCount(10);
  script.Link(level);
  EXPECT_TRUE(script.RefersTo(*level.List(Category::Items)[0], Category::Items));
  EXPECT_TRUE(script.RefersTo(*level.List(Category::Items)[1], Category::Items));
  EXPECT_FALSE(script.RefersTo(*level.List(Category::Items)[0], Category::Spells));
}

TEST(ScriptRecord, RefersToAsksEverySlotForTheRecordItself) {
  LevelBuilder builder;
  builder.flags[2] = "Key";
  ScriptFields spec = ScriptWith("S", {{1, {2, 0, 0, 1}}}, {{110, {5}}});
  spec.commands[7] = {104, {0, 1}};
  builder.Add(Category::GlobalScripts, ScriptBlob(spec));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  AddStandIns(level, Category::Items, {"Sword", "Shield"});
  ZR3Script& script = ScriptAt(level, Category::GlobalScripts, 0);
  // Slot 7 links while in use and keeps its item once the count drops again.
  script.SetCommandCount(8);
  script.Link(level);
  script.SetCommandCount(1);
  const zr3::RecordList& items = level.List(Category::Items);
  const zr3::RecordList& flags = level.List(Category::Flags);
  EXPECT_TRUE(script.RefersTo(*flags[2]));
  EXPECT_FALSE(script.RefersTo(*flags[3]));
  EXPECT_TRUE(script.RefersTo(*items[1]));
  EXPECT_FALSE(script.RefersTo(*items[0]));
  EXPECT_TRUE(script.RefersTo(*items[1], Category::Items));
  EXPECT_FALSE(script.RefersTo(*items[1], Category::Flags));
}

TEST(ScriptRecord, CopyRefersToTheSameRecords) {
  LevelBuilder builder;
  builder.flags[0] = "Gold";
  AddScripts(builder, Category::ObjectScripts, {ScriptWith("Door", {}, {})}, 60);
  ScriptFields spec = ScriptWith("Original", {{1, {0, 0, 0, 1}}}, {{114, {0, 0, 0, 1}}});
  spec.blockA = Pattern(200, 9);
  spec.opaque = "\x11\x22";
  spec.id = 77;
  builder.Add(Category::DeathScripts, ScriptBlob(spec));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const ZR3Script& original = ScriptAt(level, Category::DeathScripts, 0);

  ZR3Script copy;
  original.CopyTo(copy);
  EXPECT_EQ(copy.Kind(), 1);
  EXPECT_EQ(copy.StoredId(), 77u);
  EXPECT_TRUE(copy.RefersTo(ScriptAt(level, Category::ObjectScripts, 0), Category::ObjectScripts));
  EXPECT_TRUE(copy.RefersTo(*level.List(Category::Flags)[0], Category::Flags));
  EXPECT_EQ(copy.BlockA(), original.BlockA());
  EXPECT_EQ(copy.Opaque(), original.Opaque());
  zr3::Lines a;
  zr3::Lines b;
  original.Describe(a);
  copy.Describe(b);
  EXPECT_EQ(a, b);
}

TEST(ScriptRecord, RunScriptIsSavedWithTheTargetsNewPosition) {
  LevelBuilder builder;
  std::vector<ScriptFields> objects;
  for (const char* name : {"Door", "Chest", "Well", "Sign", "Gate", "Altar"}) {
    objects.push_back(ScriptWith(name, {}, {}));
  }
  AddScripts(builder, Category::ObjectScripts, objects, 70);
  // Also a stale position beyond the list, written back as stored.
  builder.Add(Category::GlobalScripts,
              ScriptBlob(ScriptWith("Caller", {}, {{114, {4, 0, 0, 1}}, {114, {9, 0, 0, 1}}})));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  MoveRecord(level, Category::ObjectScripts, 4, 1);
  const zr3::ZR3Level& moved = level;
  ASSERT_EQ(moved.List(Category::ObjectScripts)[1]->Name(), "Gate");

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  const ZR3Script& caller = ScriptAt(reloaded, Category::GlobalScripts, 0);
  EXPECT_EQ(caller.Command(0).Parameter(0), 1);
  EXPECT_EQ(caller.Command(1).Parameter(0), 9);
  EXPECT_TRUE(
      caller.RefersTo(ScriptAt(reloaded, Category::ObjectScripts, 1), Category::ObjectScripts));
  zr3::Lines lines;
  caller.Describe(lines);
  EXPECT_EQ(lines[1], "Command 0: Run script Gate process conditions Value 1 times");
  EXPECT_EQ(lines[2], "Command 1: Run script  Bad reference");
}

TEST(ScriptRecord, APositionThatDoesNotFitIsRefusedNamingTheScript) {
  LevelBuilder builder;
  builder.Add(Category::StartupScripts, ScriptBlob(ScriptWith("Opening", {{4, {0, 0}}}, {})));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  AddStandIns(level, Category::Items, {"Sword"});
  ZR3Script& script = ScriptAt(level, Category::StartupScripts, 0);
  script.Link(level);
  level.List(Category::Items)[0]->SetPosition(40000);
  zr3::ByteWriter out;
  try {
    script.Write(out);
    FAIL() << "the write should have been refused";
  } catch (const zr3::ZR3Error& error) {
    EXPECT_NE(std::string(error.what()).find("\"Opening\""), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("40000"), std::string::npos) << error.what();
  }
}

TEST(ScriptRecord, TruncatedScriptFailsAtTheEndOfData) {
  LevelBuilder builder;
  Blob script = ScriptBlob(ScriptWith("Cut", {}, {}));
  builder.Add(Category::DeathScripts, script);
  std::string bytes = builder.Build().Bytes();
  const std::size_t deathSection = [&] {
    for (const auto& [name, offset] : builder.SectionOffsets()) {
      if (name == "Death Scripts") return offset;
    }
    return std::size_t{0};
  }();
  bytes.resize(deathSection + 2 + 500);
  zr3::ZR3Level level;
  EXPECT_THROW(level.LoadFromBytes(bytes), zr3::ZR3Error);
}

}  // namespace
}  // namespace zr3test
