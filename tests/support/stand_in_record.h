#pragma once

#include <string>
#include <vector>

#include "level/zr3base.h"
#include "level/zr3level.h"

namespace zr3test {

// A named record that stands in for a kind this test does not load from a file, so that
// entries naming it by position can resolve, show its name and write its position.
class StandInRecord : public zr3::ZR3ChainRecord {
 public:
  StandInRecord(zr3::Category category, std::string name) : category_(category) {
    SetName(std::move(name));
  }
  zr3::Category ListCategory() const override { return category_; }
  void Describe(zr3::Lines& lines) const override { lines.push_back("Name: " + Name()); }
  void Write(zr3::ByteWriter&) override {}
  void CopyTo(zr3::ZR3Base& target) const override { target.SetName(Name()); }

 private:
  zr3::Category category_;
};

// Appends stand-ins with the given names to the level's list and renumbers it.
void AddStandIns(zr3::ZR3Level& level, zr3::Category category,
                 const std::vector<std::string>& names);

// Moves the record at index from to index to within the list and renumbers it, as the
// editor's reorder commands leave a list.
void MoveRecord(zr3::ZR3Level& level, zr3::Category category, std::size_t from, std::size_t to);

}  // namespace zr3test
