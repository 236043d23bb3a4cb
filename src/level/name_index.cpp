#include "level/name_index.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace zr3 {

namespace {

std::uint32_t Tag(std::uint64_t hash) {
  return static_cast<std::uint32_t>(hash >> 32);
}

// Eight bytes at a time: names are short, and every name looked up is hashed.
std::uint64_t Hash(std::string_view name) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = name.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, name.data() + i, 8);
    hash = (std::rotl(hash, 29) ^ word) * kMultiplier;
  }
  std::uint64_t tail = 0;
  if (i < name.size()) std::memcpy(&tail, name.data() + i, name.size() - i);
  hash = (std::rotl(hash, 29) ^ tail) * kMultiplier;
  // A product's low bits depend only on its factors' low bits: names that differ only in
  // their last bytes ("Flag 1", "Flag 2") would share their low bits, which choose the slot,
  // and crowd together. Folding the high half down twice spreads every byte over all bits.
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDull;
  hash ^= hash >> 33;
  return hash;
}

}  // namespace

NameIndex::NameIndex(const RecordList& list) {
  std::size_t bytes = 0;
  for (const std::unique_ptr<ZR3Base>& record : list) bytes += record->Name().size();
  names_.reserve(bytes);
  ends_.reserve(list.size());
  Resize(list.size());
  for (const std::unique_ptr<ZR3Base>& record : list) Append(record->Name());
}

void NameIndex::Append(std::string_view name) {
  names_ += name;
  ends_.push_back(static_cast<std::uint32_t>(names_.size()));
  if (2 * ends_.size() + 2 > slots_.size()) {
    Resize(ends_.size());
  } else {
    Place(ends_.size() - 1);
  }
}

std::optional<NameIndex::Found> NameIndex::Find(std::string_view name) const {
  const Slot& slot = slots_[SlotOf(name, Hash(name))];
  if (slot.position == kEmpty) return std::nullopt;
  return Found{static_cast<int>(slot.position & ~kAmbiguous), (slot.position & kAmbiguous) != 0};
}

std::size_t NameIndex::SlotOf(std::string_view name, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.position == kEmpty) return i;
    if (slot.tag == Tag(hash) && NameAt(slot.position & ~kAmbiguous) == name) return i;
  }
}

void NameIndex::Place(std::size_t position) {
  const std::string_view name = NameAt(position);
  const std::uint64_t hash = Hash(name);
  Slot& slot = slots_[SlotOf(name, hash)];
  if (slot.position == kEmpty) {
    slot = {Tag(hash), static_cast<std::uint32_t>(position)};
  } else {
    slot.position |= kAmbiguous;
  }
}

void NameIndex::Resize(std::size_t count) {
  std::size_t size = 16;
  while (size < 2 * count + 4) size *= 2;
  slots_.assign(size, Slot{0, kEmpty});
  for (std::size_t position = 0; position < ends_.size(); ++position) Place(position);
}

}  // namespace zr3
