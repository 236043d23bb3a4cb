#include "script/zr3script.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "level/bytes.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {
const ZR3Script::OpaqueBlock kZeroBlock{};
}  // namespace

ZR3Script::ZR3Script(ByteReader& in, std::uint8_t kind) : kind_(kind) {
  name_ = in.FixedText(kNameWidth);
  for (ZR3ScriptCondition& condition : conditions_) condition.Read(in);
  OpaqueBlock blockA;
  in.Bytes(blockA.data(), blockA.size());
  for (ZR3ScriptCommand& command : commands_) command.Read(in);
  const unsigned char* blockB = in.Take(kOpaqueBlockSize);
  const auto isZero = [](const unsigned char* block) {
    return std::memcmp(block, kZeroBlock.data(), kOpaqueBlockSize) == 0;
  };
  if (!isZero(blockA.data()) || !isZero(blockB)) {
    blocks_ = std::make_unique<std::array<OpaqueBlock, 2>>();
    (*blocks_)[0] = blockA;
    std::copy(blockB, blockB + kOpaqueBlockSize, (*blocks_)[1].begin());
  }
  conditionCount_ = in.U8();
  commandCount_ = in.U8();
  opaque_ = in.Array<2>();
  ReadChain(in);
}

const ZR3Script::OpaqueBlock& ZR3Script::BlockA() const {
  return blocks_ ? (*blocks_)[0] : kZeroBlock;
}

const ZR3Script::OpaqueBlock& ZR3Script::BlockB() const {
  return blocks_ ? (*blocks_)[1] : kZeroBlock;
}

void ZR3Script::SetBlocks(const OpaqueBlock& blockA, const OpaqueBlock& blockB) {
  if (blockA == kZeroBlock && blockB == kZeroBlock) {
    blocks_.reset();
    return;
  }
  blocks_ = std::make_unique<std::array<OpaqueBlock, 2>>();
  (*blocks_)[0] = blockA;
  (*blocks_)[1] = blockB;
}

std::size_t ZR3Script::ConditionsInUse() const {
  return std::min<std::size_t>(conditionCount_, kSlotCount);
}

std::size_t ZR3Script::CommandsInUse() const {
  return std::min<std::size_t>(commandCount_, kSlotCount);
}

void ZR3Script::PrefetchReferences() const {
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) conditions_[i].PrefetchReferences();
  for (std::size_t i = 0; i < CommandsInUse(); ++i) commands_[i].PrefetchReferences();
}

void ZR3Script::Describe(Lines& lines) const {
  PrefetchReferences();
  lines.push_back("Name: " + name_);
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) {
    conditions_[i].AppendReadableText(lines.emplace_back("Condition " + std::to_string(i) + ":"));
  }
  for (std::size_t i = 0; i < CommandsInUse(); ++i) {
    commands_[i].AppendReadableText(lines.emplace_back("Command " + std::to_string(i) + ":"));
  }
  lines.push_back("Conditions: " + std::to_string(conditionCount_));
  lines.push_back("Commands: " + std::to_string(commandCount_));
  lines.push_back(HexDump("Unknown:", opaque_.data(), opaque_.size()));
  DescribeChain(lines);
}

void ZR3Script::ExportText(Lines& lines) const {
  LinesOut out(lines);
  WriteText(out);
}

void ZR3Script::WriteText(LineOut& out) const {
  PrefetchReferences();
  std::string& header = out.Begin();
  AppendWord(header, ScriptHeaders(), kind_, true);
  header += ' ';
  AppendQuotedName(header, name_);
  out.End();
  out.Line(kConditionsLine);
  for (std::size_t i = 0; i < ConditionsInUse(); ++i) {
    conditions_[i].AppendKeywordText(out.Begin() += "  ");
    out.End();
  }
  out.Line(kCommandsLine);
  for (std::size_t i = 0; i < CommandsInUse(); ++i) {
    commands_[i].AppendKeywordText(out.Begin() += "  ");
    out.End();
  }
  std::string& end = out.Begin();
  end += kEndWord;
  end += ' ';
  end += kScriptWord;
  out.End();
}

void ZR3Script::Write(ByteWriter& out) {
  try {
    out.FixedText(name_, kNameWidth);
    for (const ZR3ScriptCondition& condition : conditions_) condition.Write(out);
    out.Array(BlockA());
    for (const ZR3ScriptCommand& command : commands_) command.Write(out);
    out.Array(BlockB());
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

namespace {

// Codes without a kind, then the first unresolved reference of every entry in use.
template <class Entry>
void CollectEntryProblems(RecordProblems& problems, const Entry* entries, std::size_t inUse,
                          const std::string& label, const VocabularyWord* (*kindOf)(int),
                          std::string_view kind) {
  for (std::size_t i = 0; i < inUse; ++i) {
    const std::string slot = label + std::to_string(i);
    if (!kindOf(entries[i].Code())) {
      problems.push_back({slot + " code", std::to_string(entries[i].Code()),
                          "no " + std::string(kind) + " has this code", AtSave::Kept});
    }
    entries[i].CollectProblems(problems, slot);
  }
}

}  // namespace

void ZR3Script::CollectProblems(RecordProblems& problems) const {
  CollectEntryProblems(problems, conditions_.data(), ConditionsInUse(), "Condition ", ConditionKind,
                       "condition");
  CollectEntryProblems(problems, commands_.data(), CommandsInUse(), "Command ", CommandKind,
                       "command");
  if (conditionCount_ > kSlotCount) {
    problems.push_back(CountAboveSlots("Conditions", conditionCount_, kSlotCount));
  }
  if (commandCount_ > kSlotCount) {
    problems.push_back(CountAboveSlots("Commands", commandCount_, kSlotCount));
  }
}

void ZR3Script::CopyTo(ZR3Base& target) const {
  auto& script = static_cast<ZR3Script&>(target);
  script.ZR3ChainRecord::operator=(*this);
  script.conditions_ = conditions_;
  script.commands_ = commands_;
  script.blocks_ = blocks_ ? std::make_unique<std::array<OpaqueBlock, 2>>(*blocks_) : nullptr;
  script.conditionCount_ = conditionCount_;
  script.commandCount_ = commandCount_;
  script.opaque_ = opaque_;
  script.kind_ = kind_;
}

bool ZR3Script::RefersTo(const ZR3Base& record) const {
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (conditions_[i].RefersTo(record) || commands_[i].RefersTo(record)) return true;
  }
  return false;
}

bool ZR3Script::RefersTo(const ZR3Base& record, Category list) const {
  // The search asks every script of a level: conditions are passed over for the lists no
  // condition names.
  const bool conditions = ConditionsName(list);
  const auto refersIn = [&](const ZR3ScriptEntry& entry) {
    return entry.RefersTo(record) && entry.ListReferred(record) == list;
  };
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if ((conditions && refersIn(conditions_[i])) || refersIn(commands_[i])) return true;
  }
  return false;
}

void WriteScriptText(const ZR3Script& script, ByteWriter& out) {
  WriterLineOut lines(out);
  script.WriteText(lines);
  out.FlushIfFull();
}

void ExportScriptList(const ZR3Level& level, Category scripts, ByteWriter& out) {
  for (const std::unique_ptr<ZR3Base>& script : level.List(scripts)) {
    WriteScriptText(static_cast<const ZR3Script&>(*script), out);
  }
}

void ExportAllScripts(const ZR3Level& level, ByteWriter& out) {
  for (Category scripts : kScriptListsByKind) ExportScriptList(level, scripts, out);
}

}  // namespace zr3
