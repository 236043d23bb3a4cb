#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "level/bytes.h"
#include "level/zr3base.h"
#include "level/zr3level.h"
#include "support/print_category.h"

namespace zr3test {

// A chain record that stands in for a kind a test does not build from bytes: it has nothing
// but a name, a list and a stored identifier. Added to a loaded level's list, it lets a test
// resolve references into that list, show its name and write its position or identifier.
class StandInRecord : public zr3::ZR3ChainRecord {
 public:
  StandInRecord(zr3::Category category, std::uint32_t id, std::string name) : category_(category) {
    zr3::ByteWriter chain;
    chain.U32(0);
    chain.U32(0);
    chain.U32(id);
    zr3::ByteReader in(chain.Data());
    ReadChain(in);
    name_ = std::move(name);
  }
  StandInRecord(zr3::Category category, std::string name)
      : StandInRecord(category, 0, std::move(name)) {}

  zr3::Category ListCategory() const override { return category_; }
  void Describe(zr3::Lines& lines) const override { lines.push_back("Name: " + name_); }
  void Write(zr3::ByteWriter&) override {}
  void CopyTo(zr3::ZR3Base& target) const override { target.SetName(name_); }

 private:
  zr3::Category category_;
};

// Appends a stand-in to the level's list and returns it.
inline StandInRecord& AddStandIn(zr3::ZR3Level& level, zr3::Category category, std::uint32_t id,
                                 std::string name) {
  zr3::RecordList& list = level.List(category);
  auto record = std::make_unique<StandInRecord>(category, id, std::move(name));
  record->SetPosition(static_cast<int>(list.size()));
  StandInRecord& added = *record;
  list.push_back(std::move(record));
  return added;
}

// Appends stand-ins with the given names to the level's list and renumbers it.
void AddStandIns(zr3::ZR3Level& level, zr3::Category category,
                 const std::vector<std::string>& names);

// Moves the record at index from to index to within the list and renumbers it, as the
// editor's reorder commands leave a list.
void MoveRecord(zr3::ZR3Level& level, zr3::Category category, std::size_t from, std::size_t to);

}  // namespace zr3test
