#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/problems.h"
#include "level/record_places.h"
#include "script/scriptforms.h"
#include "script/vocabulary.h"

namespace zr3 {

class ByteReader;
class ByteWriter;
class ZR3Base;
class ZR3Level;

// One parameter that names a record: a flag (taking the next free flag slot) or one of the
// typed references.
struct ReferenceStep {
  int parameter;
  bool flag;
  ScriptReference reference;
};

// The parameters that name records for the current code and parameters, in the order the
// link resolves them.
class ReferenceSteps {
 public:
  // The most any code names: a tile or an object and a location triple.
  static constexpr std::size_t kCapacity = 4;

  void Flag(int parameter) { Add({parameter, true, ScriptReference::Map}); }
  void Record(int parameter, ScriptReference reference) { Add({parameter, false, reference}); }
  const ReferenceStep* begin() const { return steps_.data(); }
  const ReferenceStep* end() const { return steps_.data() + count_; }

 private:
  void Add(const ReferenceStep& step) {
    assert(count_ < kCapacity);
    steps_[count_++] = step;
  }

  // Only the first count_ steps are ever read.
  std::array<ReferenceStep, kCapacity> steps_;
  std::size_t count_ = 0;
};

// What a condition and a command share: the 20-byte slot (u16 code and nine signed
// parameters), three flag slots filled in order of use, typed references, linking and the
// write that brings the parameters naming records up to date.
class ZR3ScriptEntry {
 public:
  static constexpr std::size_t kSize = 20;
  static constexpr std::size_t kParameterCount = 9;
  static constexpr std::size_t kFlagSlotCount = 3;
  using Parameters = std::array<std::int16_t, kParameterCount>;

  // Reads the 20-byte slot in place and drops every reference.
  void Read(ByteReader& in);

  std::uint16_t Code() const { return code_; }
  // Setting a code or parameter to another value leaves the references as they are until the
  // next link, which then resolves them anew.
  void SetCode(std::uint16_t code) {
    if (code == code_) return;
    code_ = code;
    linkedFully_ = false;
  }
  // The parameters as held: as read, or as set since. Positions in them may be stale after
  // records moved; WrittenParameters gives the current ones.
  std::int16_t Parameter(std::size_t index) const { return parameters_[index]; }
  void SetParameter(std::size_t index, std::int16_t value) {
    if (value == parameters_[index]) return;
    parameters_[index] = value;
    linkedFully_ = false;
  }
  const Parameters& StoredParameters() const { return parameters_; }

  // The flag in a flag slot, the record of a reference; nullptr while unresolved.
  ZR3Base* FlagSlot(std::size_t slot) const;
  ZR3Base* Reference(ScriptReference which) const;
  // Asks the processor to fetch every resolved record ahead of its name being read. Text
  // of many scripts names records all over memory; fetching a script's records together
  // overlaps the waits for them.
  void PrefetchReferences() const {
#if defined(__GNUC__)
    for (std::size_t i = 0; i < resolvedCount_; ++i) __builtin_prefetch(resolved_[i]);
#endif
  }

  // Drops every reference, then resolves what the current code and parameters name. The
  // first index outside its list (negative included) leaves that reference and every later
  // one null. An entry whose last link resolved everything, with the code and parameters it
  // still has, to the records still at those positions is left as it is: linking it again
  // would resolve the same.
  void Link(ZR3Level& level);
  // Forgets every reference.
  void ClearReferences();
  // True when any resolved reference, flag slots included, is the record itself.
  bool RefersTo(const ZR3Base& record) const {
    for (std::size_t i = 0; i < resolvedCount_; ++i) {
      if (resolved_[i] == &record) return true;
    }
    return false;
  }
  // The list of the first resolved reference that is the record itself; nothing when none is.
  std::optional<Category> ListReferred(const ZR3Base& record) const;
  // The line form of the entry's code; nullptr for a code without a kind.
  const Form* FormOf() const;

  // The text behind "Condition n:" or "Command n:" in the details pane; it always begins
  // with a blank.
  std::string ReadableText() const;
  // The entry's line of script text, without the indentation of the script block.
  std::string KeywordText() const;
  // The same, appended to out.
  void AppendReadableText(std::string& out) const {
    AppendText(true, out);
  }
  void AppendKeywordText(std::string& out) const {
    AppendText(false, out);
  }
  // The first parameter naming a record that did not resolve, as "<label> p<n>"; the link
  // left every later reference of the entry null as well. Its value is written back as stored.
  void CollectProblems(RecordProblems& problems, const std::string& label) const;

  // The parameters as Write writes them: each parameter that names a resolved record holds
  // that record's current position; flag indices and unresolved ones stay as stored. Throws
  // ZR3Error when a position does not fit the signed 16-bit parameter.
  Parameters WrittenParameters() const;
  // The same with each record named standing where places puts it (without places, at its
  // own position); a parameter naming a record without a place stays as stored.
  Parameters WrittenParameters(const RecordPlaces& places) const;
  void Write(ByteWriter& out) const;
  // The parameters that name records for the current code and parameters, in the order of
  // the entry's form.
  ReferenceSteps StepsOf() const;

 protected:
  // Which slot an entry fills decides which records its parameters name. The entry says so
  // itself rather than through a table of virtual functions: a level holds up to 5242800
  // entries, and the pointer would cost each of them eight bytes.
  enum class Slot : std::uint8_t { Condition, Command };

  explicit ZR3ScriptEntry(Slot slot) : slot_(slot) {}
  ZR3ScriptEntry(const ZR3ScriptEntry&) = default;
  ZR3ScriptEntry& operator=(const ZR3ScriptEntry&) = default;

 private:
  // What the link resolved, in the order of its steps, each with the kind it was resolved as
  // (kFlag for a flag slot) and the parameter that names it. An entry names few records, and
  // a level holds up to 655350 entries, so only those are kept.
  static constexpr std::uint8_t kFlag = 0xFF;
  // The list of a reference resolved as kind (kFlag for a flag slot).
  static Category ListOfKind(std::uint8_t kind) {
    return kind == kFlag ? Category::Flags : CategoryOf(static_cast<ScriptReference>(kind));
  }
  std::array<ZR3Base*, ReferenceSteps::kCapacity> resolved_{};
  std::uint16_t code_ = 0;
  Parameters parameters_{};
  std::array<std::uint8_t, ReferenceSteps::kCapacity> resolvedKinds_{};
  std::array<std::uint8_t, ReferenceSteps::kCapacity> resolvedParameters_{};
  std::uint8_t resolvedCount_ = 0;
  // The last link resolved every record the code and parameters name, and neither changed
  // since.
  bool linkedFully_ = false;
  Slot slot_;

  // Whether each resolved record is still the one at the position its parameter gives.
  bool StillResolved(const ZR3Level& level) const;

  // The readable text or the script line of the entry, from its form.
  void AppendText(bool readable, std::string& out) const;
  // The parameters with each resolved record's place as placeOf(record) gives it.
  template <class PlaceOf>
  Parameters WrittenWith(PlaceOf placeOf) const;
};

// What replaces a missing name and everything after it: a condition appends it to the text
// built so far, a command appends it with a blank of its own.
inline constexpr std::string_view kConditionBadReference = "Bad reference";
inline constexpr std::string_view kCommandBadReference = " Bad reference";

// A name as script text writes it: in double quotes, a quote inside doubled so that the
// importer reads it back, line breaks turned into blanks so the line stays one line.
void AppendQuotedName(std::string& out, std::string_view name);

// Builds the readable text or the script line of one entry, appending to out. Once a name the
// text needs is missing, the missing-reference text is appended and every later piece is
// dropped. Flag names are taken from the flag slots in order, as the link filled them.
class EntryText {
 public:
  enum class Style { Readable, Keyword };

  EntryText(const ZR3ScriptEntry& entry, Style style, std::string_view badReference,
            std::string& out)
      : entry_(entry), style_(style), badReference_(badReference), out_(out) {}

  EntryText& Add(std::string_view piece);
  EntryText& Number(int value);
  // The parameter's value in decimal.
  EntryText& Param(int index) { return Number(entry_.Parameter(static_cast<std::size_t>(index))); }
  // The name of a referenced record (quoted in script text).
  EntryText& Name(ScriptReference which);
  // The name of the flag in the next flag slot (quoted in script text).
  EntryText& Flag();
  // The word of the table at the index: readable or keyword by style; "(index)" outside.
  EntryText& Word(VocabularyTable table, int index);
  // The table's word at the index, or nothing outside the table.
  EntryText& WordIfAny(VocabularyTable table, int index);
  // Value source word, a blank and the operand: decimal for a value, the attribute for an
  // attribute, "0-" and the bound for a random number (the bare bound in script text), the
  // next flag slot's name for a flag; a plain number for an unknown source.
  EntryText& SourceAndOperand(int sourceParameter);
  // The same for the map of a location triple, whose value operand is a map name.
  EntryText& MapSourceAndOperand(int sourceParameter);
  // One piece of the entry's line form, with the text before it.
  EntryText& Append(const Piece& piece);

  bool Broken() const { return broken_; }

 private:
  EntryText& RecordName(const ZR3Base* record);

  const ZR3ScriptEntry& entry_;
  Style style_;
  std::string_view badReference_;
  std::string& out_;
  std::size_t nextFlagSlot_ = 0;
  bool broken_ = false;
};

}  // namespace zr3
