#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "level/zr3base.h"
#include "script/zr3scriptcommand.h"
#include "script/zr3scriptcondition.h"

namespace zr3 {

// One event script: a name, ten condition slots and ten command slots, of which the counts
// say how many are in use. All four script lists hold this kind; the kind (0 global,
// 1 death, 2 object, 3 startup) comes from the list, never from the record's bytes.
class ZR3Script : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kSize = 848;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kSlotCount = 10;
  static constexpr std::size_t kOpaqueBlockSize = 200;
  using OpaqueBlock = std::array<std::uint8_t, kOpaqueBlockSize>;

  explicit ZR3Script(std::uint8_t kind = 0) : kind_(kind) {}
  ZR3Script(ByteReader& in, std::uint8_t kind);

  Category ListCategory() const override { return ScriptCategoryOfKind(kind_); }
  void Describe(Lines& lines) const override;
  // The script as a block of script text: header, conditions, commands, "end script".
  void ExportText(Lines& lines) const;
  void WriteText(LineOut& out) const;
  // Throws ZR3Error naming the script when a referenced record's position does not fit its
  // 16-bit parameter.
  void Write(ByteWriter& out) override;
  // Neighbours, then the conditions and commands in use (at most ten of each).
  void Link(ZR3Level& level) override;
  // Everything but positions and neighbours; the copy refers to the same records.
  void CopyTo(ZR3Base& target) const override;
  void CollectProblems(RecordProblems& problems) const override;

  std::uint8_t Kind() const { return kind_; }
  void SetKind(std::uint8_t kind) { kind_ = kind; }

  // The counts as stored; they may exceed ten.
  std::uint8_t ConditionCount() const { return conditionCount_; }
  void SetConditionCount(std::uint8_t count) { conditionCount_ = count; }
  std::uint8_t CommandCount() const { return commandCount_; }
  void SetCommandCount(std::uint8_t count) { commandCount_ = count; }
  // The slots in use: the count, capped at ten.
  std::size_t ConditionsInUse() const;
  std::size_t CommandsInUse() const;

  ZR3ScriptCondition& Condition(std::size_t slot) { return conditions_.at(slot); }
  const ZR3ScriptCondition& Condition(std::size_t slot) const { return conditions_.at(slot); }
  ZR3ScriptCommand& Command(std::size_t slot) { return commands_.at(slot); }
  const ZR3ScriptCommand& Command(std::size_t slot) const { return commands_.at(slot); }

  const OpaqueBlock& BlockA() const;
  const OpaqueBlock& BlockB() const;
  const std::array<std::uint8_t, 2>& Opaque() const { return opaque_; }
  // The bytes kept as read, for a script built field by field (an import).
  void SetBlocks(const OpaqueBlock& blockA, const OpaqueBlock& blockB);
  void SetOpaque(const std::array<std::uint8_t, 2>& opaque) { opaque_ = opaque; }

  // True when any condition or command slot, in use or not, refers to the record itself.
  // Slots are asked in the order condition 0, command 0, condition 1, ...
  bool RefersTo(const ZR3Base& record) const override;
  // The same for a record of the given list: conditions are passed over for the lists no
  // condition names, which a search of every script of a level feels.
  bool RefersTo(const ZR3Base& record, Category list) const override;

 private:
  void PrefetchReferences() const;

  std::array<ZR3ScriptCondition, kSlotCount> conditions_;
  std::array<ZR3ScriptCommand, kSlotCount> commands_;
  // Blocks A and B, held only when either has a byte other than zero: a level holds up to
  // 262140 scripts, and the blocks are usually empty.
  std::unique_ptr<std::array<OpaqueBlock, 2>> blocks_;
  std::uint8_t conditionCount_ = 0;
  std::uint8_t commandCount_ = 0;
  std::array<std::uint8_t, 2> opaque_{};
  std::uint8_t kind_ = 0;
};

// Writes the script text of one script, its lines ended by CR LF.
void WriteScriptText(const ZR3Script& script, ByteWriter& out);
// Writes the script text of every script of one script list, in list order.
void ExportScriptList(const ZR3Level& level, Category scripts, ByteWriter& out);
// Writes the script text of every script: global, death, object, then startup scripts.
void ExportAllScripts(const ZR3Level& level, ByteWriter& out);

}  // namespace zr3
