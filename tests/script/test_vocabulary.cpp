#include <gtest/gtest.h>

#include "script/vocabulary.h"

namespace zr3 {
namespace {

TEST(Vocabulary, TablesHoldTheirWordsInOrder) {
  ASSERT_EQ(Comparisons().size(), 6u);
  ASSERT_EQ(ValueSources().size(), 4u);
  ASSERT_EQ(Attributes().size(), 27u);
  ASSERT_EQ(Operations().size(), 6u);
  EXPECT_EQ(ReadableWord(Comparisons(), 2), "=");
  EXPECT_EQ(KeywordWord(Comparisons(), 2), "==");
  EXPECT_EQ(KeywordWord(ValueSources(), kSourceFlag), "flag");
  EXPECT_EQ(ReadableWord(Attributes(), 13), "Direction");
  EXPECT_EQ(KeywordWord(Attributes(), 26), "monster.exp");
  EXPECT_EQ(KeywordWord(Operations(), 3), "mult");
  EXPECT_EQ(ConditionKind(kTileExists)->keyword, "tileexists");
  EXPECT_EQ(CommandKind(kExCommand)->readable, "");
  EXPECT_EQ(CommandKind(kDeleteTileLayer)->keyword, "deletelayer");
}

TEST(Vocabulary, IndexOutsideATableShowsTheNumber) {
  EXPECT_EQ(ReadableWord(Comparisons(), 6), "(6)");
  EXPECT_EQ(ReadableWord(Attributes(), -1), "(-1)");
  EXPECT_EQ(KeywordWord(Operations(), 9), "(9)");
  EXPECT_EQ(WordAt(ValueSources(), 4), nullptr);
  EXPECT_EQ(ConditionKind(10), nullptr);
  EXPECT_EQ(ConditionKind(14), nullptr);
  EXPECT_EQ(CommandKind(99), nullptr);
  EXPECT_EQ(CommandKind(135), nullptr);
}

TEST(Vocabulary, KeywordsAreFoundIgnoringAsciiCase) {
  EXPECT_EQ(FindConditionCode("FLAG"), kFlagValue);
  EXPECT_EQ(FindConditionCode("Equipped"), kEquipped);
  EXPECT_EQ(FindConditionCode(""), -1);
  EXPECT_EQ(FindConditionCode("nothing"), -1);
  EXPECT_EQ(FindCommandCode("[EX-Command]"), kExCommand);
  EXPECT_EQ(FindCommandCode("NOTHING"), kNoAction);
  EXPECT_EQ(FindCommandCode(""), -1);
  EXPECT_EQ(FindKeyword(Attributes(), "Monster.Exp"), 26);
  EXPECT_EQ(FindKeyword(Comparisons(), "="), -1);
  // Only ASCII letters fold: a byte above 127 is compared as it stands.
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xc4", "\xe4"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Obj.X", "obj.x"));
}

}  // namespace
}  // namespace zr3
