#pragma once

#include "level/zr3level.h"

namespace zr3test {

// Stands in for an object script where a test needs a record at a position of the object
// script list: it has a name and a position and nothing else.
class PlaceholderScript : public zr3::ZR3ChainRecord {
 public:
  explicit PlaceholderScript(std::string name) { SetName(std::move(name)); }
  zr3::Category ListCategory() const override { return zr3::Category::ObjectScripts; }
  void Describe(zr3::Lines&) const override {}
  void Write(zr3::ByteWriter&) override {}
  void CopyTo(zr3::ZR3Base&) const override {}
};

// Appends placeholder scripts named "Script 0", "Script 1", ... to the level's object
// script list, with their positions set.
void AddPlaceholderScripts(zr3::ZR3Level& level, int count);

}  // namespace zr3test
