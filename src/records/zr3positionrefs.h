#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "level/text.h"

namespace zr3 {

class ByteReader;
class ByteWriter;
class ZR3Base;
class ZR3Level;

// The two group memberships of an item or a spell: positions in the level's group table.
// An index of 20 or more fails the link; the indexes are written back as held.
struct ZR3GroupPair {
  std::array<std::int16_t, 2> index{};
  std::array<ZR3Base*, 2> group{};

  void Read(ByteReader& in);
  void Write(ByteWriter& out) const;
  // A negative index means no group; one at or beyond the table's end throws ZR3Error.
  void Link(const ZR3Level& level);
  // "Group 1: " and "Group 2: " with the group's name, or the index when unresolved.
  void Describe(Lines& lines) const;
  bool Contains(const ZR3Base& record) const;
};

// "Run " and the script's name, or "Run script " and the stored position when unresolved.
std::string RunScriptText(const ZR3Base* script, std::int16_t position);

// The current position of an object script named by a signed 16-bit parameter of owner.
// Throws ZR3Error naming owner when the position does not fit the field.
std::int16_t ScriptPositionField(const ZR3Base& script, const std::string& ownerKind,
                                 const ZR3Base& owner);

}  // namespace zr3
