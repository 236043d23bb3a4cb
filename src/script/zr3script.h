#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/field_record.h"
#include "level/zr3error.h"
#include "script/vocabulary.h"
#include "script/zr3scriptcommand.h"
#include "script/zr3scriptcondition.h"

namespace zr3 {

// One event script: a name, ten condition slots and ten command slots, of which the counts
// say how many are in use. All four script lists hold this kind; the kind (0 global,
// 1 death, 2 object, 3 startup) comes from the list, never from the record's bytes.
class ZR3Script : public FieldRecord<ZR3Script> {
 public:
  static constexpr std::size_t kSize = 848;
  static constexpr std::size_t kNameWidth = 32;
  static constexpr std::size_t kSlotCount = 10;
  static constexpr std::size_t kOpaqueBlockSize = 200;
  using OpaqueBlock = std::array<std::uint8_t, kOpaqueBlockSize>;

  explicit ZR3Script(std::uint8_t kind = 0) : kind_(kind) {}
  ZR3Script(ByteReader& in, std::uint8_t kind) : kind_(kind) { ReadFields(in); }
  ZR3Script(const ZR3Script& other);
  ZR3Script& operator=(const ZR3Script& other);

  Category ListCategory() const override { return ScriptCategoryOfKind(kind_); }

  // Blocks A and B are bytes the tool keeps as read; the kind is not in the record's bytes.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    SlotsPart<Self, ZR3ScriptCondition> conditions{self, self.conditions_, self.ConditionsInUse(),
                                                   "Condition "};
    BlockPart<Self> blockA{self, 0};
    SlotsPart<Self, ZR3ScriptCommand> commands{self, self.commands_, self.CommandsInUse(),
                                               "Command "};
    BlockPart<Self> blockB{self, 1};
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Part("conditions", conditions)
              .About("Conditions",
                     "The ten condition slots: what must hold for the commands to run"));
    visit(field::Part("opaque_a", blockA)
              .About("Unknown", "Bytes kept as read between the conditions and the commands"));
    visit(field::Part("commands", commands)
              .About("Commands", "The ten command slots: what the script does"));
    visit(
        field::Part("opaque_b", blockB).About("Unknown", "Bytes kept as read after the commands"));
    visit(field::Number("condition_count", self.conditionCount_, "Conditions")
              .Means("How many condition slots are in use (0 to 10)"));
    visit(field::Number("command_count", self.commandCount_, "Commands")
              .Means("How many command slots are in use (0 to 10)"));
    visit(field::Problems([&self](RecordProblems& problems) { self.CheckCounts(problems); }));
    visit(field::Opaque("opaque", self.opaque_).Means(meaning::kOpaque));
    visit(field::Chain(self));
  }

  void Describe(Lines& lines) const override;
  // A new count links the slots it brings into use.
  void SetField(ZR3Level& level, std::string_view path, std::string_view value) override;
  // The script as a block of script text: header, conditions, commands, "end script".
  void ExportText(Lines& lines) const;
  void WriteText(LineOut& out) const;

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

  const OpaqueBlock& BlockA() const { return Block(0); }
  const OpaqueBlock& BlockB() const { return Block(1); }
  const std::array<std::uint8_t, 2>& Opaque() const { return opaque_; }
  // Whether block A or B has a byte other than zero.
  bool HasBlocks() const;
  // Block A (0) or B (1) as given, for a script built field by field (an import).
  void SetBlock(std::size_t index, const OpaqueBlock& bytes);

  // True when any condition or command slot, in use or not, refers to the record itself.
  // Slots are asked in the order condition 0, command 0, condition 1, ...
  bool RefersTo(const ZR3Base& record) const override;
  // The same for a record of the given list: conditions are passed over for the lists no
  // condition names, which a search of every script of a level feels.
  bool RefersTo(const ZR3Base& record, Category list) const override;

 private:
  // The ten condition or command slots as one part of the layout: read and written whole,
  // linked, shown and checked for the slots in use. A slot that cannot be written names the
  // script in the message.
  template <class Script, class Entry>
  struct SlotsPart {
    Script& script;
    std::conditional_t<std::is_const_v<Script>, const std::array<Entry, kSlotCount>,
                       std::array<Entry, kSlotCount>>& entries;
    std::size_t inUse;
    std::string_view label;

    void Read(ByteReader& in) {
      for (Entry& entry : entries) entry.Read(in);
    }
    void Write(ByteWriter& out) const;
    void Link(ZR3Level& level) {
      for (std::size_t i = 0; i < inUse; ++i) entries[i].Link(level);
    }
    void Describe(Lines& lines) const;
    void CollectKept(std::vector<std::uint32_t>&) const {}
    void CollectProblems(RecordProblems& problems) const;
    bool RefersTo(const ZR3Base& record) const {
      for (const Entry& entry : entries) {
        if (entry.RefersTo(record)) return true;
      }
      return false;
    }
    std::string Summary() const { return std::to_string(inUse) + " in use"; }
    // A line a slot: those in use as script text (records by name), the others as their
    // code and parameters, kept though never used.
    std::string ValueText() const {
      std::string text;
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i < inUse) {
          entries[i].AppendKeywordText(text);
        } else {
          text += std::to_string(entries[i].Code());
          for (const std::int16_t parameter : entries[i].StoredParameters()) {
            text += ' ' + std::to_string(parameter);
          }
        }
        text += '\n';
      }
      return text;
    }
    // A slot names records by position only: an import links them once the lists are whole.
    void LinkPositions(ZR3Level& level) { Link(level); }

    // In JSON: the ten slots, each {"code": c, "parameters": [...]} with the parameters as the
    // save writes them (positions of the records they name, in the level the document is
    // written for).
    template <class Json>
    void WriteJson(Json& json) const {
      // The positions of the records the slots name are read from all over memory: fetched
      // together, their waits overlap.
      for (const Entry& entry : entries) entry.PrefetchReferences();
      json.StartList();
      for (const Entry& entry : entries) {
        json.CodeSlot(entry.Code(), entry.WrittenParameters(json.Places()));
      }
      json.EndList();
    }
    template <class Schema>
    static void JsonSchema(Schema& schema) {
      schema.CodeSlots(kSlotCount, ZR3ScriptEntry::kParameterCount);
    }
    template <class In, class Node, class Place>
    void ReadJson(In& in, const Node& node, const Place& place) {
      in.CodeSlots(
          node, place, kSlotCount, ZR3ScriptEntry::kParameterCount,
          [this](std::size_t slot, std::uint16_t code, std::span<const std::int16_t> parameters) {
            entries[slot].SetCode(code);
            for (std::size_t p = 0; p < parameters.size(); ++p) {
              entries[slot].SetParameter(p, parameters[p]);
            }
          });
    }
  };
  // Block A or B: held only when either has a byte other than zero.
  template <class Script>
  struct BlockPart {
    Script& script;
    std::size_t index;

    void Read(ByteReader& in) { script.ReadBlock(in, index); }
    void Write(ByteWriter& out) const { out.Array(script.Block(index)); }
    void Link(ZR3Level&) {}
    void Describe(Lines&) const {}
    void CollectKept(std::vector<std::uint32_t>&) const {}
    void CollectProblems(RecordProblems&) const {}
    bool RefersTo(const ZR3Base&) const { return false; }
    std::string Summary() const;
    std::string ValueText() const { return Summary(); }
    void LinkPositions(ZR3Level&) {}

    // In JSON as hex, both blocks only when either has a byte other than zero (nearly never);
    // left out, they are zeros.
    static constexpr bool kOptionalInJson = true;
    bool InJson() const { return script.HasBlocks(); }
    template <class Json>
    void WriteJson(Json& json) const {
      json.Hex(script.Block(index).data(), kOpaqueBlockSize);
    }
    template <class Schema>
    static void JsonSchema(Schema& schema) {
      schema.Hex(kOpaqueBlockSize);
    }
    template <class In, class Node, class Place>
    void ReadJson(In& in, const Node& node, const Place& place) {
      OpaqueBlock bytes{};
      if (in.Hex(node, place, bytes.data(), bytes.size())) script.SetBlock(index, bytes);
    }
  };

  const OpaqueBlock& Block(std::size_t index) const;
  void ReadBlock(ByteReader& in, std::size_t index);
  void CheckCounts(RecordProblems& problems) const;
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

template <class Script>
inline std::string ZR3Script::BlockPart<Script>::Summary() const {
  const OpaqueBlock& bytes = script.Block(index);
  return FieldLister::HexText(bytes.data(), bytes.size());
}

template <class Script, class Entry>
inline void ZR3Script::SlotsPart<Script, Entry>::Write(ByteWriter& out) const {
  try {
    for (const Entry& entry : entries) entry.Write(out);
  } catch (const ZR3Error& error) {
    throw ZR3Error("Cannot save the script \"" + script.Name() + "\" (" +
                   std::string(InfoOf(script.ListCategory()).sectionName) + "): " + error.what());
  }
}

template <class Script, class Entry>
inline void ZR3Script::SlotsPart<Script, Entry>::Describe(Lines& lines) const {
  for (std::size_t i = 0; i < inUse; ++i) {
    std::string& line = lines.emplace_back(label);
    line += std::to_string(i);
    line += ':';
    entries[i].AppendReadableText(line);
  }
}

template <class Script, class Entry>
inline void ZR3Script::SlotsPart<Script, Entry>::CollectProblems(RecordProblems& problems) const {
  // Codes without a form, then the first unresolved reference of every slot in use.
  const bool conditions = std::is_same_v<Entry, ZR3ScriptCondition>;
  for (std::size_t i = 0; i < inUse; ++i) {
    const std::string slot = std::string(label) + std::to_string(i);
    const int code = entries[i].Code();
    if (!(conditions ? ConditionKind(code) : CommandKind(code))) {
      problems.push_back(
          {slot + " code", std::to_string(code),
           std::string("no ") + (conditions ? "condition" : "command") + " has this code",
           AtSave::Kept});
    }
    entries[i].CollectProblems(problems, slot);
  }
}

// Writes the script text of one script, its lines ended by CR LF.
void WriteScriptText(const ZR3Script& script, ByteWriter& out);
// Writes the script text of every script of one script list, in list order.
void ExportScriptList(const ZR3Level& level, Category scripts, ByteWriter& out);
// Writes the script text of every script: global, death, object, then startup scripts.
void ExportAllScripts(const ZR3Level& level, ByteWriter& out);

}  // namespace zr3
