#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "edit/results.h"
#include "level/category.h"
#include "level/name_index.h"
#include "level/zr3level.h"

namespace zr3 {

// A record to paste, taken from a level (the same one or another), with the list and the
// position it had there: references among the pasted records are known by those.
struct PastedRecord {
  Category list = Category::Maps;
  std::int64_t sourceIndex = -1;
  std::unique_ptr<ZR3Base> record;
};

// A reference of a pasted record that named no record of the level it went to: the pasted
// record, the field (with its slot, "items[3]") and the name the reference had.
struct UnresolvedReference {
  NamedRecord record;
  std::string field;
  std::string name;
  Category target = Category::Maps;
};

// Why the records cannot be pasted into the level, or nothing when they can: a record of a
// fixed table has no place to go, and a list holds at most ZR3Level::kMaxRecords.
std::string PasteRefusal(const ZR3Level& level, const std::vector<PastedRecord>& records);

// Puts the records into their lists in their order: those of the list of `after` behind that
// record, every other at the end of its list. Every record already there keeps its references.
// Answers where each record went, in the order given. The records must not be refused.
std::vector<NamedRecord> InsertPasted(ZR3Level& level, std::vector<PastedRecord>& records,
                                      std::optional<NamedRecord> after);
// Takes pasted records out again, in the reverse of the order InsertPasted put them.
std::vector<std::unique_ptr<ZR3Base>> TakePasted(ZR3Level& level,
                                                 const std::vector<NamedRecord>& placed);
// Puts records taken by TakePasted back where they were.
void PutBackPasted(ZR3Level& level, const std::vector<NamedRecord>& placed,
                   std::vector<std::unique_ptr<ZR3Base>> taken);

// What a reference of a pasted record names in the level it was pasted into: the pasted copy
// of a record pasted along; otherwise the one record of the level's list with the name the
// reference had. A name that several records share, or none, names nothing. An entry of a
// fixed table (a group, a flag) is the same entry in every level: its position names it.
class PastedNames {
 public:
  struct Pasted {
    Category list;
    std::int64_t sourceIndex;
    ZR3Base* record;
  };
  PastedNames(const ZR3Level& level, const std::vector<Pasted>& pasted);

  ZR3Base* Find(Category list, std::int64_t sourceIndex, std::string_view name);

 private:
  // The records that were in a list before the paste, by name.
  struct Names {
    NameIndex index;
    std::vector<ZR3Base*> records;
  };
  const ZR3Level& level_;
  std::map<std::pair<Category, std::int64_t>, ZR3Base*> pasted_;
  std::unordered_set<const ZR3Base*> pastedRecords_;
  // Made for a list on its first lookup.
  std::map<Category, Names> names_;
};

// The Results lines of a paste's unresolved references: a heading, then one line per
// reference that names the pasted record, the field and the name.
ResultLines UnresolvedLines(const ZR3Level& level, const std::vector<UnresolvedReference>& refs);

}  // namespace zr3
