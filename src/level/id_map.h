#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace zr3 {

// A hash from stored 32-bit identifiers to small values, for the lookups a load makes by the
// million (map cells, chain identifiers). Open addressing with linear probing in one array;
// the identifier 0xFFFFFFFF marks a free slot, so its own value is kept beside the array.
template <class Value>
class IdMap {
 public:
  explicit IdMap(std::size_t expected = 0) { Rehash(CapacityFor(expected)); }

  // The value stored for id, inserting value first when id is new; true when inserted.
  std::pair<Value*, bool> TryEmplace(std::uint32_t id, const Value& value) {
    if (id == kFree) {
      const bool inserted = !freeIdValue_;
      if (inserted) freeIdValue_ = value;
      return {&*freeIdValue_, inserted};
    }
    std::size_t at = SlotOf(id);
    while (slots_[at].id != kFree) {
      if (slots_[at].id == id) return {&slots_[at].value, false};
      at = (at + 1) & mask_;
    }
    if ((used_ + 1) * 2 > slots_.size()) {
      Rehash(slots_.size() * 2);
      return TryEmplace(id, value);
    }
    slots_[at] = {id, value};
    ++used_;
    return {&slots_[at].value, true};
  }

  // The value stored for id; nullptr when there is none.
  const Value* Find(std::uint32_t id) const {
    if (id == kFree) return freeIdValue_ ? &*freeIdValue_ : nullptr;
    for (std::size_t at = SlotOf(id);; at = (at + 1) & mask_) {
      if (slots_[at].id == id) return &slots_[at].value;
      if (slots_[at].id == kFree) return nullptr;
    }
  }

 private:
  static constexpr std::uint32_t kFree = 0xFFFFFFFF;
  struct Slot {
    std::uint32_t id;
    Value value;
  };

  static std::size_t CapacityFor(std::size_t count) {
    std::size_t capacity = 16;
    while (capacity < count * 2) capacity *= 2;
    return capacity;
  }
  // Fibonacci hashing: identifiers are often running numbers, which this spreads evenly.
  std::size_t SlotOf(std::uint32_t id) const {
    return static_cast<std::size_t>((id * std::uint64_t{0x9E3779B97F4A7C15}) >> shift_);
  }
  void Rehash(std::size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{kFree, Value{}});
    mask_ = capacity - 1;
    shift_ = 64;
    for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
    for (const Slot& slot : old) {
      if (slot.id == kFree) continue;
      std::size_t at = SlotOf(slot.id);
      while (slots_[at].id != kFree) at = (at + 1) & mask_;
      slots_[at] = slot;
    }
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
  std::size_t used_ = 0;
  std::optional<Value> freeIdValue_;
};

}  // namespace zr3
