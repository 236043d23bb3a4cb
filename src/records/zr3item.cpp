#include "records/zr3item.h"

#include "level/bytes.h"
#include "level/zr3level.h"
#include "records/zr3attributes.h"

namespace zr3 {

namespace {

constexpr std::string_view kTypeNames[] = {"Weapon", "Armor", "Attribute Change", "Usable", "Heal"};
constexpr std::string_view kHealKinds[] = {"HP", "SP"};

}  // namespace

ZR3Item::ZR3Item(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  type_ = in.U16();
  cost_ = in.I16();
  for (std::int16_t& parameter : parameters_) parameter = in.I16();
  groups_.Read(in);
  for (std::uint16_t& modifier : modifiers_) modifier = in.U16();
  ReadChain(in);
}

void ZR3Item::Link(ZR3Level& level) {
  groups_.Link(level);
  // Unlike a spell's, a usable item's script position must lie inside the list.
  script_ = type_ == kUsable ? level.AtPosition(Category::ObjectScripts, parameters_[0]) : nullptr;
  LinkNeighbours(level);
}

void ZR3Item::Write(ByteWriter& out) {
  if (type_ == kUsable && script_) parameters_[0] = ScriptPositionField(*script_, "item", *this);
  out.FixedText(name_, kNameWidth);
  out.U16(type_);
  out.I16(cost_);
  for (std::int16_t parameter : parameters_) out.I16(parameter);
  groups_.Write(out);
  for (std::uint16_t modifier : modifiers_) out.U16(modifier);
  WriteChain(out);
}

std::string ZR3Item::DefinitionText() const {
  const auto number = [this](std::size_t i) { return std::to_string(parameters_[i]); };
  switch (type_) {
    case kWeapon:
      return "Damage " + number(0) + "-" + number(1);
    case kArmor:
      return "AL " + number(0);
    case kAttributeChange:
      return AttributeChangeText(kItemAttributeNames, parameters_[0], parameters_[1]);
    case kUsable:
      return RunScriptText(script_, parameters_[0]) + ", uses " + number(1);
    case kHeal:
      return "Heal " + number(1) + "-" + number(2) + EntryOrNumber(kHealKinds, parameters_[0]) +
             ", uses " + number(3);
    default:
      return {};
  }
}

void ZR3Item::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back("Type: " + EntryOrNumber(kTypeNames, type_));
  lines.push_back("Cost: " + std::to_string(cost_));
  lines.push_back("Definition: " + DefinitionText());
  groups_.Describe(lines);
  // Item modifiers are unsigned, unlike a spell's.
  lines.push_back("Group 1 mod: " + std::to_string(modifiers_[0]));
  lines.push_back("Group 2 mod: " + std::to_string(modifiers_[1]));
  DescribeChain(lines);
}

void ZR3Item::CopyTo(ZR3Base& target) const {
  auto& copy = static_cast<ZR3Item&>(target);
  copy.name_ = name_;
  copy.type_ = type_;
  copy.cost_ = cost_;
  copy.parameters_ = parameters_;
  copy.groups_ = groups_;
  copy.modifiers_ = modifiers_;
  copy.script_ = script_;
  CopyChainTo(copy);
}

bool ZR3Item::RefersToGroup(const ZR3Base& record) const {
  return groups_.Contains(record);
}

bool ZR3Item::RefersToScript(const ZR3Base& record) const {
  return script_ == &record;
}

}  // namespace zr3
