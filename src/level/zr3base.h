#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/problems.h"
#include "level/text.h"

namespace zr3 {

class ByteReader;
class ByteWriter;
class ZR3Level;
struct FieldInfo;
using FieldList = std::vector<FieldInfo>;

// The base of every record kind. The level loads, saves, links and shows records only
// through these operations.
class ZR3Base {
 public:
  ZR3Base() = default;
  virtual ~ZR3Base() = default;

  // Appends the record's lines of readable text.
  virtual void Describe(Lines& lines) const = 0;
  // Writes the record in its binary layout. Items and spells also refresh fields in memory
  // from their references here, which is why this is not const.
  virtual void Write(ByteWriter& out) = 0;
  // Resolves the stored references against the level's lists.
  virtual void Link(ZR3Level& level);
  // Sets the previous and next neighbours from the current position.
  virtual void LinkNeighbours(ZR3Level& level);
  // Copies this record's fields into a record of the same kind. Positions and neighbours are
  // not copied: the Copy command sets them.
  virtual void CopyTo(ZR3Base& target) const = 0;
  // Whether any reference of the record resolved to the given record (compared by identity).
  virtual bool RefersTo(const ZR3Base& record) const;
  // The same, told the list the record lives in, so that a kind can pass over the fields that
  // never name that list.
  virtual bool RefersTo(const ZR3Base& record, Category list) const {
    (void)list;
    return RefersTo(record);
  }
  // Work that reading leaves for later and that may run on another thread (a map's cells).
  virtual void DecodeDeferred() const {}
  // Adds every stored identifier that the next save writes back unchanged because its
  // reference did not resolve, so that no save identifier can collide with it.
  virtual void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const;
  // Adds every field whose stored value the level cannot use as it stands (a reference that
  // does not resolve, a code or count outside its table), with what the next save does.
  virtual void CollectProblems(RecordProblems& problems) const;

  // Every field of the record with its description and current value, in file order.
  virtual FieldList Fields() const;
  // The same with each part's whole value as its text, for comparing two versions.
  virtual FieldList FieldsToCompare() const;
  // Sets the field at path ("price", "items[3]") from its text; references take a position
  // in their list, "none" or a record's name. Throws ZR3Error with the reason and changes
  // nothing when the value is not one the field allows.
  virtual void SetField(ZR3Level& level, std::string_view path, std::string_view value);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  std::uint16_t LoadPosition() const { return loadPosition_; }
  void SetLoadPosition(std::uint16_t position) { loadPosition_ = position; }
  // Always the record's index in its category list.
  int Position() const { return position_; }
  void SetPosition(int position) { position_ = position; }

 protected:
  // A copy takes the fields, never the place in a list.
  ZR3Base(const ZR3Base& other) : name_(other.name_) {}
  ZR3Base& operator=(const ZR3Base& other) {
    name_ = other.name_;
    return *this;
  }

  std::string name_;

 private:
  std::uint16_t loadPosition_ = 0;
  int position_ = 0;
};

// A record that takes part in the record chain: its layout ends with the next, previous and
// own identifiers, and it has next and previous neighbours in its list.
class ZR3ChainRecord : public ZR3Base {
 public:
  // The list this record lives in (scripts answer by their kind).
  virtual Category ListCategory() const = 0;

  // "Neighbours only" kinds link nothing else.
  void Link(ZR3Level& level) override;
  void LinkNeighbours(ZR3Level& level) override;

  std::uint32_t StoredNextId() const { return storedNextId_; }
  std::uint32_t StoredPrevId() const { return storedPrevId_; }
  std::uint32_t StoredId() const { return storedId_; }
  ZR3ChainRecord* Next() const { return next_; }
  ZR3ChainRecord* Prev() const { return prev_; }

  // The identifier this record carries during one save (0 outside a save).
  std::uint32_t SaveId() const { return saveId_; }
  void SetSaveId(std::uint32_t id) { saveId_ = id; }
  static std::uint32_t SaveIdOf(const ZR3ChainRecord* record) {
    return record ? record->saveId_ : 0;
  }

  void SetStoredIds(std::uint32_t next, std::uint32_t prev, std::uint32_t id) {
    storedNextId_ = next;
    storedPrevId_ = prev;
    storedId_ = id;
  }

  // Next, previous and own identifiers, in that order.
  void ReadChain(ByteReader& in);
  // Next and previous neighbours' save identifiers, then this record's own.
  void WriteChain(ByteWriter& out) const;
  // "Next Id:", "Prev Id:" and "Id:" with the stored identifiers.
  void DescribeChain(Lines& lines) const;

 protected:
  ZR3ChainRecord() = default;
  // A copy keeps the stored identifiers but has no neighbours and no save identifier.
  ZR3ChainRecord(const ZR3ChainRecord& other)
      : ZR3Base(other),
        storedNextId_(other.storedNextId_),
        storedPrevId_(other.storedPrevId_),
        storedId_(other.storedId_) {}
  ZR3ChainRecord& operator=(const ZR3ChainRecord& other) {
    ZR3Base::operator=(other);
    storedNextId_ = other.storedNextId_;
    storedPrevId_ = other.storedPrevId_;
    storedId_ = other.storedId_;
    return *this;
  }

 private:
  std::uint32_t storedNextId_ = 0;
  std::uint32_t storedPrevId_ = 0;
  std::uint32_t storedId_ = 0;
  ZR3ChainRecord* next_ = nullptr;
  ZR3ChainRecord* prev_ = nullptr;
  std::uint32_t saveId_ = 0;
};

}  // namespace zr3
