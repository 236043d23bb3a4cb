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

ZR3Script::ZR3Script(const ZR3Script& other) : FieldRecord(other) {
  *this = other;
}

ZR3Script& ZR3Script::operator=(const ZR3Script& other) {
  if (this == &other) return *this;
  FieldRecord::operator=(other);
  conditions_ = other.conditions_;
  commands_ = other.commands_;
  blocks_ = other.blocks_ ? std::make_unique<std::array<OpaqueBlock, 2>>(*other.blocks_) : nullptr;
  conditionCount_ = other.conditionCount_;
  commandCount_ = other.commandCount_;
  opaque_ = other.opaque_;
  kind_ = other.kind_;
  return *this;
}

const ZR3Script::OpaqueBlock& ZR3Script::Block(std::size_t index) const {
  return blocks_ ? (*blocks_)[index] : kZeroBlock;
}

void ZR3Script::ReadBlock(ByteReader& in, std::size_t index) {
  const unsigned char* bytes = in.Take(kOpaqueBlockSize);
  if (std::memcmp(bytes, kZeroBlock.data(), kOpaqueBlockSize) == 0) return;
  if (!blocks_) blocks_ = std::make_unique<std::array<OpaqueBlock, 2>>();
  std::copy(bytes, bytes + kOpaqueBlockSize, (*blocks_)[index].begin());
}

bool ZR3Script::HasBlocks() const {
  return blocks_ && ((*blocks_)[0] != kZeroBlock || (*blocks_)[1] != kZeroBlock);
}

void ZR3Script::SetBlock(std::size_t index, const OpaqueBlock& bytes) {
  if (!blocks_ && bytes == kZeroBlock) return;
  if (!blocks_) blocks_ = std::make_unique<std::array<OpaqueBlock, 2>>();
  (*blocks_)[index] = bytes;
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
  FieldRecord::Describe(lines);
}

void ZR3Script::SetField(ZR3Level& level, std::string_view path, std::string_view value) {
  const std::size_t conditions = ConditionsInUse();
  const std::size_t commands = CommandsInUse();
  FieldRecord::SetField(level, path, value);
  if (ConditionsInUse() != conditions || CommandsInUse() != commands) LinkFields(level);
}

void ZR3Script::CheckCounts(RecordProblems& problems) const {
  if (conditionCount_ > kSlotCount) {
    problems.push_back(CountAboveSlots("Conditions", conditionCount_, kSlotCount));
  }
  if (commandCount_ > kSlotCount) {
    problems.push_back(CountAboveSlots("Commands", commandCount_, kSlotCount));
  }
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
