#include "records/reference_slots.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/zr3base.h"
#include "level/zr3level.h"

namespace zr3 {

void ReferenceSlots::Read(ByteReader& in) {
  for (std::uint32_t& id : ids_) id = in.U32();
  records_.fill(nullptr);
}

void ReferenceSlots::Write(ByteWriter& out, Unresolved unresolved) const {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (records_[i]) {
      out.U32(records_[i]->SaveId());
    } else {
      out.U32(unresolved == Unresolved::KeepStoredId ? ids_[i] : 0);
    }
  }
}

void ReferenceSlots::ResolveSlot(std::size_t slot, const ZR3Level& level, Category list) {
  records_[slot] = ids_[slot] == 0 ? nullptr : level.FindFirstById(list, ids_[slot]);
}

void ReferenceSlots::Describe(Lines& lines, const std::string& label) const {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (ids_[i] == 0) continue;
    const std::string slotLabel = label + std::to_string(i) + ":";
    lines.push_back(records_[i] ? slotLabel + " " + records_[i]->Name()
                                : HexDumpU32(slotLabel, ids_[i]));
  }
}

bool ReferenceSlots::RefersTo(const ZR3Base& record) const {
  return std::find(records_.begin(), records_.end(), &record) != records_.end();
}

void ReferenceSlots::CollectUnresolved(std::vector<std::uint32_t>& ids) const {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (ids_[i] != 0 && !records_[i]) ids.push_back(ids_[i]);
  }
}

void ReferenceSlots::CollectProblems(RecordProblems& problems, const std::string& label,
                                     Category list, Unresolved unresolved) const {
  const AtSave atSave =
      unresolved == Unresolved::KeepStoredId ? AtSave::Kept : AtSave::WrittenAsZero;
  for (std::size_t i = 0; i < kCount; ++i) {
    if (ids_[i] != 0 && !records_[i]) {
      problems.push_back(UnresolvedIdentifier(label + std::to_string(i), ids_[i], list, atSave));
    }
  }
}

}  // namespace zr3
