#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "level/zr3level.h"
#include "merge/merge_conflicts.h"

namespace zr3::merge {

// The three versions a conflict can be resolved with.
enum class ConflictSide { Base, Ours, Theirs };

// "base", "ours", "theirs".
std::string_view SideName(ConflictSide side);
// The side's value of the conflict, as JSON text.
const std::string& ValueOf(const MergeConflict& conflict, ConflictSide side);
// A side's value as one short line for a list: "(none)" for null, a record's object as
// 'record "Sword"', anything else as its JSON text (UTF-8).
std::string ShownValue(std::string_view json);
// Whether the merged level holds the conflict's record: always, except for a whole record
// that our side deleted (its index is then where it would stand).
bool RecordPresent(const MergeConflict& conflict);

// What resolving a conflict did to the level, for whoever shows it.
enum class ResolutionChange {
  None,            // the chosen value was there already
  Field,           // a field of the record or of the level information
  Cells,           // a cell slot of a map
  Colour,          // a palette colour
  RecordInserted,  // the chosen side's record put back at the conflict's index
  RecordRemoved,   // the record taken out of its list
  RecordReplaced,  // every field of the record set to the chosen side's
};

// One conflict resolved by putting the chosen side's value in the merged level, undoably: a
// field through the field interface, a cell slot as a stroke of painting, a colour as a
// palette edit, and a whole record deleted, put back from its JSON object or given the chosen
// side's fields. It keeps only what it replaced, so that undoing leaves the level's bytes as
// they were.
class ConflictResolution {
 public:
  ConflictResolution(MergeConflict conflict, ConflictSide side);
  ConflictResolution(ConflictResolution&&) noexcept;
  ConflictResolution& operator=(ConflictResolution&&) noexcept;
  ~ConflictResolution();

  const MergeConflict& Conflict() const { return conflict_; }
  ConflictSide Side() const { return side_; }
  ResolutionChange Change() const { return change_; }

  // Puts the chosen value in the level. The first time it reads the value and keeps what it
  // replaces; a value the level cannot take (a refused field value, a record still referred
  // to, a reference naming no record) throws ZR3Error and changes nothing.
  void Redo(ZR3Level& level);
  void Undo(ZR3Level& level);

 private:
  void FirstRedo(ZR3Level& level);
  void ResolveField(ZR3Level& level);
  void ResolveCell(ZR3Level& level);
  void ResolveColour(ZR3Level& level);
  void ResolveRecord(ZR3Level& level);
  // A field the field interface cannot set, through the record's JSON object.
  void ResolveWithinRecord(ZR3Level& level);
  // Gives the record the fields of the object, keeping what they replace.
  void ReplaceFields(ZR3Level& level, std::string_view object);
  // Gives the record in the list the fields of source, keeping its own chain identifiers.
  void CopyFields(ZR3Level& level, const ZR3Base& source) const;

  MergeConflict conflict_;
  ConflictSide side_;
  bool done_ = false;
  ResolutionChange change_ = ResolutionChange::None;
  std::optional<FieldEdit> field_;
  std::optional<MapPaint> paint_;
  // A removed record while the removal stands; a record to put back while it is out; the
  // record's former fields and its new ones for a replacement.
  std::unique_ptr<ZR3Base> kept_;
  std::unique_ptr<ZR3Base> chosen_;
};

// Resolves the conflict at once, for callers without an undo history; the answer can still
// undo it.
ConflictResolution ResolveConflict(ZR3Level& level, const MergeConflict& conflict,
                                   ConflictSide side);

}  // namespace zr3::merge
