#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "level/field_record.h"

namespace zr3 {

// What an item or a spell does, stored alike by both: four definition parameters, the first
// of which is the position of the object script its "run a script" type runs, and two groups
// with a modifier each. The two kinds differ in how a script position outside the list links
// and in whether the modifiers are signed.
template <PositionRule ScriptRule, class Modifier>
class ZR3Effect : public ZR3ChainRecord {
 public:
  // Definition parameters 1 to 4 are parameter(0) to parameter(3).
  std::int16_t Parameter(std::size_t i) const {
    return i == 0 ? script_.Stored() : parameters_[i - 1];
  }
  std::int16_t GroupIndex(std::size_t i) const { return GroupAt(i).Stored(); }
  Modifier GroupModifier(std::size_t i) const { return modifiers_[i]; }
  ZR3Base* Group(std::size_t i) const { return GroupAt(i).Record(); }
  ZR3Base* Script() const { return script_.Record(); }

 protected:
  // What the four parameters mean for one type.
  using ParameterHelp = std::array<FieldHelp, 4>;
  static constexpr ParameterHelp kUnusedParameters = {{
      {"Parameter 1", "Not used by this type; kept as stored"},
      {"Parameter 2", "Not used by this type; kept as stored"},
      {"Parameter 3", "Not used by this type; kept as stored"},
      {"Parameter 4", "Not used by this type; kept as stored"},
  }};

  // The four parameters, with the meanings of the kind's table row for type (a type beyond
  // the table gives them none); the first names a script only while runsScript.
  template <class Self, class Visitor>
  static void ParameterFields(Self& self, Visitor& visit, bool runsScript,
                              std::span<const ParameterHelp> byType, std::size_t type) {
    const ParameterHelp& help = type < byType.size() ? byType[type] : kUnusedParameters;
    visit(field::UndescribedPosition("parameter_1", self.script_, "Run script", runsScript)
              .About(help[0].label, help[0].meaning));
    visit(field::Number("parameter_2", self.parameters_[0], "")
              .About(help[1].label, help[1].meaning));
    visit(field::Number("parameter_3", self.parameters_[1], "")
              .About(help[2].label, help[2].meaning));
    visit(field::Number("parameter_4", self.parameters_[2], "")
              .About(help[3].label, help[3].meaning));
  }
  template <class Self, class Visitor>
  static void GroupFields(Self& self, Visitor& visit) {
    visit(field::Position("group_1", self.group1_, "Group 1").Means(meaning::kGroup));
    visit(field::Position("group_2", self.group2_, "Group 2").Means(meaning::kGroup));
    visit(field::Number("group_1_modifier", self.modifiers_[0], "Group 1 mod")
              .Means("The modifier that goes with group 1"));
    visit(field::Number("group_2_modifier", self.modifiers_[1], "Group 2 mod")
              .Means("The modifier that goes with group 2"));
  }

 private:
  // A group index of 20 or more fails the link; a negative one names nothing.
  using GroupReference =
      PositionReference<PositionRule{Category::Groups, OutsideList::LinkError, true}>;

  const GroupReference& GroupAt(std::size_t i) const { return i == 0 ? group1_ : group2_; }

  PositionReference<ScriptRule> script_;
  std::array<std::int16_t, 3> parameters_{};
  GroupReference group1_;
  GroupReference group2_;
  std::array<Modifier, 2> modifiers_{};
};

}  // namespace zr3
