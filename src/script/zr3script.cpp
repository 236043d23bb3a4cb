#include "script/zr3script.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/zr3error.h"

namespace zr3 {

ZR3Script::ZR3Script(ByteReader& in, std::uint8_t kind) : kind_(kind) {
  name_ = in.FixedText(kNameWidth);
  for (ZR3ScriptCondition& condition : conditions_) condition = ZR3ScriptCondition(in);
  blockA_ = in.Array<kOpaqueBlockSize>();
  for (ZR3ScriptCommand& command : commands_) command = ZR3ScriptCommand(in);
  blockB_ = in.Array<kOpaqueBlockSize>();
  conditionCount_ = in.U8();
  commandCount_ = in.U8();
  opaque_ = in.Array<2>();
  ReadChain(in);
}

std::size_t ZR3Script::ConditionsInUse() const {
  return std::min<std::size_t>(conditionCount_, kSlotCount);
}

std::size_t ZR3Script::CommandsInUse() const {
  return std::min<std::size_t>(commandCount_, kSlotCount);
}

void ZR3Script::Describe(Lines& lines) const {
  lines.push_back("Name: " + name_);
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) {
    lines.push_back("Condition " + std::to_string(i) + ":" + conditions_[i].ReadableText());
  }
  for (std::size_t i = 0; i < CommandsInUse(); ++i) {
    lines.push_back("Command " + std::to_string(i) + ":" + commands_[i].ReadableText());
  }
  lines.push_back("Conditions: " + std::to_string(conditionCount_));
  lines.push_back("Commands: " + std::to_string(commandCount_));
  lines.push_back(HexDump("Unknown:", opaque_.data(), opaque_.size()));
  DescribeChain(lines);
}

void ZR3Script::ExportText(Lines& lines) const {
  lines.push_back(KeywordWord(ScriptHeaders(), kind_) + " " + QuoteName(name_));
  lines.push_back("conditions:");
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) {
    lines.push_back("  " + conditions_[i].KeywordText());
  }
  lines.push_back("commands:");
  for (std::size_t i = 0; i < CommandsInUse(); ++i) {
    lines.push_back("  " + commands_[i].KeywordText());
  }
  lines.push_back("end script");
}

void ZR3Script::Write(ByteWriter& out) {
  try {
    out.FixedText(name_, kNameWidth);
    for (const ZR3ScriptCondition& condition : conditions_) condition.Write(out);
    out.Array(blockA_);
    for (const ZR3ScriptCommand& command : commands_) command.Write(out);
    out.Array(blockB_);
  } catch (const ZR3Error& error) {
    throw ZR3Error("Cannot save the script \"" + name_ + "\" (" +
                   std::string(InfoOf(ListCategory()).sectionName) + "): " + error.what());
  }
  out.U8(conditionCount_);
  out.U8(commandCount_);
  out.Array(opaque_);
  WriteChain(out);
}

void ZR3Script::Link(ZR3Level& level) {
  LinkNeighbours(level);
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) conditions_[i].Link(level);
  for (std::size_t i = 0; i < CommandsInUse(); ++i) commands_[i].Link(level);
}

void ZR3Script::CopyTo(ZR3Base& target) const {
  auto& script = static_cast<ZR3Script&>(target);
  script.name_ = name_;
  script.conditions_ = conditions_;
  script.commands_ = commands_;
  script.blockA_ = blockA_;
  script.blockB_ = blockB_;
  script.conditionCount_ = conditionCount_;
  script.commandCount_ = commandCount_;
  script.opaque_ = opaque_;
  script.kind_ = kind_;
  CopyChainTo(script);
}

bool ZR3Script::AskSlots(const ZR3Base& record, ConditionQuery conditionQuery,
                         CommandQuery commandQuery) const {
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (conditionQuery && (conditions_[i].*conditionQuery)(record)) return true;
    if ((commands_[i].*commandQuery)(record)) return true;
  }
  return false;
}

bool ZR3Script::RefersToFlag(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToFlag, &ZR3ScriptCommand::RefersToFlag);
}
bool ZR3Script::RefersToMap(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToMap, &ZR3ScriptCommand::RefersToMap);
}
bool ZR3Script::RefersToItem(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToItem, &ZR3ScriptCommand::RefersToItem);
}
bool ZR3Script::RefersToCharacterSet(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToCharacterSet,
                  &ZR3ScriptCommand::RefersToCharacterSet);
}
bool ZR3Script::RefersToGraphic(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToGraphic);
}
bool ZR3Script::RefersToText(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToText);
}
bool ZR3Script::RefersToSong(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToSong);
}
bool ZR3Script::RefersToSpell(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToSpell, &ZR3ScriptCommand::RefersToSpell);
}
bool ZR3Script::RefersToObject(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToObject);
}
bool ZR3Script::RefersToTile(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToTile);
}
bool ZR3Script::RefersToScript(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToScript);
}
bool ZR3Script::RefersToPalette(const ZR3Base& record) const {
  return AskSlots(record, &ZR3ScriptCondition::RefersToPalette, &ZR3ScriptCommand::RefersToPalette);
}
bool ZR3Script::RefersToShop(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToShop);
}
bool ZR3Script::RefersToMonster(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToMonster);
}
bool ZR3Script::RefersToList(const ZR3Base& record) const {
  return AskSlots(record, nullptr, &ZR3ScriptCommand::RefersToList);
}

}  // namespace zr3
