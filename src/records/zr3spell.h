#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/zr3effect.h"

namespace zr3 {

// A magic action. Monsters and other spells (as learn spell) name it by its identifier,
// scripts by its list position.
// Unlike an item's, a spell's script position outside the list simply stays unresolved, and
// its modifiers are signed.
using SpellEffect =
    ZR3Effect<PositionRule{Category::ObjectScripts, OutsideList::Unresolved, false, true},
              std::int16_t>;

class ZR3Spell : public FieldRecord<ZR3Spell, SpellEffect> {
 public:
  static constexpr std::size_t kSize = 76;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::uint16_t kOffense = 0;
  static constexpr std::uint16_t kObsolete = 1;
  static constexpr std::uint16_t kChangeSelf = 2;
  static constexpr std::uint16_t kChangeOther = 3;
  static constexpr std::uint16_t kHeal = 4;
  static constexpr std::uint16_t kRunScript = 5;
  static constexpr std::string_view kTypeNames[] = {"Offense",      "(Obsolete)", "Change Self",
                                                    "Change Other", "Heal",       "Run Script"};

  // What the parameters mean, type by type; no type uses parameter 4.
  static constexpr FieldHelp kRounds = {"Rounds", "How many rounds of a fight the change lasts"};
  static constexpr ParameterHelp kParameterHelp[] = {
      {{{"Lowest damage", "The least damage the spell does"},
        {"Highest damage", "The most damage the spell does"},
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      kUnusedParameters,
      {{{"Attribute", "The caster's attribute it changes, by number (0 to 5)"},
        {"Change", "How much it changes the attribute; below 0 lowers it"},
        kRounds,
        kUnusedParameters[3]}},
      {{{"Attribute", "The target's attribute it changes, by number (0 to 5)"},
        {"Change", "How much it changes the attribute; below 0 lowers it"},
        kRounds,
        kUnusedParameters[3]}},
      {{{"Lowest amount", "The least the spell heals"},
        {"Highest amount", "The most the spell heals"},
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      {{{"Script", "The object script it runs, by its position in the list"},
        kUnusedParameters[1],
        kUnusedParameters[2],
        kUnusedParameters[3]}},
  };

  ZR3Spell() = default;
  explicit ZR3Spell(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Spells; }

  // The save first takes the learn spell's save identifier and, for "Run Script", the
  // script's current position into the record.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Number("min_sp", self.minSp_, "Min SP").Means("The SP a caster needs at least"));
    visit(field::Number("sp_cost", self.spCost_, "SP Cost").Means("The SP a cast uses"));
    visit(field::Number("mastery", self.mastery_, "Mastery")
              .Means("The spell's mastery value; below 0, a missing learn spell goes unsaid"));
    visit(field::Opaque("opaque_a", self.opaqueA_).Means(meaning::kOpaque));
    visit(field::Reference("learn_spell", self.learnSpell_, "Learn", ReferenceStyle::Undescribed)
              .Means("The spell's learn spell, or none"));
    visit(field::Line([&self](Lines& lines) { self.DescribeLearn(lines); }));
    visit(field::Choice("type", self.type_, kTypeNames, "Spell Type")
              .Means("What kind of spell it is; it decides what the parameters mean"));
    ParameterFields(self, visit, self.type_ == kRunScript, kParameterHelp, self.type_);
    visit(field::Line(
        [&self](Lines& lines) { lines.push_back("Definition: " + self.DefinitionText()); }));
    GroupFields(self, visit);
    visit(field::Opaque("opaque_b", self.opaqueB_).Means(meaning::kOpaque));
    visit(field::Chain(self));
  }

  std::int16_t MinSp() const { return minSp_; }
  std::int16_t SpCost() const { return spCost_; }
  std::int16_t Mastery() const { return mastery_; }
  std::uint32_t LearnId() const { return learnSpell_.Stored(); }
  std::uint16_t Type() const { return type_; }
  ZR3ChainRecord* LearnSpell() const { return learnSpell_.Record(); }

 private:
  // Identifier 0 names no spell; an unresolved learn identifier is written back as stored.
  using LearnReference = IdReference<IdRule{Category::Spells, Match::First, true, AtSave::Kept,
                                            /*refreshStoredOnWrite=*/true}>;
  // "Learn: " and the spell's name; "(not specified)" for none when the mastery is not negative.
  void DescribeLearn(Lines& lines) const;
  std::string DefinitionText() const;
  std::string ChangeText() const;

  std::int16_t minSp_ = 0;
  std::int16_t spCost_ = 0;
  std::int16_t mastery_ = 0;
  std::array<std::uint8_t, 2> opaqueA_{};
  LearnReference learnSpell_;
  std::uint16_t type_ = 0;
  std::array<std::uint8_t, 2> opaqueB_{};
};

}  // namespace zr3
