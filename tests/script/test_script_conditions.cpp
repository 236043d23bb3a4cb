#include <gtest/gtest.h>

#include "script/entry_fixture.h"
#include "support/stand_in_record.h"

namespace zr3test {
namespace {

using zr3::Category;
using ConditionTexts = EntryTest;
using ConditionLinks = EntryTest;
using ConditionWrites = EntryTest;

TEST_F(ConditionTexts, FlagValueAndAttribute) {
  EXPECT_EQ(ConditionText({1, {0, 0, 0, 10}}), " Flag value Gold >= Value 10");
  EXPECT_EQ(ConditionText({1, {0, 3, 3, 1}}), " Flag value Gold <> Flag Silver");
  EXPECT_EQ(ConditionText({1, {2, 2, 1, 8}}), " Flag value Copper = Attribute Money");
  EXPECT_EQ(ConditionText({1, {1, 4, 2, 6}}), " Flag value Silver > Random 0-6");
  EXPECT_EQ(ConditionText({1, {1, 5, 0, -3}}), " Flag value Silver < Value -3");
  EXPECT_EQ(ConditionText({3, {8, 0, 0, 100}}), " Attribute Money >= Value 100");
  EXPECT_EQ(ConditionText({3, {26, 1, 3, 2}}), " Attribute Monster's Exp <= Flag Copper");
  EXPECT_EQ(ConditionText({3, {14, 2, 1, 16}}),
            " Attribute Object's Map = Attribute Object's Y Loc");
}

TEST_F(ConditionTexts, IndexOutsideItsTableShowsTheNumber) {
  EXPECT_EQ(ConditionText({1, {0, 9, 0, 10}}), " Flag value Gold (9) Value 10");
  EXPECT_EQ(ConditionText({1, {0, -1, 7, 10}}), " Flag value Gold (-1) (7) 10");
  EXPECT_EQ(ConditionText({3, {27, 0, 1, 40}}), " Attribute (27) >= Attribute (40)");
  EXPECT_EQ(ConditionText({2, {0, 4, 9, 5, 1, 0, 2}}),
            " Location At Map (4) 9, X = (5) 1 Y = Value 2");
}

TEST_F(ConditionTexts, Location) {
  EXPECT_EQ(ConditionText({2, {0, 0, 0, 0, 5, 2, 3}}),
            " Location At Map Value Town, X = Value 5 Y = Random 0-3");
  EXPECT_EQ(ConditionText({2, {1, 2, 4, 1, 11, 0, 7}}),
            " Location Not at Map Random 0-4, X = Attribute X Loc Y = Value 7");
  EXPECT_EQ(ConditionText({2, {0, 1, 10, 0, 1, 0, 2}}),
            " Location At Map Attribute Map, X = Value 1 Y = Value 2");
}

TEST_F(ConditionTexts, PossessionAndState) {
  EXPECT_EQ(ConditionText({4, {0, 1}}), " Item Has Shield");
  EXPECT_EQ(ConditionText({4, {1, 0}}), " Item Doesn't have Sword");
  EXPECT_EQ(ConditionText({5, {0, 0}}), " Character graphic Using Hero");
  EXPECT_EQ(ConditionText({5, {2, 0}}), " Character graphic Not using Hero");
  EXPECT_EQ(ConditionText({6, {0, 0}}), " Palette Using Dusk");
  EXPECT_EQ(ConditionText({6, {1, 0}}), " Palette Not using Dusk");
  EXPECT_EQ(ConditionText({7, {0}}), " Combat In combat");
  EXPECT_EQ(ConditionText({7, {-1}}), " Combat Not in combat");
  EXPECT_EQ(ConditionText({9, {0}}), " Color Color");
  EXPECT_EQ(ConditionText({9, {1}}), " Color Greyscale");
  EXPECT_EQ(ConditionText({12, {0, 0}}), " Spell Knows Fireball");
  EXPECT_EQ(ConditionText({12, {1, 0}}), " Spell Doesn't know Fireball");
  // Equipped holds its item first and its negation second.
  EXPECT_EQ(ConditionText({13, {1, 0}}), " Equipped Shield equipped");
  EXPECT_EQ(ConditionText({13, {0, 1}}), " Equipped Sword not equipped");
}

TEST_F(ConditionTexts, TimeAndTiles) {
  EXPECT_EQ(ConditionText({8, {2, 1, 0, 3}}), " Time Day <= Value 3");
  EXPECT_EQ(ConditionText({8, {4, 0, 3, 0}}), " Time Year >= Flag Gold");
  EXPECT_EQ(ConditionText({8, {7, 0, 0, 1}}), " Time >= Value 1");
  EXPECT_EQ(ConditionText({11, {0, 5, 0, 3, 0, 0}}),
            " Tile exists X = Value 5 Y = Value 3 Bottom layer exists");
  EXPECT_EQ(ConditionText({11, {3, 0, 3, 1, 2, 1}}),
            " Tile exists X = Flag Gold Y = Flag Silver Top layer doesn't exist");
  EXPECT_EQ(ConditionText({11, {0, 1, 0, 2, 3, 0}}), " Tile exists X = Value 1 Y = Value 2exists");
}

TEST_F(ConditionTexts, AlwaysAndInvalidCodes) {
  EXPECT_EQ(ConditionText({0, {5, 5}}), " Always fire ");
  EXPECT_EQ(ConditionText({10, {}}), " Invalid (10) ");
  EXPECT_EQ(ConditionText({14, {}}), " Invalid (14) ");
  EXPECT_EQ(ConditionText({65535, {}}), " Invalid (65535) ");
}

TEST_F(ConditionTexts, MissingReferenceCutsTheText) {
  EXPECT_EQ(ConditionText({1, {256, 0, 0, 10}}), " Flag value Bad reference");
  EXPECT_EQ(ConditionText({1, {-1, 0, 0, 10}}), " Flag value Bad reference");
  EXPECT_EQ(ConditionText({1, {0, 0, 3, 300}}), " Flag value Gold >= Flag Bad reference");
  EXPECT_EQ(ConditionText({4, {0, 2}}), " Item Has Bad reference");
  EXPECT_EQ(ConditionText({13, {-5, 0}}), " Equipped Bad reference");
  EXPECT_EQ(ConditionText({2, {0, 0, 2, 0, 1, 0, 1}}), " Location At Map Value Bad reference");
}

TEST_F(ConditionLinks, LocationFlagSlotsInOrderOfUse) {
  // Map from flag Silver, X from flag Gold, Y from flag Copper.
  zr3::ZR3ScriptCondition all = Condition({2, {0, 3, 1, 3, 0, 3, 2}});
  EXPECT_EQ(all.ReadableText(), " Location At Map Flag Silver, X = Flag Gold Y = Flag Copper");
  EXPECT_EQ(all.FlagSlot(0), &Flag(1));
  EXPECT_EQ(all.FlagSlot(1), &Flag(0));
  EXPECT_EQ(all.FlagSlot(2), &Flag(2));
  // Without a flag map, the Y flag takes the first free slot.
  zr3::ZR3ScriptCondition yOnly = Condition({2, {0, 0, 1, 0, 4, 3, 2}});
  EXPECT_EQ(yOnly.FlagSlot(0), &Flag(2));
  EXPECT_EQ(yOnly.FlagSlot(1), nullptr);
  EXPECT_EQ(yOnly.Reference(zr3::ScriptReference::Map), &At(Category::Maps, 1));
  EXPECT_EQ(yOnly.ReadableText(), " Location At Map Value Forest, X = Value 4 Y = Flag Copper");
}

TEST_F(ConditionLinks, IndexOutsideItsListLeavesLaterReferencesNull) {
  // Map 5 does not exist: the X and Y flags stay unresolved although they exist.
  zr3::ZR3ScriptCondition badMap = Condition({2, {0, 0, 5, 3, 0, 3, 1}});
  EXPECT_EQ(badMap.Reference(zr3::ScriptReference::Map), nullptr);
  EXPECT_EQ(badMap.FlagSlot(0), nullptr);
  EXPECT_EQ(badMap.FlagSlot(1), nullptr);
  // A negative index is outside the list as well.
  zr3::ZR3ScriptCondition badX = Condition({2, {0, 0, 1, 3, -1, 3, 1}});
  EXPECT_EQ(badX.Reference(zr3::ScriptReference::Map), &At(Category::Maps, 1));
  EXPECT_EQ(badX.FlagSlot(0), nullptr);
  EXPECT_EQ(badX.FlagSlot(1), nullptr);
  EXPECT_EQ(badX.ReadableText(), " Location At Map Value Forest, X = Flag Bad reference");
  // The compared flag missing leaves the flag operand unresolved.
  zr3::ZR3ScriptCondition badFlag = Condition({1, {999, 0, 3, 1}});
  EXPECT_FALSE(badFlag.RefersTo(Flag(1)));
}

TEST_F(ConditionLinks, RelinkingDropsTheReferencesOfTheOldCode) {
  zr3::ZR3ScriptCondition condition = Condition({4, {0, 1}});
  EXPECT_TRUE(condition.RefersTo(At(Category::Items, 1)));
  condition.SetCode(12);
  condition.SetParameter(1, 0);
  condition.Link(level);
  EXPECT_FALSE(condition.RefersTo(At(Category::Items, 1)));
  EXPECT_TRUE(condition.RefersTo(At(Category::Spells, 0)));

  // Flag slots start from 0 again.
  zr3::ZR3ScriptCondition flags = Condition({1, {0, 0, 3, 1}});
  EXPECT_EQ(flags.FlagSlot(1), &Flag(1));
  flags.SetCode(3);
  flags.Link(level);
  EXPECT_EQ(flags.ReadableText(), " Attribute STR >= Flag Silver");
  EXPECT_EQ(flags.FlagSlot(0), &Flag(1));
  EXPECT_EQ(flags.FlagSlot(1), nullptr);
  EXPECT_FALSE(flags.RefersTo(Flag(0)));
}

TEST_F(ConditionLinks, QueriesAnswerForTheirOwnKindOnly) {
  const zr3::ZR3ScriptCondition palette = Condition({6, {0, 0}});
  EXPECT_TRUE(palette.RefersTo(At(Category::Palettes, 0)));
  EXPECT_EQ(palette.ListReferred(At(Category::Palettes, 0)), Category::Palettes);
  EXPECT_FALSE(palette.RefersTo(At(Category::Spells, 0)));
  const zr3::ZR3ScriptCondition charset = Condition({5, {0, 0}});
  EXPECT_TRUE(charset.RefersTo(At(Category::Characters, 0)));
  const zr3::ZR3ScriptCondition map = Condition({2, {0, 0, 0}});
  EXPECT_TRUE(map.RefersTo(At(Category::Maps, 0)));
  EXPECT_FALSE(map.RefersTo(At(Category::Maps, 1)));
}

TEST_F(ConditionWrites, PositionParametersFollowTheirRecords) {
  AddStandIns(level, Category::Items, {"Bow", "Axe", "Rope"});
  const zr3::ZR3ScriptCondition item = Condition({4, {1, 4, 77, -8}});
  const zr3::ZR3ScriptCondition equipped = Condition({13, {4, 0}});
  const zr3::ZR3ScriptCondition map = Condition({2, {0, 0, 1, 0, 5, 0, 6}});
  const zr3::ZR3ScriptCondition randomMap = Condition({2, {0, 2, 1, 0, 5, 0, 6}});
  MoveRecord(level, Category::Items, 4, 1);
  MoveRecord(level, Category::Maps, 1, 0);

  const std::string written = Written(item);
  EXPECT_EQ(U16At(written, 0), 4);
  EXPECT_EQ(WrittenParameter(written, 0), 1);
  EXPECT_EQ(WrittenParameter(written, 1), 1);
  EXPECT_EQ(WrittenParameter(written, 2), 77);
  EXPECT_EQ(WrittenParameter(written, 3), -8);
  EXPECT_EQ(WrittenParameter(Written(equipped), 0), 1);
  EXPECT_EQ(WrittenParameter(Written(map), 2), 0);
  // A random bound is not a map position.
  EXPECT_EQ(WrittenParameter(Written(randomMap), 2), 1);
  // The item's name still shows: the reference, not the stale parameter, names it.
  EXPECT_EQ(item.ReadableText(), " Item Doesn't have Rope");
}

TEST_F(ConditionWrites, UnresolvedAndFlagParametersAreWrittenAsStored) {
  const zr3::ZR3ScriptCondition missing = Condition({4, {0, 9}});
  EXPECT_EQ(WrittenParameter(Written(missing), 1), 9);
  const zr3::ZR3ScriptCondition invalid = Condition({10, {1, 2, 3, 4, 5, 6, 7, 8, -9}});
  const std::string bytes = Written(invalid);
  ASSERT_EQ(bytes.size(), 20u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(WrittenParameter(bytes, i), i == 8 ? -9 : static_cast<int>(i) + 1);
  }
  const zr3::ZR3ScriptCondition flag = Condition({1, {2, 0, 3, 1}});
  EXPECT_EQ(WrittenParameter(Written(flag), 0), 2);
  EXPECT_EQ(WrittenParameter(Written(flag), 3), 1);
}

}  // namespace
}  // namespace zr3test

namespace zr3test {
namespace {

using EntryTextStyles = EntryTest;

// Script text builds its lines from the same pieces in keyword style.
TEST_F(EntryTextStyles, KeywordStyleQuotesNamesAndWritesKeywords) {
  const zr3::ZR3ScriptCondition location = Condition({2, {0, 0, 1, 2, 4, 3, 0}});
  std::string line = "  ";
  zr3::EntryText text(location, zr3::EntryText::Style::Keyword,
                      zr3::ZR3ScriptCondition::kBadReference, line);
  text.MapSourceAndOperand(1).Add(" ").SourceAndOperand(3).Add(" ").SourceAndOperand(5);
  EXPECT_EQ(line, "  val \"Forest\" rand 4 flag \"Gold\"");

  const zr3::ZR3ScriptCondition attribute = Condition({3, {16, 2, 1, 26}});
  std::string wordsLine;
  zr3::EntryText words(attribute, zr3::EntryText::Style::Keyword,
                       zr3::ZR3ScriptCondition::kBadReference, wordsLine);
  words.Word(zr3::Attributes(), 16).Add(" ").Word(zr3::Comparisons(), 2).Add(" ");
  words.SourceAndOperand(2);
  EXPECT_EQ(wordsLine, "obj.y == att monster.exp");

  const zr3::ZR3ScriptCommand missing = Command({104, {0, 5}});
  std::string cutLine;
  zr3::EntryText cut(missing, zr3::EntryText::Style::Keyword, zr3::ZR3ScriptCommand::kBadReference,
                     cutLine);
  cut.Add("give ").Name(zr3::ScriptReference::Item).Add(" never shown");
  EXPECT_TRUE(cut.Broken());
  EXPECT_EQ(cutLine, "give  Bad reference");
}

}  // namespace
}  // namespace zr3test
