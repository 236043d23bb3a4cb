#include "records/zr3monster.h"

#include <string_view>
#include <utility>

#include "level/bytes.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {

constexpr std::array<std::string_view, ZR3Monster::kStatisticCount> kStatisticLabels = {
    "Level: ", "Max HP: ", "HP: ", "Max SP: ", "SP: ", "STR: ", "INT: ", "DEX: "};

constexpr std::array<std::string_view, 3> kTypes = {"Creature", "Fighter", "Magic User"};
constexpr std::array<std::string_view, 4> kBuilds = {"Big and strong", "Small and fast",
                                                     "Super smart", "Balanced"};
constexpr std::array<std::string_view, 3> kAttackStyles = {"Cautious", "Balanced", "Aggressive"};

// Appends "<label><name of value>" and answers true, or answers false when the value has no
// entry in the table.
template <std::size_t N>
bool DescribeChoice(Lines& lines, std::string_view label,
                    const std::array<std::string_view, N>& table, std::uint16_t value) {
  if (value >= N) return false;
  lines.push_back(std::string(label) + std::string(table[value]));
  return true;
}

// A group index names an entry of the group table only from 0 to 19.
ZR3Base* GroupAt(const ZR3Level& level, std::int16_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < kGroupCount
             ? level.AtPosition(Category::Groups, index)
             : nullptr;
}

// Unlike a shop, a monster drops every identifier that matched nothing.
constexpr auto kUnresolvedSlot = ReferenceSlots::Unresolved::WriteZero;

void DescribeGroup(Lines& lines, const std::string& label, const ZR3Base* group,
                   std::int16_t index) {
  lines.push_back(label + (group ? group->Name() : std::to_string(index)));
}

}  // namespace

ZR3Monster::ZR3Monster(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  gfxId_ = in.U32();
  for (std::uint16_t& statistic : statistics_) statistic = in.U16();
  experience_ = in.U32();
  gold_ = in.U16();
  type_ = in.U16();
  build_ = in.U16();
  attackStyle_ = in.U16();
  opaqueA_ = in.Array<2>();
  groupIndex1_ = in.I16();
  groupIndex2_ = in.I16();
  opaqueB_ = in.Array<2>();
  items_.Read(in);
  spells_.Read(in);
  preScripts_.Read(in);
  postScripts_.Read(in);
  tiles_.Read(in);
  opaqueC_ = in.Array<8>();
  ReadChain(in);
  imagePath_ = in.FixedText(kImagePathWidth);
}

void ZR3Monster::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back(HexDumpU32("GFX Id:", gfxId_));
  for (std::size_t i = 0; i < kStatisticCount; ++i) {
    lines.push_back(std::string(kStatisticLabels[i]) + std::to_string(statistics_[i]));
  }
  lines.push_back("Exp: " + std::to_string(experience_));
  lines.push_back("Gold: " + std::to_string(gold_));
  // Type, build and attack style form one block: the first value without a name ends it.
  if (DescribeChoice(lines, "Type: ", kTypes, type_) &&
      DescribeChoice(lines, "Build: ", kBuilds, build_)) {
    DescribeChoice(lines, "Attack Style: ", kAttackStyles, attackStyle_);
  }
  lines.push_back(HexDump("Unknown:", opaqueA_.data(), opaqueA_.size()));
  DescribeGroup(lines, "Group 1: ", group1_, groupIndex1_);
  DescribeGroup(lines, "Group 2: ", group2_, groupIndex2_);
  lines.push_back(HexDump("Unknown:", opaqueB_.data(), opaqueB_.size()));
  items_.Describe(lines, "Item ");
  spells_.Describe(lines, "Spell ");
  preScripts_.Describe(lines, "Pre ");
  postScripts_.Describe(lines, "Post ");
  tiles_.Describe(lines, "Tile ");
  lines.push_back(HexDump("Unknown:", opaqueC_.data(), opaqueC_.size()));
  DescribeChain(lines);
  lines.push_back("Image path: " + imagePath_);
}

void ZR3Monster::Write(ByteWriter& out) {
  out.FixedText(name_, kNameWidth);
  out.U32(gfxId_);
  for (std::uint16_t statistic : statistics_) out.U16(statistic);
  out.U32(experience_);
  out.U16(gold_);
  out.U16(type_);
  out.U16(build_);
  out.U16(attackStyle_);
  out.Array(opaqueA_);
  // The indexes as held: an index outside the group table is written back unchanged.
  out.I16(groupIndex1_);
  out.I16(groupIndex2_);
  out.Array(opaqueB_);
  items_.Write(out, kUnresolvedSlot);
  spells_.Write(out, kUnresolvedSlot);
  preScripts_.Write(out, kUnresolvedSlot);
  postScripts_.Write(out, kUnresolvedSlot);
  tiles_.Write(out, kUnresolvedSlot);
  out.Array(opaqueC_);
  WriteChain(out);
  out.FixedText(imagePath_, kImagePathWidth);
}

void ZR3Monster::Link(ZR3Level& level) {
  // Pre and post scripts are object scripts only; the other script kinds are never searched.
  for (std::size_t slot = 0; slot < ReferenceSlots::kCount; ++slot) {
    preScripts_.ResolveSlot(slot, level, Category::ObjectScripts);
    postScripts_.ResolveSlot(slot, level, Category::ObjectScripts);
    items_.ResolveSlot(slot, level, Category::Items);
    spells_.ResolveSlot(slot, level, Category::Spells);
    tiles_.ResolveSlot(slot, level, Category::Tiles);
  }
  // An index outside the group table is no error: the group stays unresolved.
  group1_ = GroupAt(level, groupIndex1_);
  group2_ = GroupAt(level, groupIndex2_);
  LinkNeighbours(level);
}

void ZR3Monster::CopyTo(ZR3Base& target) const {
  auto& monster = static_cast<ZR3Monster&>(target);
  monster.name_ = name_;
  monster.gfxId_ = gfxId_;
  monster.statistics_ = statistics_;
  monster.experience_ = experience_;
  monster.gold_ = gold_;
  monster.type_ = type_;
  monster.build_ = build_;
  monster.attackStyle_ = attackStyle_;
  monster.opaqueA_ = opaqueA_;
  monster.groupIndex1_ = groupIndex1_;
  monster.groupIndex2_ = groupIndex2_;
  monster.group1_ = group1_;
  monster.group2_ = group2_;
  monster.opaqueB_ = opaqueB_;
  monster.items_ = items_;
  monster.spells_ = spells_;
  monster.preScripts_ = preScripts_;
  monster.postScripts_ = postScripts_;
  monster.tiles_ = tiles_;
  monster.opaqueC_ = opaqueC_;
  CopyChainTo(monster);
  monster.imagePath_ = imagePath_;
}

void ZR3Monster::CollectProblems(RecordProblems& problems) const {
  // A negative index means no group; one beyond the table stays unresolved and is kept.
  const std::array<std::pair<std::int16_t, const ZR3Base*>, 2> groups = {
      {{groupIndex1_, group1_}, {groupIndex2_, group2_}}};
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const auto [index, group] = groups[i];
    if (index >= 0 && !group) {
      problems.push_back({"Group " + std::to_string(i + 1), std::to_string(index),
                          "outside the group table (0 to " + std::to_string(kGroupCount - 1) + ")",
                          AtSave::Kept});
    }
  }
  items_.CollectProblems(problems, "Item ", Category::Items, kUnresolvedSlot);
  spells_.CollectProblems(problems, "Spell ", Category::Spells, kUnresolvedSlot);
  preScripts_.CollectProblems(problems, "Pre ", Category::ObjectScripts, kUnresolvedSlot);
  postScripts_.CollectProblems(problems, "Post ", Category::ObjectScripts, kUnresolvedSlot);
  tiles_.CollectProblems(problems, "Tile ", Category::Tiles, kUnresolvedSlot);
}

bool ZR3Monster::RefersToScript(const ZR3Base& record) const {
  return preScripts_.RefersTo(record) || postScripts_.RefersTo(record);
}

bool ZR3Monster::RefersToTile(const ZR3Base& record) const {
  return tiles_.RefersTo(record);
}

bool ZR3Monster::RefersToItem(const ZR3Base& record) const {
  return items_.RefersTo(record);
}

bool ZR3Monster::RefersToSpell(const ZR3Base& record) const {
  return spells_.RefersTo(record);
}

bool ZR3Monster::RefersToGroup(const ZR3Base& record) const {
  return group1_ == &record || group2_ == &record;
}

}  // namespace zr3
