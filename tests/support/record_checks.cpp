#include "support/record_checks.h"

#include <algorithm>
#include <stdexcept>

#include "level/zr3error.h"

namespace zr3test {

zr3::Lines Describe(const zr3::ZR3Base& record) {
  zr3::Lines lines;
  record.Describe(lines);
  return lines;
}

std::string LineStarting(const zr3::Lines& lines, const std::string& label) {
  auto found = std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.starts_with(label); });
  return found == lines.end() ? "(no line " + label + ")" : *found;
}

std::size_t RecordOffset(const LevelBuilder& builder, zr3::Category category, std::size_t index,
                         std::size_t recordSize) {
  const std::string section(zr3::InfoOf(category).sectionName);
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == section) return offset + 2 + index * recordSize;
  }
  throw std::logic_error("no section " + section);
}

std::string LoadFailure(const LevelBuilder& builder, zr3::ZR3Level& level) {
  try {
    level.LoadFromBytes(builder.Build().Bytes());
  } catch (const zr3::ZR3Error& error) {
    return error.what();
  }
  return "";
}

}  // namespace zr3test
