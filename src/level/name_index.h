#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/zr3level.h"

namespace zr3 {

// The first position of every name of one list, built once so that resolving many names stays
// linear; a name that several records share is marked ambiguous. The names are copied one
// after another and found by open addressing over a small flat array, so that a lookup
// reaches few cache lines and never the records themselves. Looking up a record by name
// anywhere (the field interface, the JSON reader, the script importer) goes through it.
class NameIndex {
 public:
  struct Found {
    int position;
    bool ambiguous;
  };

  NameIndex() { Resize(0); }
  explicit NameIndex(const RecordList& list);
  // The name of the next position.
  void Append(std::string_view name);
  std::optional<Found> Find(std::string_view name) const;
  std::size_t Size() const { return ends_.size(); }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  static constexpr std::uint32_t kAmbiguous = 0x80000000;
  // The hash's high half: its low bits already chose the slot.
  struct Slot {
    std::uint32_t tag;
    std::uint32_t position;  // the first with the name; kAmbiguous when others follow
  };

  std::string_view NameAt(std::size_t position) const {
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return std::string_view(names_).substr(begin, ends_[position] - begin);
  }
  // The index of the slot that holds the name, or of the empty slot where it would go.
  std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;
  void Place(std::size_t position);
  // Room for at least twice the count, every name placed again.
  void Resize(std::size_t count);

  std::vector<Slot> slots_;
  std::string names_;
  std::vector<std::uint32_t> ends_;  // where each position's name ends
};

}  // namespace zr3
