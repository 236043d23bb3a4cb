// Damaged level bytes -> two versions (the input, and the input with one more byte changed) ->
// diff both ways and against the demo level. A level that does not load is refused with a
// message (zr3 diff exits 2 with it); a level compared with itself shows no difference.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "fuzz_levels.h"
#include "level/file_source.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace {

void Compare(const zr3::ZR3Level& before, const zr3::ZR3Level& after) {
  const zr3::compare::LevelDiff diff = zr3::compare::CompareLevels(before, after);
  zr3::compare::ReportLines(diff, zr3::compare::Colour::Always);
  zr3::compare::StatLines(diff);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<zr3::ZR3Level> demo = LoadOrNone(zr3::ReadWholeFile(ZR3_DEMO_PATH));
  const std::string first(reinterpret_cast<const char*>(data), size);
  std::string second = first;
  if (!second.empty()) second[(data[0] * 7919u + size / 2) % size] ^= 0x01;
  const std::unique_ptr<zr3::ZR3Level> before = LoadOrNone(first);
  const std::unique_ptr<zr3::ZR3Level> after = LoadOrNone(second);
  if (before) {
    if (!zr3::compare::CompareLevels(*before, *before).Empty()) __builtin_trap();
    if (demo) Compare(*demo, *before);
  }
  if (before && after) {
    Compare(*before, *after);
    Compare(*after, *before);
  }
  return 0;
}
