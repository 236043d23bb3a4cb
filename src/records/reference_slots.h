#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/category.h"
#include "level/problems.h"
#include "level/text.h"

namespace zr3 {

class ByteReader;
class ByteWriter;
class ZR3Base;
class ZR3ChainRecord;
class ZR3Level;

// Ten references by own identifier into one list, 0 meaning an empty slot (shop stock and
// the monster's lists). Each slot keeps the identifier as read and the record it resolved
// to. What an unresolved slot writes differs between kinds, so the caller says it.
class ReferenceSlots {
 public:
  static constexpr std::size_t kCount = 10;

  enum class Unresolved { KeepStoredId, WriteZero };

  // Reads the ten identifiers; every slot is unresolved until the kind links it.
  void Read(ByteReader& in);
  void Write(ByteWriter& out, Unresolved unresolved) const;

  // Takes the first record of the list whose stored identifier equals the slot's; an empty
  // slot or an identifier that matches nothing stays unresolved. Kinds resolve slot by slot
  // in their own order.
  void ResolveSlot(std::size_t slot, const ZR3Level& level, Category list);

  // For each non-empty slot: "<label><i>: <name>" when resolved, otherwise
  // "<label><i>:" with the stored identifier in hex.
  void Describe(Lines& lines, const std::string& label) const;

  // Whether the record is the resolved record of any slot (compared by identity).
  bool RefersTo(const ZR3Base& record) const;
  // The stored identifiers of the non-empty slots that did not resolve.
  void CollectUnresolved(std::vector<std::uint32_t>& ids) const;
  // "<label><i>" for each non-empty slot that did not resolve into the list, with what the
  // next save writes for it.
  void CollectProblems(RecordProblems& problems, const std::string& label, Category list,
                       Unresolved unresolved) const;

 private:
  std::array<std::uint32_t, kCount> ids_{};
  std::array<ZR3ChainRecord*, kCount> records_{};
};

}  // namespace zr3
