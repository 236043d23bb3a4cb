#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "level/bytes.h"
#include "level/category.h"
#include "level/problems.h"
#include "level/zr3base.h"
#include "level/zr3error.h"

namespace zr3 {

// Which of several records with an equal identifier a reference takes.
enum class Match : std::uint8_t { First, Last };

// How one reference field of a kind names its record by identifier: the list it points into,
// which of equal identifiers wins, whether 0 means "no record" (an empty slot) or is looked up
// like any other value, and what the next save writes when it did not resolve.
struct IdRule {
  Category list;
  Match match;
  bool zeroIsEmpty;
  AtSave unresolved;
  // The save also takes the target's save identifier into the stored value in memory.
  bool refreshStoredOnWrite = false;
};

// A reference by identifier: the stored value as read and the record it resolved to. The rule
// is part of the type, so a reference costs no more memory than its two values.
template <IdRule R>
class IdReference {
 public:
  static constexpr IdRule kRule = R;

  std::uint32_t Stored() const { return stored_; }
  ZR3ChainRecord* Record() const { return record_; }
  // No record is named: an empty slot.
  bool Empty() const { return R.zeroIsEmpty && stored_ == 0; }
  // A non-zero identifier that matched nothing, as the problem report sees it.
  bool Unresolved() const { return stored_ != 0 && !record_; }

  void Read(ByteReader& in) {
    stored_ = in.U32();
    record_ = nullptr;
  }
  std::uint32_t ValueToWrite() const {
    if (record_) return record_->SaveId();
    return R.unresolved == AtSave::Kept ? stored_ : 0;
  }
  void Write(ByteWriter& out) {
    if constexpr (R.refreshStoredOnWrite) {
      if (record_) stored_ = record_->SaveId();
    }
    out.U32(ValueToWrite());
  }
  // Level is ZR3Level, which this header cannot include: the level holds references itself.
  template <class Level>
  void Link(const Level& level) {
    if (Empty()) {
      record_ = nullptr;
    } else {
      record_ = R.match == Match::First ? level.FindFirstById(R.list, stored_)
                                        : level.FindLastById(R.list, stored_);
    }
  }
  void Unlink() { record_ = nullptr; }
  // Names the record; the stored value becomes the record's own identifier.
  void Set(ZR3ChainRecord* record) {
    record_ = record;
    stored_ = record ? record->StoredId() : 0;
  }
  // A value kept as stored, resolved or not.
  void SetStored(std::uint32_t stored, ZR3ChainRecord* record) {
    stored_ = stored;
    record_ = record;
  }

  void CollectKept(std::vector<std::uint32_t>& kept) const {
    if (R.unresolved == AtSave::Kept && !record_ && !Empty()) kept.push_back(stored_);
  }
  void CollectProblem(RecordProblems& problems, std::string label) const {
    if (Unresolved()) {
      problems.push_back(UnresolvedIdentifier(std::move(label), stored_, R.list, R.unresolved));
    }
  }
  bool RefersTo(const ZR3Base& record) const { return record_ == &record; }

 private:
  std::uint32_t stored_ = 0;
  ZR3ChainRecord* record_ = nullptr;
};

// What a position outside the target list means at link time.
enum class OutsideList : std::uint8_t { LinkError, Unresolved };

// How a field names its record by position in a list: a group index, or an object script
// position held in a parameter.
struct PositionRule {
  Category list;
  OutsideList outside;
  // A negative position means "no record" rather than a position that names nothing.
  bool negativeIsNone;
  // Linked after every other reference of the record, so that a record with two faults
  // reports the same one first whatever the field order.
  bool linksLast = false;
};

// A reference by list position held in a signed 16-bit field.
template <PositionRule R>
class PositionReference {
 public:
  static constexpr PositionRule kRule = R;

  std::int16_t Stored() const { return stored_; }
  ZR3Base* Record() const { return record_; }
  bool Unresolved() const { return !record_ && (stored_ >= 0 || !R.negativeIsNone); }

  void Read(ByteReader& in) {
    stored_ = in.I16();
    record_ = nullptr;
  }
  // The position is first brought up to date from the record's current one; throws ZR3Error
  // naming owner when it does not fit the field.
  void Write(ByteWriter& out, const ZR3ChainRecord* owner) {
    if (record_) stored_ = CurrentPosition(owner);
    out.I16(stored_);
  }
  // Throws ZR3Error "List index out of bounds (n)" for a position beyond the list when the
  // rule makes that a link error.
  template <class Level>
  void Link(const Level& level) {
    record_ = Resolve(level, stored_);
  }
  void Unlink() { record_ = nullptr; }

  template <class Level>
  static ZR3Base* Resolve(const Level& level, int position) {
    return R.outside == OutsideList::LinkError ? level.AtPosition(R.list, position)
                                               : level.RecordAt(R.list, position);
  }
  bool RefersTo(const ZR3Base& record) const { return record_ == &record; }
  // Whether a position that named no record (record, the list's record there, is none) is
  // refused: one at or past the end of the list, where the rule makes that a link error.
  static bool Refuses(const ZR3Base* record, int position) {
    return !record && position >= 0 && R.outside == OutsideList::LinkError;
  }

  void Set(std::int16_t position, ZR3Base* record) {
    stored_ = position;
    record_ = record;
  }

 private:
  std::int16_t CurrentPosition(const ZR3ChainRecord* owner) const {
    const int position = record_->Position();
    if (position > std::numeric_limits<std::int16_t>::max()) {
      const std::string ownerText = owner ? std::string(InfoOf(owner->ListCategory()).recordNoun) +
                                                " \"" + owner->Name() + "\""
                                          : std::string("the record");
      throw ZR3Error("Cannot save " + ownerText + ": its " +
                     std::string(InfoOf(R.list).recordNoun) + " is at position " +
                     std::to_string(position) + ", above 32767");
    }
    return static_cast<std::int16_t>(position);
  }

  std::int16_t stored_ = 0;
  ZR3Base* record_ = nullptr;
};

}  // namespace zr3
