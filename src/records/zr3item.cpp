#include "records/zr3item.h"

#include "records/zr3attributes.h"

namespace zr3 {

namespace {

constexpr std::string_view kHealKinds[] = {"HP", "SP"};

}  // namespace

std::string ZR3Item::DefinitionText() const {
  const auto number = [this](std::size_t i) { return std::to_string(Parameter(i)); };
  switch (type_) {
    case kWeapon:
      return "Damage " + number(0) + "-" + number(1);
    case kArmor:
      return "AL " + number(0);
    case kAttributeChange:
      return AttributeChangeText(kItemAttributeNames, Parameter(0), Parameter(1));
    case kUsable:
      return RunScriptText(Script(), Parameter(0)) + ", uses " + number(1);
    case kHeal:
      return "Heal " + number(1) + "-" + number(2) + EntryOrNumber(kHealKinds, Parameter(0)) +
             ", uses " + number(3);
    default:
      return {};
  }
}

}  // namespace zr3
