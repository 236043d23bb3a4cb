#include <gtest/gtest.h>

#include "level/text.h"
#include "script/entry_fixture.h"
#include "script/zr3script.h"

namespace zr3test {

namespace {

using zr3::Category;

class ScriptTextTest : public EntryTest {
 protected:
  std::string ConditionLine(const SlotFields& slot) { return Condition(slot).KeywordText(); }
  std::string CommandLine(const SlotFields& slot) { return Command(slot).KeywordText(); }

  // A script of the level's object list, loaded from its bytes and linked.
  zr3::ZR3Script& LoadScript(const ScriptFields& spec) {
    const Blob bytes = ScriptBlob(spec);
    zr3::ByteReader in(bytes.Bytes());
    auto script = std::make_unique<zr3::ZR3Script>(in, 2);
    zr3::RecordList& list = level.List(Category::ObjectScripts);
    script->SetPosition(static_cast<int>(list.size()));
    list.push_back(std::move(script));
    auto& added = static_cast<zr3::ZR3Script&>(*list.back());
    added.Link(level);
    return added;
  }
};

TEST_F(ScriptTextTest, ConditionLinesFollowTheirForms) {
  EXPECT_EQ(ConditionLine({1, {0, 0, 0, 10}}), "flag \"Gold\" >= val 10");
  EXPECT_EQ(ConditionLine({1, {1, 2, 3, 2}}), "flag \"Silver\" == flag \"Copper\"");
  // The trailing blanks of "always" and of a code without a kind.
  EXPECT_EQ(ConditionLine({0, {}}), "always ");
  EXPECT_EQ(ConditionLine({10, {}}), "Invalid (10) ");
  EXPECT_EQ(ConditionLine({77, {}}), "Invalid (77) ");
  EXPECT_EQ(ConditionLine({2, {0, 0, 1, 0, 5, 2, 3}}), "location at val \"Forest\" val 5 rand 3");
  EXPECT_EQ(ConditionLine({2, {1, 2, 4, 3, 0, 1, 11}}), "location not rand 4 flag \"Gold\" att x");
  EXPECT_EQ(ConditionLine({2, {0, 3, 1, 3, 2, 0, 0}}),
            "location at flag \"Silver\" flag \"Copper\" val 0");
  EXPECT_EQ(ConditionLine({3, {26, 5, 1, 3}}), "attribute monster.exp < att hp");
  EXPECT_EQ(ConditionLine({4, {1, 1}}), "item missing \"Shield\"");
  EXPECT_EQ(ConditionLine({5, {0, 0}}), "charset is \"Hero\"");
  EXPECT_EQ(ConditionLine({6, {1, 0}}), "palette not \"Dusk\"");
  EXPECT_EQ(ConditionLine({7, {0}}), "incombat true");
  EXPECT_EQ(ConditionLine({9, {1}}), "color false");
  EXPECT_EQ(ConditionLine({8, {4, 3, 2, 6}}), "time year <> rand 6");
  // A unit outside the table shows no unit word.
  EXPECT_EQ(ConditionLine({8, {7, 0, 0, 3}}), "time >= val 3");
  EXPECT_EQ(ConditionLine({11, {0, 5, 3, 0, 2, 1}}), "tileexists val 5 flag \"Gold\" top missing");
  EXPECT_EQ(ConditionLine({11, {0, 5, 0, 3, 0, 0}}), "tileexists val 5 val 3 bottom exists");
  EXPECT_EQ(ConditionLine({12, {1, 0}}), "spell unknown \"Fireball\"");
  EXPECT_EQ(ConditionLine({13, {1, 0}}), "equipped \"Shield\" equipped");
  EXPECT_EQ(ConditionLine({13, {0, 1}}), "equipped \"Sword\" unequipped");
}

TEST_F(ScriptTextTest, ConditionLineStopsAtAMissingReference) {
  EXPECT_EQ(ConditionLine({1, {300, 0, 0, 10}}), "flag Bad reference");
  EXPECT_EQ(ConditionLine({4, {0, 9}}), "item has Bad reference");
  EXPECT_EQ(ConditionLine({2, {0, 0, 5, 0, 1, 0, 2}}), "location at val Bad reference");
  EXPECT_EQ(ConditionLine({1, {0, 4, 3, -1}}), "flag \"Gold\" > flag Bad reference");
}

TEST_F(ScriptTextTest, CommandLinesFollowTheirForms) {
  EXPECT_EQ(CommandLine({102, {0, 0, 0, 5, 0, 3}}), "warp val \"Town\" val 5 val 3");
  EXPECT_EQ(CommandLine({101, {0, 0, 0, 10}}), "changeflag inc \"Gold\" val 10");
  EXPECT_EQ(CommandLine({107, {0, 3, -1, 0, 0, 0, 0}}), "showtext \"Intro\" 3 -1 nowait");
  EXPECT_EQ(CommandLine({107, {0, 3, 1, 2, 3, 4, 1}}), "showtext \"Intro\" 3 1 2 3 4 wait");
  EXPECT_EQ(CommandLine({110, {-1}}), "wait -1");
  EXPECT_EQ(CommandLine({110, {500}}), "wait 500");
  EXPECT_EQ(CommandLine({119, {0, 0}}), "combat start \"Goblin\"");
  EXPECT_EQ(CommandLine({119, {1, 0}}), "combat stop");
  EXPECT_EQ(CommandLine({100, {}}), "nothing");
  EXPECT_EQ(CommandLine({108, {}}), "[ex-command]");
  EXPECT_EQ(CommandLine({5, {}}), "null");
  EXPECT_EQ(CommandLine({135, {}}), "Invalid (135) ");
  // Two blanks between the keyword and the screen word, and after the colour of a list.
  EXPECT_EQ(CommandLine({121, {0, 1}}), "changescreen  background \"Sky\"");
  EXPECT_EQ(CommandLine({121, {2, 0}}), "changescreen  combat \"Portrait\"");
  EXPECT_EQ(CommandLine({121, {5, 0}}), "changescreen \"Portrait\"");
  EXPECT_EQ(CommandLine({129, {0, 7, -1}}), "showlist \"Quests\" 7  -1");
  EXPECT_EQ(CommandLine({129, {0, 7, 1, 2, 3, 4}}), "showlist \"Quests\" 7  1 2 3 4");
  EXPECT_EQ(CommandLine({106, {1, -1, 9}}), "showgraphic \"Sky\" -1");
  EXPECT_EQ(CommandLine({106, {1, 4, 9}}), "showgraphic \"Sky\" 4 9");
  EXPECT_EQ(CommandLine({113, {0, 1, -1}}), "changetiles \"Grass\" \"Water\" -1");
  EXPECT_EQ(CommandLine({113, {0, 1, -2}}), "changetiles \"Grass\" \"Water\" -2");
  EXPECT_EQ(CommandLine({113, {0, 1, 1, -3}}), "changetiles \"Grass\" \"Water\" \"Forest\" -3");
  EXPECT_EQ(CommandLine({113, {0, 1, 1, 3, 4}}), "changetiles \"Grass\" \"Water\" \"Forest\" 3 4");
  EXPECT_EQ(CommandLine({117, {0, 1, -2}}), "changeobjpic \"Chest\" \"Sky\" -1");
  EXPECT_EQ(CommandLine({117, {1, 0, 0, -5}}), "changeobjpic \"Lamp\" \"Portrait\" \"Town\" -1");
  EXPECT_EQ(CommandLine({117, {1, 0, 0, 5, 6}}), "changeobjpic \"Lamp\" \"Portrait\" \"Town\" 5 6");
  EXPECT_EQ(CommandLine({114, {2, 1, 2, 3}}), "run \"Well\" ignore rand 3");
  EXPECT_EQ(CommandLine({114, {0, 0, 0, 1}}), "run \"Door\" process val 1");
  EXPECT_EQ(CommandLine({112, {1, 1, 0, 3, 4}}), "moveobj remove \"Lamp\" \"Town\" 3 4");
  EXPECT_EQ(CommandLine({131, {1, 2}}), "customtap \"Silver\" \"Copper\"");
  EXPECT_EQ(CommandLine({132, {2}}), "walk left");
  EXPECT_EQ(CommandLine({132, {9}}), "walk");
  EXPECT_EQ(CommandLine({133, {1, 0}}), "equip remove \"Sword\"");
  EXPECT_EQ(CommandLine({134, {2, 4, 0, 1, 3, 0, 2}}),
            "deletelayer rand 4 val 1 flag \"Gold\" top");
  EXPECT_EQ(CommandLine({125, {1, 0, 1, 0, 2, 0, 3}}),
            "advchangetiles \"Water\" val \"Forest\" val 2 val 3");
  EXPECT_EQ(CommandLine({126, {0, 0, 3, 1, 1, 1, 0, 8}}),
            "advmoveobj place \"Chest\" flag \"Silver\" att agl val 8");
  EXPECT_EQ(CommandLine({124, {0, 0, 1, 2, 2}}), "advshowgraphic \"Portrait\" val 1 rand 2");
  EXPECT_EQ(CommandLine({103, {3, 4, 0, -7}}), "changeattribute hp div val -7");
  EXPECT_EQ(CommandLine({122, {12}}), "clear 12");
}

TEST_F(ScriptTextTest, CommandLineStopsAtAMissingReference) {
  EXPECT_EQ(CommandLine({104, {0, 9}}), "givetake give  Bad reference");
  EXPECT_EQ(CommandLine({101, {0, 999, 0, 1}}), "changeflag inc  Bad reference");
  EXPECT_EQ(CommandLine({112, {0, 0, 8, 3, 4}}), "moveobj place \"Chest\"  Bad reference");
  EXPECT_EQ(CommandLine({119, {0, 4}}), "combat start  Bad reference");
}

TEST_F(ScriptTextTest, NamesWithQuotesAndLineBreaksStayOneReadableToken) {
  level.List(Category::Texts)[0]->SetName("Say \"hi\"\r\nnow");
  EXPECT_EQ(CommandLine({107, {0, 1, -1, 0, 0, 0, 1}}),
            "showtext \"Say \"\"hi\"\"  now\" 1 -1 wait");
}

TEST_F(ScriptTextTest, BlockOfTheWorkedExample) {
  ScriptFields spec =
      ScriptWith("Door", {{1, {0, 0, 0, 10}}, {0, {}}}, {{102, {0, 0, 0, 5, 0, 3}}, {110, {-1}}});
  zr3::ZR3Script& script = LoadScript(spec);
  script.SetKind(0);
  zr3::Lines lines;
  script.ExportText(lines);
  EXPECT_EQ(zr3::JoinLinesCrLf(lines),
            "globalscript \"Door\"\r\n"
            "conditions:\r\n"
            "  flag \"Gold\" >= val 10\r\n"
            "  always \r\n"
            "commands:\r\n"
            "  warp val \"Town\" val 5 val 3\r\n"
            "  wait -1\r\n"
            "end script\r\n");
}

TEST_F(ScriptTextTest, BlocksOfEmptyAndOverfullScripts) {
  zr3::Lines lines;
  LoadScript(ScriptWith("Old Door", {}, {})).ExportText(lines);
  EXPECT_EQ(lines,
            (zr3::Lines{"objectscript \"Old Door\"", "conditions:", "commands:", "end script"}));

  ScriptFields full = ScriptWith("Full", {}, {});
  for (SlotFields& slot : full.conditions) slot = {7, {}};
  full.conditionCount = 12;
  full.commandCount = 255;
  lines.clear();
  zr3::ZR3Script& script = LoadScript(full);
  script.SetKind(3);
  script.ExportText(lines);
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[0], "startscript \"Full\"");
  EXPECT_EQ(lines[11], "  incombat true");
  EXPECT_EQ(lines[12], "commands:");
  EXPECT_EQ(lines[13], "  null");
  EXPECT_EQ(lines[23], "end script");
}

}  // namespace

}  // namespace zr3test
