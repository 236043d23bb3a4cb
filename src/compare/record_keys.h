#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {
class ZR3ScriptEntry;
}

namespace zr3::compare {

class RecordMatching;

// The hash of a name, as NameHashes holds it.
std::uint64_t NameHash(std::string_view name);

// The hashes of the names of one level's records: a reference enters a key as the name of
// its record, and a record is named by thousands of others, so each name is hashed once. They
// are found by the record's address in a compact table, where reading the record itself
// would wait on memory at nearly every reference.
class NameHashes {
 public:
  explicit NameHashes(const ZR3Level& level);

  std::uint64_t Of(const ZR3Base& record) const {
    for (std::size_t slot = SlotOf(&record);; slot = (slot + 1) & mask_) {
      const Entry& entry = table_[slot];
      if (entry.record == &record) return entry.hash;
      if (!entry.record) return NameHash(record.Name());
    }
  }

 private:
  struct Entry {
    const ZR3Base* record = nullptr;
    std::uint64_t hash = 0;
  };
  std::size_t SlotOf(const ZR3Base* record) const {
    return static_cast<std::size_t>(
        (reinterpret_cast<std::uintptr_t>(record) * 0x9e3779b97f4a7c15ULL) >> shift_);
  }

  std::vector<Entry> table_;
  std::size_t mask_ = 0;
  int shift_ = 0;
};

// The keys by which records are matched across versions. Every field of a record but its
// name, its identifiers and the chain identifiers enters them, references and positions as
// the name of their record (their stored value while they name none): equal for a record
// that only moved or was renumbered by a save. They are read straight from the field tables,
// never through the text of the values.
class RecordKeys {
 public:
  // The record is one of list; names: the name hashes of its level.
  static std::uint64_t ContentKey(const ZR3Base& record, Category list, const NameHashes& names);
  // The content key with the record's name.
  static std::uint64_t Key(const ZR3Base& record, std::uint64_t contentKey);
  // A key of each field of the record, in file order, for telling how alike two records are.
  static std::vector<std::uint64_t> FieldKeys(const ZR3Base& record, Category list);
};

// A line of text as a key.
std::uint64_t TextKey(std::string_view text);

// A script's condition or command as a key for aligning the lines of two versions of the
// script: its code, its parameters, and each record it names as that record's index in the
// newer level, an older entry's records through the matching (none for an entry of the newer
// level), so that a record that moved or was renamed leaves the key as it was.
std::uint64_t EntryKey(const ZR3ScriptEntry& entry, const RecordMatching* matching);

}  // namespace zr3::compare
