#include "records/zr3spell.h"

#include "level/bytes.h"
#include "level/zr3level.h"
#include "records/zr3attributes.h"

namespace zr3 {

namespace {

constexpr std::string_view kTypeNames[] = {"Offense",      "(Obsolete)", "Change Self",
                                           "Change Other", "Heal",       "Run Script"};

}  // namespace

ZR3Spell::ZR3Spell(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  minSp_ = in.I16();
  spCost_ = in.I16();
  mastery_ = in.I16();
  opaqueA_ = in.Array<2>();
  learnId_ = in.U32();
  type_ = in.U16();
  for (std::int16_t& parameter : parameters_) parameter = in.I16();
  groups_.Read(in);
  for (std::int16_t& modifier : modifiers_) modifier = in.I16();
  opaqueB_ = in.Array<2>();
  ReadChain(in);
}

void ZR3Spell::Link(ZR3Level& level) {
  learnSpell_ = learnId_ != 0 ? level.FindFirstById(Category::Spells, learnId_) : nullptr;
  groups_.Link(level);
  // Unlike an item's, a position outside the list simply leaves the script unresolved.
  const RecordList& scripts = level.List(Category::ObjectScripts);
  const int position = parameters_[0];
  script_ = type_ == kRunScript && position >= 0 && position < static_cast<int>(scripts.size())
                ? scripts[static_cast<std::size_t>(position)].get()
                : nullptr;
  LinkNeighbours(level);
}

void ZR3Spell::Write(ByteWriter& out) {
  if (type_ == kRunScript && script_) {
    parameters_[0] = ScriptPositionField(*script_, "spell", *this);
  }
  if (learnSpell_) learnId_ = learnSpell_->SaveId();
  out.FixedText(name_, kNameWidth);
  out.I16(minSp_);
  out.I16(spCost_);
  out.I16(mastery_);
  out.Array(opaqueA_);
  out.U32(learnId_);
  out.U16(type_);
  for (std::int16_t parameter : parameters_) out.I16(parameter);
  groups_.Write(out);
  for (std::int16_t modifier : modifiers_) out.I16(modifier);
  out.Array(opaqueB_);
  WriteChain(out);
}

void ZR3Spell::CollectProblems(RecordProblems& problems) const {
  // The writer keeps both: the learn identifier as stored, the script position as stored.
  if (learnId_ != 0 && !learnSpell_) {
    problems.push_back(UnresolvedIdentifier("Learn", learnId_, Category::Spells, AtSave::Kept));
  }
  if (type_ == kRunScript && !script_) {
    problems.push_back(UnresolvedPosition("Run script", parameters_[0], Category::ObjectScripts));
  }
}

void ZR3Spell::CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const {
  if (!learnSpell_ && learnId_ != 0) kept.push_back(learnId_);
}

std::string ZR3Spell::ChangeText() const {
  return AttributeChangeText(kSpellAttributeNames, parameters_[0], parameters_[1]) + " for " +
         std::to_string(parameters_[2]) + " rounds";
}

std::string ZR3Spell::DefinitionText() const {
  const std::string damage =
      std::to_string(parameters_[0]) + "-" + std::to_string(parameters_[1]) + " damage";
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
      return RunScriptText(script_, parameters_[0]);
    default:
      return {};
  }
}

void ZR3Spell::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  lines.push_back("Min SP: " + std::to_string(minSp_));
  lines.push_back("SP Cost: " + std::to_string(spCost_));
  lines.push_back("Mastery: " + std::to_string(mastery_));
  lines.push_back(HexDump("Unknown:", opaqueA_.data(), opaqueA_.size()));
  if (learnSpell_) {
    lines.push_back("Learn: " + learnSpell_->Name());
  } else if (mastery_ >= 0) {
    lines.push_back("Learn: (not specified)");
  }
  lines.push_back("Spell Type: " + EntryOrNumber(kTypeNames, type_));
  lines.push_back("Definition: " + DefinitionText());
  groups_.Describe(lines);
  // Spell modifiers are signed, unlike an item's.
  lines.push_back("Group 1 mod: " + std::to_string(modifiers_[0]));
  lines.push_back("Group 2 mod: " + std::to_string(modifiers_[1]));
  lines.push_back(HexDump("Unknown:", opaqueB_.data(), opaqueB_.size()));
  DescribeChain(lines);
}

void ZR3Spell::CopyTo(ZR3Base& target) const {
  auto& copy = static_cast<ZR3Spell&>(target);
  copy.name_ = name_;
  copy.minSp_ = minSp_;
  copy.spCost_ = spCost_;
  copy.mastery_ = mastery_;
  copy.opaqueA_ = opaqueA_;
  copy.learnId_ = learnId_;
  copy.type_ = type_;
  copy.parameters_ = parameters_;
  copy.groups_ = groups_;
  copy.modifiers_ = modifiers_;
  copy.opaqueB_ = opaqueB_;
  copy.script_ = script_;
  copy.learnSpell_ = learnSpell_;
  CopyChainTo(copy);
}

bool ZR3Spell::RefersToGroup(const ZR3Base& record) const {
  return groups_.Contains(record);
}

bool ZR3Spell::RefersToScript(const ZR3Base& record) const {
  return script_ == &record;
}

bool ZR3Spell::RefersToSpell(const ZR3Base& record) const {
  return learnSpell_ == &record;
}

}  // namespace zr3
