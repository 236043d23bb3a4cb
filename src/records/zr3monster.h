#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/field_record.h"

namespace zr3 {

// An opponent: its statistics, two group memberships and five lists of ten references each
// (items, spells, pre and post object scripts, tiles), ending with an image path.
class ZR3Monster : public FieldRecord<ZR3Monster> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kImagePathWidth = 80;
  static constexpr std::size_t kSlots = 10;
  // Level, maximum HP, HP, maximum SP, SP, STR, INT and DEX, in file order.
  static constexpr std::size_t kStatisticCount = 8;

  static constexpr std::string_view kTypes[] = {"Creature", "Fighter", "Magic User"};
  static constexpr std::string_view kBuilds[] = {"Big and strong", "Small and fast", "Super smart",
                                                 "Balanced"};
  static constexpr std::string_view kAttackStyles[] = {"Cautious", "Balanced", "Aggressive"};

  ZR3Monster() = default;
  explicit ZR3Monster(ByteReader& in) { ReadFields(in); }

  Category ListCategory() const override { return Category::Monsters; }

  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    static constexpr std::string_view kStatisticNames[kStatisticCount] = {
        "level", "max_hp", "hp", "max_sp", "sp", "str", "int", "dex"};
    static constexpr std::string_view kStatisticLabels[kStatisticCount] = {
        "Level", "Max HP", "HP", "Max SP", "SP", "STR", "INT", "DEX"};
    static constexpr std::string_view kStatisticMeanings[kStatisticCount] = {
        "The monster's level", "Its most hit points", "Its hit points",   "Its most spell points",
        "Its spell points",    "Its strength",        "Its intelligence", "Its dexterity"};
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::HexNumber("gfx_id", self.gfxId_, "GFX Id")
              .Means("The graphic identifier of the monster's picture"));
    for (std::size_t i = 0; i < kStatisticCount; ++i) {
      visit(field::Number(kStatisticNames[i], self.statistics_[i], kStatisticLabels[i])
                .Means(kStatisticMeanings[i]));
    }
    visit(field::Number("experience", self.experience_, "Exp")
              .Means("The experience points the monster is worth"));
    visit(field::Number("gold", self.gold_, "Gold").Means("The gold the monster carries"));
    visit(
        field::Choice("type", self.type_, kTypes, "").About("Type", "What kind of opponent it is"));
    visit(field::Choice("build", self.build_, kBuilds, "")
              .About("Build", "How the monster is built"));
    visit(field::Choice("attack_style", self.attackStyle_, kAttackStyles, "")
              .About("Attack Style", "How the monster fights"));
    visit(field::Line([&self](Lines& lines) { self.DescribeStyle(lines); }));
    visit(field::Opaque("opaque_a", self.opaqueA_).Means(meaning::kOpaque));
    visit(field::Position("group_1", self.group1_, "Group 1").Means(meaning::kGroup));
    visit(field::Position("group_2", self.group2_, "Group 2").Means(meaning::kGroup));
    visit(field::Opaque("opaque_b", self.opaqueB_).Means(meaning::kOpaque));
    visit(field::ReferenceRun("items", self.items_, "Item ")
              .About("Items", "The items that belong to the monster, up to ten"));
    visit(field::ReferenceRun("spells", self.spells_, "Spell ")
              .About("Spells", "The spells that belong to the monster, up to ten"));
    visit(field::ReferenceRun("pre_scripts", self.preScripts_, "Pre ")
              .About("Pre scripts", "The object scripts of the monster's pre list, up to ten"));
    visit(field::ReferenceRun("post_scripts", self.postScripts_, "Post ")
              .About("Post scripts", "The object scripts of the monster's post list, up to ten"));
    visit(field::ReferenceRun("tiles", self.tiles_, "Tile ")
              .About("Tiles", "The tiles that belong to the monster, up to ten"));
    visit(field::Opaque("opaque_c", self.opaqueC_).Means(meaning::kOpaque));
    visit(field::Chain(self));
    visit(field::Text("image_path", self.imagePath_, kImagePathWidth, "Image path")
              .Means(meaning::kImagePath));
  }

  ZR3Base* Group1() const { return group1_.Record(); }
  ZR3Base* Group2() const { return group2_.Record(); }
  const std::string& ImagePath() const { return imagePath_; }

 private:
  // Unlike a shop, a monster drops every identifier that matched nothing. Pre and post
  // scripts are object scripts only; the other script kinds are never searched.
  template <Category List>
  using SlotReference = IdReference<IdRule{List, Match::First, true, AtSave::WrittenAsZero}>;
  template <Category List>
  using Slots = std::array<SlotReference<List>, kSlots>;
  // A group index outside the group table is no error: the group stays unresolved and the
  // index is written back as held.
  using GroupReference =
      PositionReference<PositionRule{Category::Groups, OutsideList::Unresolved, true}>;

  // Type, build and attack style form one block: the first value without a name ends it.
  void DescribeStyle(Lines& lines) const;

  std::uint32_t gfxId_ = 0;
  std::array<std::uint16_t, kStatisticCount> statistics_{};
  std::uint32_t experience_ = 0;
  std::uint16_t gold_ = 0;
  std::uint16_t type_ = 0;
  std::uint16_t build_ = 0;
  std::uint16_t attackStyle_ = 0;
  std::array<std::uint8_t, 2> opaqueA_{};
  GroupReference group1_;
  GroupReference group2_;
  std::array<std::uint8_t, 2> opaqueB_{};
  Slots<Category::Items> items_{};
  Slots<Category::Spells> spells_{};
  Slots<Category::ObjectScripts> preScripts_{};
  Slots<Category::ObjectScripts> postScripts_{};
  Slots<Category::Tiles> tiles_{};
  std::array<std::uint8_t, 8> opaqueC_{};
  std::string imagePath_;
};

}  // namespace zr3
