#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/zr3effect.h"

namespace zr3 {

// A thing the player can own, buy and use. Shops and monsters name it by its identifier,
// scripts by its list position.
// A usable item's script position beyond the list fails the link, and its modifiers are
// unsigned.
using ItemEffect =
    ZR3Effect<PositionRule{Category::ObjectScripts, OutsideList::LinkError, true, true},
              std::uint16_t>;

class ZR3Item : public FieldRecord<ZR3Item, ItemEffect> {
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

  // What the parameters mean, type by type.
  static constexpr ParameterHelp kParameterHelp[] = {
      {{{"Lowest damage", "The least damage a hit does"},
        {"Highest damage", "The most damage a hit does"},
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      {{{"Armour level", "How well the armour protects (AL)"},
        kUnusedParameters[1],
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      {{{"Attribute", "The attribute it changes, by number (0 to 15)"},
        {"Change", "How much it changes the attribute; below 0 lowers it"},
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      {{{"Script", "The object script it runs, by its position in the list"},
        {"Uses", "How many times it can be used"},
        kUnusedParameters[2],
        kUnusedParameters[3]}},
      {{{"Heal kind", "What it heals: 0 HP, 1 SP"},
        {"Lowest amount", "The least it heals"},
        {"Highest amount", "The most it heals"},
        {"Uses", "How many times it can be used"}}},
  };

  ZR3Item() = default;
  explicit ZR3Item(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Items; }

  // A usable item's first parameter is the position of its object script, which the save
  // first takes from the script's current position.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Choice("type", self.type_, kTypeNames, "Type")
              .Means("What kind of item it is; it decides what the parameters mean"));
    visit(field::Number("cost", self.cost_, "Cost").Means("What the item costs to buy"));
    ParameterFields(self, visit, self.type_ == kUsable, kParameterHelp, self.type_);
    visit(field::Line(
        [&self](Lines& lines) { lines.push_back("Definition: " + self.DefinitionText()); }));
    GroupFields(self, visit);
    visit(field::Chain(self));
  }

  std::uint16_t Type() const { return type_; }
  std::int16_t Cost() const { return cost_; }

 private:
  std::string DefinitionText() const;

  std::uint16_t type_ = 0;
  std::int16_t cost_ = 0;
};

}  // namespace zr3
