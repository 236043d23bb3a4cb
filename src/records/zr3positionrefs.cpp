#include "records/zr3positionrefs.h"

#include <limits>

#include "level/bytes.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

void ZR3GroupPair::Read(ByteReader& in) {
  for (std::int16_t& value : index) value = in.I16();
}

void ZR3GroupPair::Write(ByteWriter& out) const {
  for (std::int16_t value : index) out.I16(value);
}

void ZR3GroupPair::Link(const ZR3Level& level) {
  for (std::size_t i = 0; i < index.size(); ++i) {
    group[i] = level.AtPosition(Category::Groups, index[i]);
  }
}

void ZR3GroupPair::Describe(Lines& lines) const {
  for (std::size_t i = 0; i < index.size(); ++i) {
    const std::string label = "Group " + std::to_string(i + 1) + ": ";
    lines.push_back(label + (group[i] ? group[i]->Name() : std::to_string(index[i])));
  }
}

bool ZR3GroupPair::Contains(const ZR3Base& record) const {
  return group[0] == &record || group[1] == &record;
}

std::string RunScriptText(const ZR3Base* script, std::int16_t position) {
  return script ? "Run " + script->Name() : "Run script " + std::to_string(position);
}

std::int16_t ScriptPositionField(const ZR3Base& script, const std::string& ownerKind,
                                 const ZR3Base& owner) {
  const int position = script.Position();
  if (position > std::numeric_limits<std::int16_t>::max()) {
    throw ZR3Error("Cannot save " + ownerKind + " \"" + owner.Name() +
                   "\": its object script is at position " + std::to_string(position) +
                   ", above 32767");
  }
  return static_cast<std::int16_t>(position);
}

}  // namespace zr3
