#include <gtest/gtest.h>

#include <string>

#include "script/script_reading.h"
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

// Every keyword of both kinds is found under its own code in any ASCII case, and a word one
// byte longer, one byte shorter or with a zero byte in it is not.
TEST(Vocabulary, EveryEntryKeywordIsFoundUnderItsCodeAndNoNearWordIs) {
  const auto check = [](int code, const VocabularyWord* kind, int (*find)(std::string_view)) {
    if (!kind) return;
    const std::string keyword(kind->keyword);
    std::string upper = keyword;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    EXPECT_EQ(find(keyword), code) << keyword;
    EXPECT_EQ(find(upper), code) << keyword;
    EXPECT_EQ(find(keyword + "x"), -1) << keyword;
    EXPECT_EQ(find(keyword.substr(0, keyword.size() - 1)), -1) << keyword;
    EXPECT_EQ(find(keyword.substr(0, keyword.size() - 1) + std::string(1, '\0')), -1) << keyword;
  };
  for (int code = 0; code <= kLastConditionCode; ++code) {
    check(code, ConditionKind(code), FindConditionCode);
  }
  for (int code = kFirstCommandCode; code <= kLastCommandCode; ++code) {
    check(code, CommandKind(code), FindCommandCode);
  }
  EXPECT_EQ(FindCommandCode(std::string(40, 'a')), -1);
}

TEST(Vocabulary, HeaderWordsAreExactAndEndInScript) {
  for (std::size_t kind = 0; kind < ScriptHeaders().size(); ++kind) {
    const std::string_view word = ScriptHeaders()[kind].keyword;
    EXPECT_TRUE(word.ends_with(kScriptWord)) << word;
    EXPECT_EQ(HeaderKind(word), static_cast<int>(kind)) << word;
    EXPECT_EQ(HeaderKind(std::string(word) + "s"), -1) << word;
  }
  EXPECT_EQ(HeaderKind(kScriptWord), static_cast<int>(ScriptKind::Object));
  EXPECT_EQ(HeaderKind("GlobalScript"), -1);
  EXPECT_EQ(HeaderKind("myscript"), -1);
  EXPECT_EQ(HeaderKind("end"), -1);
}

}  // namespace
}  // namespace zr3
