#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/field_record.h"

namespace zr3 {

// A thing the player can own, buy and use. Shops and monsters name it by its identifier,
// scripts by its list position.
class ZR3Item : public FieldRecord<ZR3Item> {
 public:
  static constexpr std::size_t kSize = 64;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::uint16_t kWeapon = 0;
  static constexpr std::uint16_t kArmor = 1;
  static constexpr std::uint16_t kAttributeChange = 2;
  static constexpr std::uint16_t kUsable = 3;
  static constexpr std::uint16_t kHeal = 4;
  static constexpr std::string_view kTypeNames[] = {"Weapon", "Armor", "Attribute Change", "Usable",
                                                    "Heal"};

  ZR3Item() = default;
  explicit ZR3Item(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Items; }

  // A usable item's first parameter is the position of its object script, which the save
  // first takes from the script's current position. Item modifiers are unsigned, unlike a
  // spell's.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name"));
    visit(field::Choice("type", self.type_, kTypeNames, "Type"));
    visit(field::Number("cost", self.cost_, "Cost"));
    visit(field::UndescribedPosition("parameter_1", self.script_, "Run script",
                                     self.type_ == kUsable));
    visit(field::Number("parameter_2", self.parameters_[0], ""));
    visit(field::Number("parameter_3", self.parameters_[1], ""));
    visit(field::Number("parameter_4", self.parameters_[2], ""));
    visit(field::Line(
        [&self](Lines& lines) { lines.push_back("Definition: " + self.DefinitionText()); }));
    visit(field::Position("group_1", self.group1_, "Group 1"));
    visit(field::Position("group_2", self.group2_, "Group 2"));
    visit(field::Number("group_1_modifier", self.modifiers_[0], "Group 1 mod"));
    visit(field::Number("group_2_modifier", self.modifiers_[1], "Group 2 mod"));
    visit(field::Chain(self));
  }

  std::uint16_t Type() const { return type_; }
  std::int16_t Cost() const { return cost_; }
  // Definition parameters 1 to 4 are parameter(0) to parameter(3).
  std::int16_t Parameter(std::size_t i) const {
    return i == 0 ? script_.Stored() : parameters_[i - 1];
  }
  std::int16_t GroupIndex(std::size_t i) const { return GroupAt(i).Stored(); }
  std::uint16_t GroupModifier(std::size_t i) const { return modifiers_[i]; }
  ZR3Base* Group(std::size_t i) const { return GroupAt(i).Record(); }
  ZR3Base* Script() const { return script_.Record(); }

 private:
  // A group index of 20 or more, or a usable item's script position beyond the list, fails the
  // link; a negative one names nothing.
  using GroupReference =
      PositionReference<PositionRule{Category::Groups, OutsideList::LinkError, true}>;
  using ScriptReference =
      PositionReference<PositionRule{Category::ObjectScripts, OutsideList::LinkError, true, true}>;

  const GroupReference& GroupAt(std::size_t i) const { return i == 0 ? group1_ : group2_; }
  std::string DefinitionText() const;

  std::uint16_t type_ = 0;
  std::int16_t cost_ = 0;
  ScriptReference script_;
  std::array<std::int16_t, 3> parameters_{};
  GroupReference group1_;
  GroupReference group2_;
  std::array<std::uint16_t, 2> modifiers_{};
};

}  // namespace zr3
