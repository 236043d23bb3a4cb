#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/field_record.h"

namespace zr3 {

// A magic action. Monsters and other spells (as learn spell) name it by its identifier,
// scripts by its list position.
class ZR3Spell : public FieldRecord<ZR3Spell> {
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

  ZR3Spell() = default;
  explicit ZR3Spell(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Spells; }

  // The save first takes the learn spell's save identifier and, for "Run Script", the
  // script's current position into the record. Spell modifiers are signed, unlike an item's.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name"));
    visit(field::Number("min_sp", self.minSp_, "Min SP"));
    visit(field::Number("sp_cost", self.spCost_, "SP Cost"));
    visit(field::Number("mastery", self.mastery_, "Mastery"));
    visit(field::Opaque("opaque_a", self.opaqueA_));
    visit(field::Reference("learn_spell", self.learnSpell_, "Learn", ReferenceStyle::Undescribed));
    visit(field::Line([&self](Lines& lines) { self.DescribeLearn(lines); }));
    visit(field::Choice("type", self.type_, kTypeNames, "Spell Type"));
    visit(field::UndescribedPosition("parameter_1", self.script_, "Run script",
                                     self.type_ == kRunScript));
    visit(field::Number("parameter_2", self.parameters_[0], ""));
    visit(field::Number("parameter_3", self.parameters_[1], ""));
    visit(field::Number("parameter_4", self.parameters_[2], ""));
    visit(field::Line(
        [&self](Lines& lines) { lines.push_back("Definition: " + self.DefinitionText()); }));
    visit(field::Position("group_1", self.group1_, "Group 1"));
    visit(field::Position("group_2", self.group2_, "Group 2"));
    visit(field::Number("group_1_modifier", self.modifiers_[0], "Group 1 mod"));
    visit(field::Number("group_2_modifier", self.modifiers_[1], "Group 2 mod"));
    visit(field::Opaque("opaque_b", self.opaqueB_));
    visit(field::Chain(self));
  }

  std::int16_t MinSp() const { return minSp_; }
  std::int16_t SpCost() const { return spCost_; }
  std::int16_t Mastery() const { return mastery_; }
  std::uint32_t LearnId() const { return learnSpell_.Stored(); }
  std::uint16_t Type() const { return type_; }
  // Definition parameters 1 to 4 are parameter(0) to parameter(3).
  std::int16_t Parameter(std::size_t i) const {
    return i == 0 ? script_.Stored() : parameters_[i - 1];
  }
  std::int16_t GroupIndex(std::size_t i) const { return GroupAt(i).Stored(); }
  std::int16_t GroupModifier(std::size_t i) const { return modifiers_[i]; }
  ZR3Base* Group(std::size_t i) const { return GroupAt(i).Record(); }
  ZR3Base* Script() const { return script_.Record(); }
  ZR3ChainRecord* LearnSpell() const { return learnSpell_.Record(); }

 private:
  // Identifier 0 names no spell; an unresolved learn identifier is written back as stored.
  using LearnReference = IdReference<IdRule{Category::Spells, Match::First, true, AtSave::Kept,
                                            /*refreshStoredOnWrite=*/true}>;
  // Unlike an item's, a script position outside the list simply stays unresolved.
  using ScriptReference = PositionReference<PositionRule{Category::ObjectScripts,
                                                         OutsideList::Unresolved, false, true}>;
  using GroupReference =
      PositionReference<PositionRule{Category::Groups, OutsideList::LinkError, true}>;

  const GroupReference& GroupAt(std::size_t i) const { return i == 0 ? group1_ : group2_; }
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
  ScriptReference script_;
  std::array<std::int16_t, 3> parameters_{};
  GroupReference group1_;
  GroupReference group2_;
  std::array<std::int16_t, 2> modifiers_{};
  std::array<std::uint8_t, 2> opaqueB_{};
};

}  // namespace zr3
