#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "script/entry_fixture.h"
#include "script/script_analysis.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"
#include "support/stand_in_record.h"

namespace zr3test {

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using zr3::Category;
using zr3::ScriptAnalyzer;

// A finding as "LINE:COLUMN+LENGTH severity: message", the column counted from 0.
std::vector<std::string> Findings(const ScriptAnalyzer& analyzer, const std::string& text) {
  std::vector<std::string> lines;
  for (const zr3::ScriptDiagnostic& d : analyzer.Analyze(text).diagnostics) {
    lines.push_back(std::to_string(d.line) + ":" + std::to_string(d.column) + "+" +
                    std::to_string(d.length) +
                    (d.severity == zr3::Severity::Error ? " error: " : " warning: ") + d.message);
  }
  return lines;
}

std::vector<std::string> Labels(const zr3::CompletionList& list) {
  std::vector<std::string> labels;
  for (const zr3::ScriptCompletion& item : list.items) labels.push_back(item.label);
  return labels;
}

class ScriptAnalysisTest : public EntryTest {
 protected:
  std::vector<std::string> WithLevel(const std::string& text) {
    return Findings(ScriptAnalyzer(&level), text);
  }
  std::vector<std::string> WithoutLevel(const std::string& text) {
    return Findings(ScriptAnalyzer(), text);
  }
  // What may stand at the place marked | in the text.
  zr3::CompletionList CompleteAt(std::string text) {
    const std::size_t mark = text.find('|');
    text.erase(mark, 1);
    const std::size_t lineStart = text.rfind('\n', mark - 1);
    const std::size_t line = static_cast<std::size_t>(
        std::count(text.begin(), text.begin() + static_cast<long>(mark), '\n') + 1);
    const std::size_t column = lineStart == std::string::npos ? mark : mark - lineStart - 1;
    return ScriptAnalyzer(&level).Complete(text, line, column);
  }
};

TEST_F(ScriptAnalysisTest, EachLineProblemIsPlacedOnItsToken) {
  const std::string text =
      "objectscript \"Door\"\r\n"
      "conditions:\r\n"
      "  flag \"Gold\" => val 1\r\n"
      "  item has \"Golden Sword\"\r\n"
      "  item hsa \"Sword\"\r\n"
      "  attribute str >= att strength\r\n"
      "commands:\r\n"
      "  plya \"Theme\"\r\n"
      "  wait 10 20 30\r\n"
      "  wait x\r\n"
      "  warp val \"Town\" val 1\r\n"
      "  dance\r\n"
      "end script\r\n";
  EXPECT_THAT(
      WithLevel(text),
      ElementsAre("3:14+2 error: unknown comparison \"=>\"; \">=\" is used",
                  "4:11+14 error: no item named \"Golden Sword\"; the first item is used",
                  "5:7+3 error: \"hsa\" is none of \"has\" or \"missing\"; \"has\" is used",
                  "6:23+8 error: unknown attribute \"strength\"; \"str\" is used",
                  "8:2+12 error: unknown command \"plya\"; the line is ignored; did you mean "
                  "\"play\"?",
                  "9:13+2 error: too many values for \"wait\"; \"30\" is ignored",
                  "10:7+1 error: \"x\" is not a number; 0 is used",
                  "11:22+1 error: a value source (\"val\", \"att\", \"rand\" or \"flag\") is "
                  "missing after \"1\"",
                  "12:2+5 error: unknown command \"dance\"; the line is ignored"));
  // Without a level the names are not checked; everything else is.
  const std::vector<std::string> unchecked = WithoutLevel(text);
  EXPECT_EQ(unchecked.size(), 8u);
  EXPECT_THAT(unchecked, Not(Contains(::testing::HasSubstr("Golden Sword"))));
}

TEST_F(ScriptAnalysisTest, StructureProblemsArePlacedOnTheirLines) {
  EXPECT_THAT(WithoutLevel("objectscrpt \"Gate\"\n"
                           "objectscript \"Gate\"\n"
                           "conditions:\n"
                           "commands:\n"
                           "  changeflag set \"Gold val 1\n"
                           "end scrpt\n"
                           "end script\n"
                           "stray words here\n"
                           "globalscript\n"
                           "deathscript \"Open\"\n"),
              ElementsAre("1:0+11 error: unknown script header \"objectscrpt\"; did you mean "
                          "\"objectscript\"?",
                          "5:17+11 error: the quote is not closed: the name runs to the end of "
                          "the line",
                          "5:17+11 error: a value source (\"val\", \"att\", \"rand\" or \"flag\") "
                          "is missing after \"Gold val 1\"",
                          "6:0+9 error: \"end scrpt\" does not end the script; \"end script\" does",
                          "8:0+16 warning: text outside a script is ignored; a script starts "
                          "with a header such as \"objectscript\"",
                          "9:0+12 error: script name missing",
                          "10:0+11 error: script 'Open' ends without 'end script'",
                          "10:0+11 warning: script 'Open' has no command line; command 0 is set "
                          "to code 0 (\"null\") and is the only command"));
  EXPECT_THAT(WithoutLevel("startscript \"S\"\ncommands:\nend\n"),
              ElementsAre("1:0+11 error: script 'S' ends without 'end script'",
                          "1:0+11 warning: script 'S' has no command line; command 0 is set to "
                          "code 0 (\"null\") and is the only command",
                          "3:0+3 error: \"end\" without its second word"));
}

TEST_F(ScriptAnalysisTest, NamesAreCheckedAgainstTheLevelAndTheScriptsTheTextAdds) {
  AddStandIns(level, Category::Items, {"Sword"});
  EXPECT_THAT(WithLevel("objectscript \"Door\"\n"
                        "conditions:\n"
                        "  item has \"Sword\"\n"
                        "commands:\n"
                        "  run \"Later\" process val 1\n"
                        "  run \"Never\" process val 1\n"
                        "  givetake give \"Swrod\"\n"
                        "end script\n"
                        "objectscript \"Later\"\n"
                        "commands:\n"
                        "  gameover\n"
                        "end script\n"),
              ElementsAre("3:11+7 warning: more than one item is named \"Sword\" (ambiguous, "
                          "the first is used)",
                          "6:6+7 error: no object script named \"Never\"; the first object "
                          "script is used",
                          "7:16+7 error: no item named \"Swrod\"; the first item is used; did "
                          "you mean \"Sword\"?"));
}

TEST_F(ScriptAnalysisTest, AHeaderNamingScriptsThatShareTheNameIsAmbiguous) {
  AddStandIns(level, Category::ObjectScripts, {"Well"});
  EXPECT_THAT(WithLevel("objectscript \"Well\"\ncommands:\n  gameover\nend script\n"
                        "objectscript \"Well\"\ncommands:\n  gameover\nend script\n"),
              ElementsAre("1:13+6 warning: more than one object script is named \"Well\" "
                          "(ambiguous, the first is used)"));
}

TEST_F(ScriptAnalysisTest, CountsAndLostCommandsAreReportedAsTheImporterDoes) {
  std::string text = "objectscript \"Door\"\nconditions:\n";
  for (int i = 0; i < 11; ++i) text += "  always\n";
  text += "commands:\n  gameover\nend script\n";
  EXPECT_THAT(WithLevel(text),
              ElementsAre("13:2+6 error: more than 10 conditions; the line is ignored"));
  // A body without commands is said, for a script the level has and for a new one alike.
  const auto lost = [](std::string_view name) {
    return "1:0+12 warning: script '" + std::string(name) +
           "' has no command line; command 0 is set to code 0 (\"null\") and is the only command";
  };
  EXPECT_THAT(WithLevel("objectscript \"Door\"\ncommands:\nend script\n"),
              ElementsAre(lost("Door")));
  zr3::ZR3Importer(level).ImportText("objectscript \"Door\"\ncommands:\n  gameover\nend script\n");
  EXPECT_THAT(WithLevel("objectscript \"Door\"\ncommands:\nend script\n"),
              ElementsAre(lost("Door")));
  EXPECT_THAT(WithoutLevel("objectscript \"Gate\"\nconditions:\n  always\nend script\n"),
              ElementsAre(lost("Gate")));
}

// The importer reports with its own words what the analysis places: for every line the
// analysis reports as the importer would, the import report has the same line and message.
TEST_F(ScriptAnalysisTest, TheImportReportSaysWhatTheAnalysisSaysForEveryoneUnchanged) {
  const std::string text =
      "objectscript \"Door\"\nconditions:\n  flag \"Gold\" => val 1\n  item has \"Nope\"\n"
      "commands:\n  jump\n  wait x\nend script\n";
  zr3::ZR3Importer importer(level);
  importer.ImportText(text);
  std::vector<std::string> reported;
  for (const std::string& line : importer.Log()) {
    if (line.rfind("Warning: ", 0) == 0) reported.push_back(line);
  }
  EXPECT_THAT(reported,
              ElementsAre("Warning: line 3: unknown comparison \"=>\"; \">=\" is used",
                          "Warning: line 4: no item named \"Nope\"; the first item is used",
                          "Warning: line 6: unknown command \"jump\"; the line is ignored",
                          "Warning: line 7: \"x\" is not a number; 0 is used"));
}

TEST_F(ScriptAnalysisTest, CompletionOffersWhatFitsThePlace) {
  const std::string head = "objectscript \"Door\"\nconditions:\n";
  // The first word of a condition line: the condition keywords, then what ends the part.
  const std::vector<std::string> conditions = Labels(CompleteAt(head + "  fl|\n"));
  EXPECT_EQ(conditions.front(), "always");
  EXPECT_THAT(conditions, Contains("flag"));
  EXPECT_THAT(conditions, Not(Contains("warp")));
  EXPECT_EQ(conditions.back(), "end script");
  EXPECT_THAT(Labels(CompleteAt(head + "commands:\n  |\n")), Contains("warp"));
  EXPECT_THAT(Labels(CompleteAt(head + "commands:\n  |\n")), Not(Contains("commands:")));
  // Values: the names of the list the value refers to, the words of a table or a choice.
  EXPECT_THAT(Labels(CompleteAt(head + "  flag |\n")), ElementsAre("Gold", "Silver", "Copper"));
  EXPECT_THAT(Labels(CompleteAt(head + "  flag \"Gold\" |\n")),
              ElementsAre(">=", "<=", "==", "<>", ">", "<"));
  EXPECT_THAT(Labels(CompleteAt(head + "  flag \"Gold\" >= |\n")),
              ElementsAre("val", "att", "rand", "flag"));
  EXPECT_THAT(Labels(CompleteAt(head + "  flag \"Gold\" >= att |\n")), Contains("monster.exp"));
  EXPECT_THAT(Labels(CompleteAt(head + "  flag \"Gold\" >= val |\n")), IsEmpty());
  EXPECT_THAT(Labels(CompleteAt(head + "  item |\n")), ElementsAre("has", "missing"));
  EXPECT_THAT(Labels(CompleteAt(head + "  item has \"Sw|\n")), ElementsAre("Sword", "Shield"));
  EXPECT_THAT(Labels(CompleteAt(head + "commands:\n  warp val |\n")),
              ElementsAre("Town", "Forest"));
  EXPECT_THAT(Labels(CompleteAt(head + "commands:\n  run |\nend script\nobjectscript \"New\"\n")),
              ElementsAre("Door", "Chest", "Well", "Sign", "Gate", "Altar", "New"));
  EXPECT_THAT(Labels(CompleteAt("|")),
              ElementsAre("globalscript", "deathscript", "objectscript", "startscript"));
  // A name is inserted quoted, over the whole token typed so far.
  const zr3::CompletionList names = CompleteAt(head + "  item has \"Sw|\n");
  EXPECT_EQ(names.items.front().insertText, "\"Sword\"");
  EXPECT_EQ(names.column, 11u);
  EXPECT_EQ(names.length, 3u);
}

TEST_F(ScriptAnalysisTest, HoverDescribesTheRecordANameRefersTo) {
  const std::string text = "objectscript \"Door\"\ncommands:\n  changeflag inc \"Silver\" val 1\n";
  const ScriptAnalyzer analyzer(&level);
  const std::optional<zr3::ScriptHover> flag = analyzer.Hover(text, 3, 20);
  ASSERT_TRUE(flag);
  zr3::Lines described;
  Flag(1).Describe(described);
  EXPECT_EQ(flag->text, described);
  EXPECT_EQ(flag->column, 17u);
  EXPECT_EQ(flag->length, 8u);
  EXPECT_THAT(analyzer.Hover(text, 3, 3)->text, ElementsAre("Change flag value (command 101)"));
  EXPECT_THAT(analyzer.Hover(text, 3, 14)->text, ElementsAre("Add"));
  EXPECT_FALSE(analyzer.Hover(text, 3, 1));
  EXPECT_FALSE(ScriptAnalyzer().Hover(text, 3, 20));
}

TEST(ScriptAnalysisDemo, TheDemoLevelsOwnScriptTextHasNoProblems) {
  zr3::ZR3Level demo;
  demo.Load(ZR3_DEMO_PATH);
  zr3::ByteWriter out;
  zr3::ExportAllScripts(demo, out);
  const zr3::ScriptAnalysis analysis = ScriptAnalyzer(&demo).Analyze(out.Data());
  EXPECT_THAT(analysis.diagnostics, IsEmpty());
  EXPECT_FALSE(analysis.scripts.empty());
}

TEST(ScriptLineClasses, KeywordsNamesNumbersAndWordsAreTold) {
  const std::vector<zr3::TokenSpan> spans = zr3::ClassifyScriptLine("  warp val \"Town\" val -5");
  ASSERT_EQ(spans.size(), 5u);
  EXPECT_EQ(spans[0].role, zr3::TokenRole::Keyword);
  EXPECT_EQ(spans[1].role, zr3::TokenRole::Word);
  EXPECT_EQ(spans[2].role, zr3::TokenRole::Name);
  EXPECT_EQ(spans[2].column, 11u);
  EXPECT_EQ(spans[2].length, 6u);
  EXPECT_EQ(spans[4].role, zr3::TokenRole::Number);
}

}  // namespace

}  // namespace zr3test
