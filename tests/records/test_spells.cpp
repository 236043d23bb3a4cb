#include <gtest/gtest.h>

#include "level/bytes.h"
#include "level/record_factory.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "records/zr3spell.h"
#include "support/chain_ids.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/placeholder_script.h"
#include "support/record_checks.h"
#include "support/spell_builder.h"

using zr3::Category;
using zr3::ZR3Spell;
using zr3test::Describe;
using zr3test::LineStarting;
using zr3test::LoadFailure;
using zr3test::SpellFields;

namespace {

constexpr std::size_t kLearnIdOffset = 40;
constexpr std::size_t kParameter1Offset = 46;
constexpr std::size_t kOwnIdOffset = 72;

// Spells get own identifiers from 100 on, unless a test sets them after the chain.
zr3test::LevelBuilder WithSpells(std::vector<SpellFields> spells) {
  zr3test::ChainIds(spells, 100);
  zr3test::LevelBuilder builder;
  for (const SpellFields& spell : spells) builder.Add(Category::Spells, zr3test::SpellBlob(spell));
  return builder;
}

const ZR3Spell& SpellAt(const zr3::ZR3Level& level, std::size_t index) {
  return level.At<ZR3Spell>(Category::Spells, index);
}

}  // namespace

TEST(Spell, DefinitionShowsEachTypeAndNumbersOutsideTheTables) {
  const std::vector<std::pair<SpellFields, std::pair<std::string, std::string>>> cases = {
      {{.type = 0, .parameters = {4, 9, 0, 0}}, {"Offense", "4-9 damage"}},
      {{.type = 1, .parameters = {4, 9, 0, 0}}, {"(Obsolete)", "(Obsolete)"}},
      {{.type = 2, .parameters = {0, 5, 3, 0}}, {"Change Self", "STR +5 for 3 rounds"}},
      {{.type = 2, .parameters = {5, 0, 1, 0}}, {"Change Self", "AL +0 for 1 rounds"}},
      {{.type = 3, .parameters = {0, 5, 3, 0}}, {"Change Other", "Enemy STR +5 for 3 rounds"}},
      {{.type = 3, .parameters = {6, -2, 2, 0}}, {"Change Other", "Enemy (6) -2 for 2 rounds"}},
      {{.type = 4, .parameters = {4, 9, 0, 0}}, {"Heal", "Heal 4-9 damage"}},
      {{.type = 5, .parameters = {0, 0, 0, 0}}, {"Run Script", "Run script 0"}},
      {{.type = 5, .parameters = {-3, 0, 0, 0}}, {"Run Script", "Run script -3"}},
      {{.type = 6, .parameters = {1, 2, 3, 4}}, {"(6)", ""}},
      {{.type = 0xFFFF, .parameters = {1, 2, 3, 4}}, {"(65535)", ""}},
  };
  std::vector<SpellFields> spells;
  for (const auto& entry : cases) spells.push_back(entry.first);
  zr3::ZR3Level level;
  // A "Run Script" position outside the (empty) script list is no error.
  level.LoadFromBytes(WithSpells(spells).Build().Bytes());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const zr3::Lines lines = Describe(SpellAt(level, i));
    EXPECT_EQ(LineStarting(lines, "Spell Type: "), "Spell Type: " + cases[i].second.first)
        << "spell " << i;
    EXPECT_EQ(LineStarting(lines, "Definition: "), "Definition: " + cases[i].second.second)
        << "spell " << i;
  }
}

TEST(Spell, DescribesEveryLineWithSignedModifiers) {
  zr3test::LevelBuilder builder = WithSpells({{.name = "Fire",
                                               .minSp = 3,
                                               .spCost = -2,
                                               .mastery = 0,
                                               .opaqueA = {0xab, 0x01},
                                               .learnId = 999,
                                               .type = 0,
                                               .parameters = {4, 9, 0, 0},
                                               .groups = {-1, 2},
                                               .modifiers = {-1, 5},
                                               .opaqueB = {0x00, 0xff}}});
  builder.groups[2] = "Mages";
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const zr3::Lines expected = {"Name: Fire",           "Min SP: 3",
                               "SP Cost: -2",          "Mastery: 0",
                               "Unknown: ab 01",       "Learn: (not specified)",
                               "Spell Type: Offense",  "Definition: 4-9 damage",
                               "Group 1: -1",          "Group 2: Mages",
                               "Group 1 mod: -1",      "Group 2 mod: 5",
                               "Unknown: 00 ff",       "Next Id: 00 00 00 00",
                               "Prev Id: 00 00 00 00", "Id: 64 00 00 00"};
  EXPECT_EQ(Describe(SpellAt(level, 0)), expected);
}

TEST(Spell, LearnLineDependsOnTheLearnSpellAndTheMastery) {
  zr3::ZR3Level level;
  level.LoadFromBytes(WithSpells({{.name = "Quiet", .mastery = -1},
                                  {.name = "Unknown", .mastery = -1, .learnId = 999},
                                  {.name = "Taught", .mastery = -1, .learnId = 100}})
                          .Build()
                          .Bytes());
  EXPECT_EQ(LineStarting(Describe(SpellAt(level, 0)), "Learn"), "(no line Learn)");
  EXPECT_EQ(LineStarting(Describe(SpellAt(level, 1)), "Learn"), "(no line Learn)");
  EXPECT_EQ(LineStarting(Describe(SpellAt(level, 2)), "Learn"), "Learn: Quiet");
}

TEST(Spell, LearnSpellIsTheFirstMatch) {
  std::vector<SpellFields> spells = {{.name = "First"}, {.name = "Second"}, {.name = "Pupil"}};
  zr3test::ChainIds(spells, 100);
  spells[1].id = 100;
  spells[2].learnId = 100;
  zr3test::LevelBuilder builder;
  for (const SpellFields& spell : spells) builder.Add(Category::Spells, zr3test::SpellBlob(spell));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const ZR3Spell& pupil = SpellAt(level, 2);
  EXPECT_EQ(pupil.LearnSpell(), &SpellAt(level, 0));
  EXPECT_TRUE(pupil.RefersTo(SpellAt(level, 0)));
  EXPECT_FALSE(pupil.RefersTo(SpellAt(level, 1)));
}

TEST(Spell, SelfLearningSpellKeepsNamingItselfThroughASave) {
  const zr3test::LevelBuilder builder =
      WithSpells({{.name = "Other"}, {.name = "Self", .learnId = 101}});
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const ZR3Spell& self = SpellAt(level, 1);
  EXPECT_EQ(LineStarting(Describe(self), "Learn"), "Learn: Self");
  EXPECT_TRUE(self.RefersTo(self));

  const std::string saved = level.SaveToBytes();
  EXPECT_TRUE(zr3test::SameModuloIds(builder.Build(), saved));
  const std::size_t at = zr3test::RecordOffset(builder, Category::Spells, 1, ZR3Spell::kSize);
  EXPECT_EQ(zr3test::U32At(saved, at + kLearnIdOffset), zr3test::U32At(saved, at + kOwnIdOffset));
  // The record now holds the save identifier, so the file it wrote links again.
  EXPECT_EQ(self.LearnId(), self.SaveId());
  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(saved);
  EXPECT_EQ(SpellAt(reloaded, 1).LearnSpell(), &SpellAt(reloaded, 1));
}

TEST(Spell, UnresolvedLearnIdentifierIsWrittenBackAndNeverGivenToARecord) {
  // Save identifiers run from 1: the spell must not get the 1 its learn identifier holds.
  const zr3test::LevelBuilder builder = WithSpells({{.name = "Lost", .learnId = 1}});
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  std::vector<std::uint32_t> kept;
  SpellAt(level, 0).CollectKeptIdentifiers(kept);
  EXPECT_EQ(kept, std::vector<std::uint32_t>{1});

  const std::string saved = level.SaveToBytes();
  const std::size_t at = zr3test::RecordOffset(builder, Category::Spells, 0, ZR3Spell::kSize);
  EXPECT_EQ(zr3test::U32At(saved, at + kLearnIdOffset), 1u);
  EXPECT_NE(zr3test::U32At(saved, at + kOwnIdOffset), 1u);
  EXPECT_EQ(SpellAt(level, 0).LearnId(), 1u);
  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(saved);
  EXPECT_EQ(SpellAt(reloaded, 0).LearnSpell(), nullptr);
}

TEST(Spell, GroupIndexOfTwentyOrMoreFailsTheLoad) {
  zr3::ZR3Level first;
  EXPECT_EQ(LoadFailure(WithSpells({{.groups = {20, -1}}}), first),
            "List index out of bounds (20)");
  EXPECT_FALSE(first.Loaded());
  zr3::ZR3Level second;
  EXPECT_EQ(LoadFailure(WithSpells({{.groups = {0, 32767}}}), second),
            "List index out of bounds (32767)");
  EXPECT_FALSE(second.Loaded());
}

TEST(Spell, RunScriptPositionOutsideTheListIsWrittenBackUnchanged) {
  const zr3test::LevelBuilder builder =
      WithSpells({{.name = "Call", .type = 5, .parameters = {0, 7, 8, 9}}});
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(SpellAt(level, 0).Script(), nullptr);
  const std::string saved = level.SaveToBytes();
  EXPECT_TRUE(zr3test::SameModuloIds(builder.Build(), saved));
  const std::size_t at = zr3test::RecordOffset(builder, Category::Spells, 0, ZR3Spell::kSize);
  EXPECT_EQ(zr3test::U16At(saved, at + kParameter1Offset), 0);
}

TEST(Spell, RunScriptSpellFollowsItsScriptWhenWritten) {
  zr3::ZR3Level level;
  level.LoadFromBytes(zr3test::LevelBuilder().Build().Bytes());
  zr3test::AddPlaceholderScripts(level, 3);
  const zr3test::Blob blob =
      zr3test::SpellBlob({.name = "Call", .type = 5, .parameters = {2, 0, 0, 0}});
  zr3::ByteReader in(blob.Bytes());
  level.List(Category::Spells).push_back(std::make_unique<ZR3Spell>(in));
  auto& spell = level.At<ZR3Spell>(Category::Spells, 0);
  spell.Link(level);

  zr3::RecordList& scripts = level.List(Category::ObjectScripts);
  zr3::ZR3Base* script = scripts[2].get();
  EXPECT_EQ(LineStarting(Describe(spell), "Definition: "), "Definition: Run Script 2");
  EXPECT_TRUE(spell.RefersTo(*script));
  EXPECT_FALSE(spell.RefersTo(*scripts[0]));

  scripts.erase(scripts.begin());
  level.Renumber(Category::ObjectScripts, 0, scripts.size() - 1);
  zr3::ByteWriter out;
  spell.Write(out);
  ASSERT_EQ(out.Size(), ZR3Spell::kSize);
  EXPECT_EQ(zr3test::U16At(out.Data(), kParameter1Offset), 1);
  EXPECT_EQ(spell.Parameter(0), 1);

  script->SetPosition(32768);
  zr3::ByteWriter refused;
  EXPECT_THROW(spell.Write(refused), zr3::ZR3Error);
  EXPECT_EQ(spell.Parameter(0), 1);
}

TEST(Spell, RoundTripKeepsEveryFieldAndWrites76Bytes) {
  const zr3test::LevelBuilder builder =
      WithSpells({{.name = "Bolt",
                   .minSp = -1,
                   .spCost = 4,
                   .mastery = 32767,
                   .opaqueA = {0x12, 0x34},
                   .learnId = 102,
                   .type = 2,
                   .parameters = {1, -5, 3, 777},
                   .groups = {0, 19},
                   .modifiers = {-1, -32768},
                   .opaqueB = {0xfe, 0xdc}},
                  {.name = std::string(32, 'S'), .learnId = 4242, .type = 0xFFFF},
                  {.name = "Mend", .type = 4, .parameters = {4, 9, -1, -1}}});
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(SpellAt(level, 0).LearnSpell(), &SpellAt(level, 2));
  const std::string saved = level.SaveToBytes();
  EXPECT_TRUE(zr3test::SameModuloIds(builder.Build(), saved));
  EXPECT_EQ(saved.size() - zr3test::LevelBuilder().Build().Size(), 3 * ZR3Spell::kSize);
}

TEST(Spell, CopyRefersToTheSameRecordsAndTheSourcesLearnSpell) {
  zr3::ZR3Level level;
  level.LoadFromBytes(
      WithSpells({{.name = "Self", .learnId = 100, .groups = {1, 2}}}).Build().Bytes());
  const ZR3Spell& source = SpellAt(level, 0);
  std::unique_ptr<zr3::ZR3Base> copy = zr3::NewRecord(Category::Spells);
  source.CopyTo(*copy);
  const auto& spell = static_cast<const ZR3Spell&>(*copy);
  EXPECT_EQ(Describe(spell), Describe(source));
  EXPECT_TRUE(spell.RefersTo(source));
  EXPECT_FALSE(spell.RefersTo(spell));
  const zr3::RecordList& groups = level.List(Category::Groups);
  EXPECT_TRUE(spell.RefersTo(*groups[1]));
  EXPECT_TRUE(spell.RefersTo(*groups[2]));
  EXPECT_FALSE(spell.RefersTo(*groups[0]));
}
