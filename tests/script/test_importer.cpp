#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "level/zr3error.h"
#include "script/entry_fixture.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"
#include "support/compare.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/stand_in_record.h"
#include "support/temp_dir.h"

namespace zr3test {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using zr3::Category;
using zr3::ScriptReference;
using zr3::ZR3Script;

using Params = std::array<std::int16_t, 9>;

Params ParamsOf(const zr3::ZR3ScriptEntry& entry) {
  return entry.StoredParameters();
}

zr3::Lines ExportAll(const zr3::ZR3Level& level) {
  zr3::Lines lines;
  for (Category category : {Category::GlobalScripts, Category::DeathScripts,
                            Category::ObjectScripts, Category::StartupScripts}) {
    for (const auto& record : level.List(category)) {
      static_cast<const ZR3Script&>(*record).ExportText(lines);
    }
  }
  return lines;
}

class ImporterTest : public EntryTest {
 protected:
  // Imports the text and answers the log.
  zr3::Lines Import(const std::string& text) {
    zr3::ZR3Importer importer(level);
    importer.ImportText(text);
    return importer.Log();
  }
  // Imports text that must fail; answers the error message.
  std::string ImportError(const std::string& text) {
    zr3::ZR3Importer importer(level);
    try {
      importer.ImportText(text);
    } catch (const zr3::ZR3Error& error) {
      EXPECT_EQ(importer.Log().front(), error.what());
      return error.what();
    }
    ADD_FAILURE() << "the import did not fail";
    return {};
  }
  ZR3Script& Script(Category category, std::size_t index) {
    return level.At<ZR3Script>(category, index);
  }
  ZR3Script& Object(std::size_t index) { return Script(Category::ObjectScripts, index); }
  std::vector<std::string> Warnings(const zr3::Lines& log) {
    std::vector<std::string> warnings;
    for (const std::string& line : log) {
      if (line.rfind("Warning: ", 0) == 0) warnings.push_back(line);
    }
    return warnings;
  }
};

TEST(ScriptTokens, QuotesCommasSeparatorsAndNumbers) {
  using zr3::TokenizeScriptLine;
  EXPECT_THAT(TokenizeScriptLine("  flag \"Old Gold\" >= val 10 "),
              ElementsAre("flag", "Old Gold", ">=", "val", "10"));
  EXPECT_THAT(TokenizeScriptLine("a,b , c,,d"), ElementsAre("a", "b", "c", "", "d"));
  EXPECT_THAT(TokenizeScriptLine("x \"say \"\"hi\"\", now\" y"),
              ElementsAre("x", "say \"hi\", now", "y"));
  EXPECT_THAT(TokenizeScriptLine("x \"open, rest "), ElementsAre("x", "open, rest "));
  EXPECT_THAT(TokenizeScriptLine("x \""), ElementsAre("x", ""));
  EXPECT_THAT(TokenizeScriptLine("\"\""), ElementsAre(""));
  EXPECT_THAT(TokenizeScriptLine(std::string("a\0b\x01\xff", 5)), ElementsAre("a", "b", "\xff"));
  EXPECT_THAT(TokenizeScriptLine(" \t "), ElementsAre());
  EXPECT_THAT(TokenizeScriptLine(","), ElementsAre(""));

  using zr3::ParseScriptNumber;
  EXPECT_EQ(ParseScriptNumber("-5"), -5);
  EXPECT_EQ(ParseScriptNumber("+7"), 7);
  EXPECT_EQ(ParseScriptNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseScriptNumber("2147483648"), std::nullopt);
  EXPECT_EQ(ParseScriptNumber("99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseScriptNumber("12a"), std::nullopt);
  EXPECT_EQ(ParseScriptNumber("-"), std::nullopt);
  EXPECT_EQ(ParseScriptNumber(""), std::nullopt);
}

TEST_F(ImporterTest, WorkedExampleIsAddedAndReportedExactly) {
  const zr3::Lines log = Import(
      "globalscript \"Door\"\r\nconditions:\r\n  flag \"Gold\" >= val 10\r\n  always \r\n"
      "commands:\r\n  warp val \"Town\" val 5 val 3\r\n  wait -1\r\nend script\r\n");
  EXPECT_EQ(log, (zr3::Lines{"-------- First Pass --------", "Global script: Door", "...Added",
                             "-------- Second Pass --------", "Global script: Door", "...Found",
                             "Door updated"}));
  ASSERT_EQ(level.List(Category::GlobalScripts).size(), 1u);
  ZR3Script& door = Script(Category::GlobalScripts, 0);
  EXPECT_EQ(door.Name(), "Door");
  EXPECT_EQ(door.Kind(), 0);
  EXPECT_EQ(door.Position(), 0);
  EXPECT_EQ(door.ConditionCount(), 2);
  EXPECT_EQ(door.CommandCount(), 2);
  EXPECT_EQ(door.Condition(0).Code(), 1);
  EXPECT_EQ(ParamsOf(door.Condition(0)), (Params{0, 0, 0, 10}));
  EXPECT_EQ(door.Condition(0).FlagSlot(0), &Flag(0));
  EXPECT_EQ(door.Condition(1).Code(), 0);
  EXPECT_EQ(door.Command(0).Code(), 102);
  EXPECT_EQ(door.Command(0).Reference(ScriptReference::Map), &At(Category::Maps, 0));
  EXPECT_EQ(ParamsOf(door.Command(1)), (Params{-1}));
  EXPECT_TRUE(level.Modified());

  zr3::ZR3Importer importer(level);
  importer.ImportText("");
  zr3::Lines report{"old"};
  importer.AppendReport(report);
  EXPECT_EQ(report, (zr3::Lines{"old", "IMPORT SCRIPTS", "", "-------- First Pass --------",
                                "-------- Second Pass --------"}));
}

TEST_F(ImporterTest, FileWithoutHeaderChangesNothing) {
  level.SetModified(false);
  const zr3::Lines log = Import("conditions:\nflag \"Gold\" >= val 1\nend script\n");
  EXPECT_EQ(log, (zr3::Lines{"-------- First Pass --------", "-------- Second Pass --------"}));
  EXPECT_FALSE(level.Modified());
}

TEST_F(ImporterTest, EveryCommandKeywordSurvivesExportAndImport) {
  // Ten commands per script, every code from 100 to 134, with references that resolve.
  const std::vector<SlotFields> commands = {
      {100, {}},
      {101, {2, 1, 3, 2}},
      {102, {0, 1, 1, 2, 2, 3}},
      {103, {4, 5, 2, 9}},
      {104, {1, 1}},
      {105, {0}},
      {106, {1, 4, 5}},
      {107, {0, 3, 1, 2, 3, 4, 1}},
      {108, {}},
      {109, {0}},
      {110, {250}},
      {111, {0}},
      {112, {1, 1, 1, 6, 7}},
      {113, {1, 0, 1, 2, 3}},
      {114, {3, 1, 3, 0}},
      {115, {}},
      {116, {0}},
      {117, {1, 1, 0, 8, 9}},
      {118, {0}},
      {119, {0, 0}},
      {120, {}},
      {121, {1, 1}},
      {122, {15}},
      {123, {}},
      {124, {1, 1, 26, 3, 2}},
      {125, {1, 3, 1, 0, 4, 2, 5}},
      {126, {1, 0, 2, 7, 3, 0, 0, 1}},
      {127, {}},
      {128, {}},
      {129, {0, 2, 3, 4, 5, 6}},
      {130, {0}},
      {131, {2, 1}},
      {132, {3}},
      {133, {1, 1}},
      {134, {1, 1, 0, 2, 3, 1, 1}},
  };
  for (std::size_t first = 0; first < commands.size(); first += 10) {
    std::vector<SlotFields> part(
        commands.begin() + static_cast<long>(first),
        commands.begin() + static_cast<long>(std::min(first + 10, commands.size())));
    const Blob bytes = ScriptBlob(ScriptWith("S" + std::to_string(first), {{0, {}}}, part));
    zr3::ByteReader in(bytes.Bytes());
    zr3::RecordList& list = level.List(Category::ObjectScripts);
    list.push_back(std::make_unique<ZR3Script>(in, 2));
    level.Renumber(Category::ObjectScripts, list.size() - 1, list.size() - 1);
    list.back()->Link(level);
  }
  const std::size_t scripts = level.List(Category::ObjectScripts).size();
  std::vector<Params> before;
  for (std::size_t s = 6; s < scripts; ++s) {
    for (std::size_t i = 0; i < Object(s).CommandsInUse(); ++i) {
      before.push_back(ParamsOf(Object(s).Command(i)));
    }
  }
  const zr3::Lines exported = ExportAll(level);
  const zr3::Lines log = Import(zr3::JoinLinesCrLf(exported));
  // Only the level's own six scripts, which have no commands, are said to get one.
  EXPECT_EQ(Warnings(log).size(), 6u);
  EXPECT_THAT(Warnings(log), ::testing::Each(::testing::HasSubstr("has no command line")));
  EXPECT_EQ(level.List(Category::ObjectScripts).size(), scripts);
  const zr3::Lines again = ExportAll(level);
  // The six empty scripts of the fixture come back with their fill-ins; the rest unchanged.
  const auto generated = [](const zr3::Lines& lines) {
    return zr3::Lines(std::find(lines.begin(), lines.end(), "objectscript \"S0\""), lines.end());
  };
  ASSERT_EQ(generated(again).size(), 4u * 5u + 35u);
  EXPECT_EQ(generated(again), generated(exported));
  std::vector<Params> after;
  for (std::size_t s = 6; s < scripts; ++s) {
    EXPECT_EQ(Object(s).ConditionCount(), 1);  // the "always" fill-in
    for (std::size_t i = 0; i < Object(s).CommandsInUse(); ++i) {
      after.push_back(ParamsOf(Object(s).Command(i)));
    }
  }
  EXPECT_EQ(after, before);
}

TEST_F(ImporterTest, KeywordsIgnoreCaseButMarkersDoNot) {
  Import(
      "script \"Door\"\nFLAG \"Gold\" GE val 1\nFlag \"Gold\" <> VAL 1\nCommands:\nWAIT 5\n"
      "commands:\nWait 7\nEnd Script\nnothing\nend script\n");
  ZR3Script& door = Object(0);
  // "Commands:" is no marker, so WAIT is read as a condition keyword and ignored.
  EXPECT_EQ(door.ConditionCount(), 2);
  EXPECT_EQ(door.Condition(0).Parameter(1), 0);  // unknown comparison: the first
  EXPECT_EQ(door.Condition(1).Parameter(1), 3);
  // "End Script" does not end the body: "nothing" is read too.
  EXPECT_EQ(door.CommandCount(), 2);
  EXPECT_EQ(door.Command(0).Code(), 110);
  EXPECT_EQ(door.Command(0).Parameter(0), 7);
  EXPECT_EQ(door.Command(1).Code(), 100);
}

TEST_F(ImporterTest, EmptyBodiesGetAlwaysAndCodeZero) {
  Import("objectscript \"Chest\"\nconditions:\ncommands:\nend script\n");
  ZR3Script& chest = Object(1);
  EXPECT_EQ(chest.ConditionCount(), 1);
  EXPECT_EQ(chest.Condition(0).Code(), 0);
  EXPECT_EQ(chest.CommandCount(), 1);
  EXPECT_EQ(chest.Command(0).Code(), 0);
  zr3::Lines lines;
  chest.ExportText(lines);
  EXPECT_EQ(lines[2], "  always ");
  EXPECT_EQ(lines[4], "  null");
}

TEST_F(ImporterTest, ExporterLinesThatCannotComeBackAreSkippedSilently) {
  const zr3::Lines log = Import(
      "objectscript \"Well\"\nconditions:\n  Invalid (10) \n  \"\"\n  flag \"Gold\" >= val 2\n"
      "commands:\n  null\n  Invalid (135) \n  jump 3\nend script\n");
  // The empty quoted keyword never matches the missing condition code 10.
  EXPECT_THAT(Warnings(log),
              ElementsAre("Warning: line 4: unknown condition \"\"; the line is ignored",
                          "Warning: line 9: unknown command \"jump\"; the line is ignored"));
  EXPECT_EQ(Object(2).ConditionCount(), 1);
  EXPECT_EQ(Object(2).Condition(0).Code(), 1);
  EXPECT_EQ(Object(2).CommandCount(), 1);
  EXPECT_EQ(Object(2).Command(0).Code(), 0);
}

TEST_F(ImporterTest, AnEleventhLineIsIgnoredWithAWarning) {
  std::string text = "script \"Door\"\n";
  for (int i = 0; i < 11; ++i) text += "color true\n";
  text += "commands:\n";
  for (int i = 0; i < 11; ++i) text += "clear " + std::to_string(i) + "\n";
  const zr3::Lines log = Import(text + "end script\n");
  EXPECT_THAT(Warnings(log),
              ElementsAre("Warning: line 12: more than 10 conditions; the line is ignored",
                          "Warning: line 24: more than 10 commands; the line is ignored"));
  EXPECT_EQ(Object(0).ConditionCount(), 10);
  EXPECT_EQ(Object(0).CommandCount(), 10);
  EXPECT_EQ(Object(0).Command(9).Parameter(0), 9);
}

TEST_F(ImporterTest, NumbersKeepTheirSignFailedLookupsBecomeTheFirstWithAWarning) {
  const zr3::Lines log = Import(
      "script Sign\nflag \"Gold\" >= val -1\nflag \"Gold\" >= rand -3\n"
      "flag \"Nugget\" => bogus 4\ncommands:\nchangeflag set \"Gold\" val -5\n"
      "changetiles \"Grass\" \"Water\" -2\ngivetake take \"Sword\" 99\n"
      "showgraphic \"Sky\" 70000\nwait 12x\nend script\n");
  ZR3Script& sign = Object(3);
  EXPECT_EQ(ParamsOf(sign.Condition(0)), (Params{0, 0, 0, -1}));
  EXPECT_EQ(ParamsOf(sign.Condition(1)), (Params{0, 0, 2, -3}));
  EXPECT_EQ(ParamsOf(sign.Condition(2)), (Params{0, 0, 0, 4}));
  EXPECT_EQ(ParamsOf(sign.Command(0)), (Params{2, 0, 0, -5}));
  EXPECT_EQ(ParamsOf(sign.Command(1)), (Params{0, 1, -2}));
  EXPECT_EQ(sign.Command(1).Reference(ScriptReference::Map), nullptr);
  EXPECT_EQ(ParamsOf(sign.Command(2)), (Params{1, 0}));
  EXPECT_EQ(ParamsOf(sign.Command(3)), (Params{1, 70000 - 65536}));
  EXPECT_EQ(ParamsOf(sign.Command(4)), (Params{0}));
  EXPECT_THAT(Warnings(log),
              ElementsAre("Warning: line 4: no flag named \"Nugget\"; the first flag is used",
                          "Warning: line 4: unknown comparison \"=>\"; \">=\" is used",
                          "Warning: line 4: unknown value source \"bogus\"; \"val\" is used",
                          "Warning: line 10: \"12x\" is not a number; 0 is used"));
}

TEST_F(ImporterTest, ReusedSlotKeepsUnsetParametersAndIsRelinked) {
  Import(
      "script Gate\nitem has \"Shield\"\ncommands:\nshowgraphic \"Portrait\" 3 4\n"
      "changetiles \"Grass\" \"Water\" \"Forest\" 5 6\nplay \"Theme\" 5 6\nend script\n");
  ZR3Script& gate = Object(4);
  EXPECT_EQ(gate.Condition(0).Reference(ScriptReference::Item), &At(Category::Items, 1));
  const zr3::Lines log = Import(
      "script Gate\nspell known \"Fireball\"\ncommands:\nshowgraphic \"Sky\" -1\n"
      "changetiles \"Water\" \"Grass\" -1\nplay \"Theme\"\nend script\n");
  EXPECT_EQ(log[2], "...Found");
  EXPECT_EQ(level.List(Category::ObjectScripts).size(), 6u);
  EXPECT_EQ(ParamsOf(gate.Condition(0)), (Params{0, 0}));
  EXPECT_EQ(gate.Condition(0).Reference(ScriptReference::Item), nullptr);
  EXPECT_EQ(gate.Condition(0).Reference(ScriptReference::Spell), &At(Category::Spells, 0));
  EXPECT_EQ(ParamsOf(gate.Command(0)), (Params{1, -1, 4}));
  EXPECT_EQ(gate.Command(0).Reference(ScriptReference::Graphic), &At(Category::Graphics, 1));
  // A -1 in the map position ends the line: the place stays as it was.
  EXPECT_EQ(ParamsOf(gate.Command(1)), (Params{1, 0, -1, 5, 6}));
  EXPECT_EQ(gate.Command(1).Reference(ScriptReference::Map), nullptr);
  EXPECT_EQ(gate.Command(1).Reference(ScriptReference::FirstTile), &At(Category::Tiles, 1));
  // Numbers the line does not give (the exporter never writes a song's) stay as they were.
  EXPECT_EQ(ParamsOf(gate.Command(2)), (Params{0, 5, 6}));
}

TEST_F(ImporterTest, AScriptLeftOpenAtTheEndOfTheTextIsReadWithAWarning) {
  const zr3::Lines log = Import(
      "objectscript \"Door\"\ncommands:\nwait 1\nend script\n"
      "globalscript \"Old Gate\"\ncommands:\nwait 2\nclear 3\n");
  EXPECT_EQ(
      log, (zr3::Lines{"-------- First Pass --------", "Object script: Door", "...Found",
                       "Global script: Old Gate", "...Added", "-------- Second Pass --------",
                       "Object script: Door", "...Found", "Door updated", "Global script: Old Gate",
                       "...Found", "Warning: line 5: script 'Old Gate' ends without 'end script'",
                       "Old Gate updated"}));
  ZR3Script& gate = Script(Category::GlobalScripts, 0);
  EXPECT_EQ(gate.CommandCount(), 2);
  EXPECT_EQ(gate.Command(1).Parameter(0), 3);
}

TEST_F(ImporterTest, ABodyWithoutCommandsWarnsWhetherTheScriptExistedOrNot) {
  Import("script Chest\ncommands:\nwait 1\nclear 2\nend script\n");
  const zr3::Lines log = Import(
      "script Chest\nflag \"Gold\" >= val 1\nwait 5\nend script\n"
      "script \"Well\"\nitem has \"Sword\"\nend script\n"
      "objectscript Sign\ncommands:\nclear 4\nend script\n"
      "objectscript Sign\nconditions:\ncommands:\n  null\nend script\n");
  // Chest had two commands, Well none; Sign's text asks for the "null" command itself.
  EXPECT_THAT(Warnings(log),
              ElementsAre("Warning: line 3: unknown condition \"wait\"; the line is ignored",
                          "Warning: line 1: script 'Chest' has no command line; command 0 is set "
                          "to code 0 (\"null\") and is the only command",
                          "Warning: line 5: script 'Well' has no command line; command 0 is set "
                          "to code 0 (\"null\") and is the only command"));
  ZR3Script& chest = Object(1);
  EXPECT_EQ(chest.CommandCount(), 1);
  EXPECT_EQ(chest.Command(0).Code(), 0);
  EXPECT_EQ(chest.Command(0).Parameter(0), 1);
  // The command beyond the count stays as it was, as it did before.
  EXPECT_EQ(chest.Command(1).Code(), 122);
  EXPECT_EQ(Object(2).CommandCount(), 1);
  EXPECT_EQ(Object(3).Command(0).Code(), 0);
}

TEST_F(ImporterTest, AQuotedNumberNamesAMapWhereABareNegativeOneStandsForAllMaps) {
  AddStandIns(level, Category::Maps, {"-2"});
  Import(
      "script Sign\ncommands:\nchangetiles \"Grass\" \"Water\" \"-2\" 3 4\n"
      "changetiles \"Grass\" \"Water\" -2 3 4\nwait 5 7\nend script\n");
  ZR3Script& sign = Object(3);
  EXPECT_EQ(ParamsOf(sign.Command(0)), (Params{0, 1, 2, 3, 4}));
  EXPECT_EQ(sign.Command(0).Reference(ScriptReference::Map), &At(Category::Maps, 2));
  EXPECT_EQ(sign.Command(0).KeywordText(), "changetiles \"Grass\" \"Water\" \"-2\" 3 4");
  EXPECT_EQ(ParamsOf(sign.Command(1)), (Params{0, 1, -2}));
  // A second number after "wait" is read, and never written.
  EXPECT_EQ(ParamsOf(sign.Command(2)), (Params{5, 7}));
  EXPECT_EQ(sign.Command(2).KeywordText(), "wait 5");
}

// Enough scripts that the text is searched, the headers looked up and the bodies read on more
// than one thread; the log still follows the text. "S5" names two scripts the level has.
TEST_F(ImporterTest, ManyScriptsAreReportedAndFilledInTheirOrder) {
  constexpr int kScripts = 1600;
  for (int copy = 0; copy < 2; ++copy) {
    auto script = std::make_unique<ZR3Script>(std::uint8_t{0});
    script->SetName("S5");
    level.List(Category::GlobalScripts).push_back(std::move(script));
  }
  level.Renumber(Category::GlobalScripts, 0, 1);
  std::string text;
  zr3::Lines expected{"-------- First Pass --------"};
  zr3::Lines secondPass{"-------- Second Pass --------"};
  for (int i = 0; i < kScripts; ++i) {
    const std::string name = "S" + std::to_string(i);
    text += "globalscript \"" + name + "\"\ncommands:\nwait " + std::to_string(i) + "\n";
    expected.push_back("Global script: " + name);
    if (i == 5) {
      expected.push_back(
          "Warning: line 26: more than one global script is named \"S5\" "
          "(ambiguous, the first is used)");
    }
    expected.push_back(i == 5 ? "...Found" : "...Added");
    secondPass.insert(secondPass.end(), {"Global script: " + name, "...Found"});
    if (i % 7 == 3) {
      text += "jump\n";
      secondPass.push_back("Warning: line " + std::to_string(5 * i + 4) +
                           ": unknown command \"jump\"; the line is ignored");
    } else {
      text += "\n";
    }
    text += "end script\n";
    secondPass.push_back(name + " updated");
  }
  expected.insert(expected.end(), secondPass.begin(), secondPass.end());
  EXPECT_EQ(Import(text), expected);
  ASSERT_EQ(level.List(Category::GlobalScripts).size(), std::size_t{kScripts + 1});
  for (int i = 0; i < kScripts; ++i) {
    const std::size_t position = i == 5 ? 0 : static_cast<std::size_t>(i < 5 ? i + 2 : i + 1);
    EXPECT_EQ(Script(Category::GlobalScripts, position).Command(0).Parameter(0), i);
  }
  EXPECT_EQ(Script(Category::GlobalScripts, 1).Command(0).Parameter(0), 0);
}

TEST_F(ImporterTest, TheFirstFaultInTheTextIsTheOneReported) {
  // Scripts beyond position 32767 cannot be named by a 16-bit parameter.
  AddStandIns(level, Category::ObjectScripts, std::vector<std::string>(40000, "x"));
  AddStandIns(level, Category::ObjectScripts, {"Far", "Farther"});
  std::string text;
  for (int i = 0; i < 600; ++i) {
    const char* target = i == 20 ? "Farther" : i == 500 ? "Far" : "Door";
    text += "globalscript \"G" + std::to_string(i) + "\"\ncommands:\nrun \"" + target +
            "\" process val 1\nend script\n";
  }
  level.SetModified(false);
  EXPECT_EQ(ImportError(text),
            "Line 83: the object script \"Farther\" at position 40007 cannot be named by a script");
  EXPECT_TRUE(level.List(Category::GlobalScripts).empty());
  EXPECT_FALSE(level.Modified());
  // A broken script boundary is found before any name, wherever it stands.
  for (int i = 0; i < 1000; ++i)
    text += "globalscript \"H" + std::to_string(i) + "\"\nend script\n";
  EXPECT_EQ(ImportError(text + "end\n"), "Line 4401: \"end\" without its second word");
}

TEST_F(ImporterTest, HeaderNamesAreCutTo32BytesAndTrailingCrIsStripped) {
  const std::string longName(40, 'n');
  Import("deathscript \"" + longName + "\"\r\nend script\r\n");
  Import("deathscript \"" + longName.substr(0, 35) + "\r\nend script\r\n");
  ASSERT_EQ(level.List(Category::DeathScripts).size(), 1u);
  EXPECT_EQ(Script(Category::DeathScripts, 0).Name(), longName.substr(0, 32));
  // An unterminated quote with a CR LF ending still names the script without the CR.
  const zr3::Lines log = Import("objectscript \"Altar\r\nend script\r\n");
  EXPECT_EQ(log[2], "...Found");
  EXPECT_EQ(level.List(Category::ObjectScripts).size(), 6u);
}

TEST_F(ImporterTest, KindsKeepNamesApartAndARepeatedHeaderFillsTheSameScript) {
  const zr3::Lines log = Import(
      "globalscript \"Door\"\ncommands:\nwait 1\nclear 2\nend script\n"
      "objectscript \"Door\"\ncommands:\nwait 3\nend script\n"
      "globalscript \"Door\"\ncommands:\nwait 4\nend script\n"
      "startscript \"Late\"\ncommands:\nrun \"Later\" process val 1\nend script\n"
      "objectscript \"Later\"\nend script\n");
  EXPECT_EQ(log, (zr3::Lines{"-------- First Pass --------",
                             "Global script: Door",
                             "...Added",
                             "Object script: Door",
                             "...Found",
                             "Global script: Door",
                             "...Found",
                             "Startup script: Late",
                             "...Added",
                             "Object script: Later",
                             "...Added",
                             "-------- Second Pass --------",
                             "Global script: Door",
                             "...Found",
                             "Door updated",
                             "Object script: Door",
                             "...Found",
                             "Door updated",
                             "Global script: Door",
                             "...Found",
                             "Door updated",
                             "Startup script: Late",
                             "...Found",
                             "Late updated",
                             "Object script: Later",
                             "...Found",
                             "Warning: line 18: script 'Later' has no command line; command 0 "
                             "is set to code 0 (\"null\") and is the only command",
                             "Later updated"}));
  ASSERT_EQ(level.List(Category::GlobalScripts).size(), 1u);
  ZR3Script& global = Script(Category::GlobalScripts, 0);
  EXPECT_EQ(global.CommandCount(), 1);
  EXPECT_EQ(global.Command(0).Parameter(0), 4);
  // The second body lowered the count; the slot beyond it keeps what the first wrote.
  EXPECT_EQ(global.Command(1).Code(), 122);
  EXPECT_EQ(Object(0).Command(0).Parameter(0), 3);
  // A script defined further down can be named; it is appended as the next neighbour.
  ASSERT_EQ(level.List(Category::ObjectScripts).size(), 7u);
  ZR3Script& later = Object(6);
  EXPECT_EQ(later.Position(), 6);
  EXPECT_EQ(Object(5).Next(), &later);
  EXPECT_EQ(later.Prev(), &Object(5));
  EXPECT_EQ(Script(Category::StartupScripts, 0).Command(0).Reference(ScriptReference::Script),
            &later);
}

TEST_F(ImporterTest, AmbiguousNamesUseTheFirstWithAWarning) {
  AddStandIns(level, Category::Items, {"Sword"});
  level.List(Category::ObjectScripts)[3]->SetName("Door");
  const zr3::Lines log = Import("script \"Door\"\nitem has \"Sword\"\nend script\n");
  EXPECT_THAT(Warnings(log),
              ElementsAre("Warning: line 1: more than one object script is named \"Door\" "
                          "(ambiguous, the first is used)",
                          "Warning: line 2: more than one item is named \"Sword\" "
                          "(ambiguous, the first is used)",
                          "Warning: line 1: script 'Door' has no command line; command 0 is set "
                          "to code 0 (\"null\") and is the only command"));
  EXPECT_EQ(Object(0).Condition(0).Reference(ScriptReference::Item), &At(Category::Items, 0));
  EXPECT_EQ(Object(3).ConditionCount(), 0);
}

TEST_F(ImporterTest, MalformedFileChangesNothing) {
  level.SetModified(false);
  const zr3::Lines before = ExportAll(level);
  EXPECT_EQ(ImportError("script \"New\"\nend script\nobjectscript\nend script\n"),
            "Line 3: script name missing");
  EXPECT_EQ(ImportError("script \"New\"\nwait 1\nend\n"),
            "Line 3: \"end\" without its second word");
  EXPECT_EQ(level.List(Category::ObjectScripts).size(), 6u);
  EXPECT_EQ(ExportAll(level), before);
  EXPECT_FALSE(level.Modified());

  zr3::ZR3Importer importer(level);
  EXPECT_THROW(importer.Import("/nonexistent/scripts.txt"), zr3::ZR3Error);
  EXPECT_EQ(importer.Log().front(), "Cannot open file /nonexistent/scripts.txt");
  zr3::Lines report;
  importer.AppendReport(report);
  EXPECT_EQ(report[2], "Cannot open file /nonexistent/scripts.txt");
}

TEST_F(ImporterTest, FullScriptListRefusesTheWholeImport) {
  // Stand-ins keep the full list small in memory; only the header's name is looked up.
  std::vector<std::string> names(zr3::ZR3Level::kMaxRecords - 6, "x");
  AddStandIns(level, Category::ObjectScripts, names);
  level.SetModified(false);
  EXPECT_EQ(ImportError("globalscript \"G\"\nend script\nscript \"New\"\nend script\n"),
            "Line 3: the Object Scripts cannot hold more than 65535 scripts");
  EXPECT_TRUE(level.List(Category::GlobalScripts).empty());
  EXPECT_EQ(level.List(Category::ObjectScripts).size(), zr3::ZR3Level::kMaxRecords);
  EXPECT_FALSE(level.Modified());
}

// A level built from bytes with items, an object script naming the second item, and a
// global script: the kind of level a user edits between loading and importing.
class ImportSavedLevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LevelBuilder builder;
    builder.flags[0] = "Gold";
    std::vector<ItemFields> items = {{"Sword"}, {"Shield"}, {"Helm"}};
    for (std::size_t i = 0; i < items.size(); ++i) {
      items[i].id = static_cast<std::uint32_t>(10 + i);
      items[i].prevId = i == 0 ? 0 : items[i].id - 1;
      items[i].nextId = i + 1 == items.size() ? 0 : items[i].id + 1;
      builder.Add(Category::Items, ItemBlob(items[i]));
    }
    std::vector<ScriptFields> objects = {
        ScriptWith("Chest", {{4, {0, 1}}, {1, {0, 4, 0, -1}}}, {{104, {1, 2}}, {110, {-1}}}),
        ScriptWith("Door", {{7, {1}}}, {{114, {0, 0, 0, 1}}})};
    ChainIds(objects, 100);
    for (const ScriptFields& script : objects)
      builder.Add(Category::ObjectScripts, ScriptBlob(script));
    std::vector<ScriptFields> globals = {ScriptWith("Tick", {{0, {}}}, {{101, {0, 0, 0, 1}}})};
    ChainIds(globals, 200);
    builder.Add(Category::GlobalScripts, ScriptBlob(globals[0]));
    built = builder.Build();
    level.LoadFromBytes(built.Bytes());
  }
  Blob built;
  zr3::ZR3Level level;
};

TEST_F(ImportSavedLevelTest, UntouchedScriptsKeepWhatTheyReferToAfterRecordsMoved) {
  zr3::ZR3Base& shield = *level.List(Category::Items)[1];
  MoveRecord(level, Category::Items, 1, 0);
  zr3::ZR3Importer importer(level);
  importer.ImportText(
      "globalscript \"Tick\"\ncommands:\nwait 2\nend script\n"
      "objectscript \"New\"\nend script\n");
  auto& chest = level.At<ZR3Script>(Category::ObjectScripts, 0);
  EXPECT_EQ(chest.Condition(0).Reference(ScriptReference::Item), &shield);
  // Every position equals its index and the appended script is the last one's neighbour.
  const zr3::RecordList& objects = level.List(Category::ObjectScripts);
  ASSERT_EQ(objects.size(), 3u);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(objects[i]->Position(), static_cast<int>(i));
  }
  auto& door = level.At<ZR3Script>(Category::ObjectScripts, 1);
  auto& added = level.At<ZR3Script>(Category::ObjectScripts, 2);
  EXPECT_EQ(door.Next(), &added);
  EXPECT_EQ(added.Prev(), &door);

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  auto& reloadedChest = reloaded.At<ZR3Script>(Category::ObjectScripts, 0);
  EXPECT_EQ(reloadedChest.Condition(0).Reference(ScriptReference::Item)->Name(), "Shield");
  EXPECT_EQ(reloaded.List(Category::ObjectScripts).size(), 3u);
}

TEST_F(ImportSavedLevelTest, ImportingTheExportAddsNothingAndSavesTheSameFile) {
  zr3::ZR3Importer importer(level);
  importer.ImportText(zr3::JoinLinesCrLf(ExportAll(level)));
  EXPECT_THAT(importer.Log(), ::testing::Not(::testing::Contains(HasSubstr("Warning"))));
  EXPECT_THAT(importer.Log(), ::testing::Not(::testing::Contains("...Added")));
  EXPECT_TRUE(level.Modified());
  EXPECT_TRUE(SameModuloIds(built, level.SaveToBytes()));
}

TEST(ImportDemo, ExportImportExportIsStable) {
  const std::string bytes = ReadFile(ZR3_DEMO_PATH);
  zr3::ZR3Level source;
  source.LoadFromBytes(bytes);
  zr3::ZR3Level copy;
  copy.LoadFromBytes(bytes);
  const zr3::Lines exported = ExportAll(source);
  zr3::ZR3Importer importer(copy);
  importer.ImportText(zr3::JoinLinesCrLf(exported));
  EXPECT_EQ(ExportAll(copy), exported);
  for (Category category : {Category::GlobalScripts, Category::DeathScripts,
                            Category::ObjectScripts, Category::StartupScripts}) {
    EXPECT_EQ(copy.List(category).size(), source.List(category).size());
  }
}

}  // namespace

}  // namespace zr3test
