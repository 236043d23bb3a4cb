#include "records/zr3spell.h"

#include "records/zr3attributes.h"

namespace zr3 {

void ZR3Spell::DescribeLearn(Lines& lines) const {
  if (const ZR3ChainRecord* learn = learnSpell_.Record()) {
    lines.push_back("Learn: " + learn->Name());
  } else if (mastery_ >= 0) {
    lines.push_back("Learn: (not specified)");
  }
}

std::string ZR3Spell::ChangeText() const {
  return AttributeChangeText(kSpellAttributeNames, Parameter(0), Parameter(1)) + " for " +
         std::to_string(Parameter(2)) + " rounds";
}

std::string ZR3Spell::DefinitionText() const {
  const std::string damage =
      std::to_string(Parameter(0)) + "-" + std::to_string(Parameter(1)) + " damage";
  switch (type_) {
    case kOffense:
      return damage;
    case kObsolete:
      return "(Obsolete)";
    case kChangeSelf:
      return ChangeText();
    case kChangeOther:
      return "Enemy " + ChangeText();
    case kHeal:
      return "Heal " + damage;
    case kRunScript:
      return RunScriptText(Script(), Parameter(0));
    default:
      return {};
  }
}

}  // namespace zr3
