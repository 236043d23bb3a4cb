// Damaged level bytes -> three versions (the demo level as the base, the input as ours, the
// input with one byte changed as theirs) -> a merge. A version that does not load is refused
// with a message (zr3 merge exits 2 with it and writes nothing); a merge of loaded versions
// never crashes, its conflicts file reads back as written, and a version merged with itself
// has no conflict.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_levels.h"
#include "level/file_source.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "merge/level_merge.h"
#include "merge/merge_conflicts.h"

namespace {

// Merges as the command does; a refusal must say why.
void Merge(const zr3::ZR3Level& base, std::string_view ours, const zr3::ZR3Level& theirs,
           bool itself) {
  const std::unique_ptr<zr3::ZR3Level> merged = LoadOrNone(ours);
  if (!merged) __builtin_trap();
  try {
    const std::vector<zr3::merge::MergeConflict> conflicts =
        zr3::merge::MergeLevels(base, *merged, theirs);
    if (itself && !conflicts.empty()) __builtin_trap();
    if (zr3::merge::ConflictsFromJson(zr3::merge::ConflictsToJson(conflicts)) != conflicts) {
      __builtin_trap();
    }
    merged->SaveToBytes();
  } catch (const zr3::ZR3Error& error) {
    if (std::string_view(error.what()).empty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<zr3::ZR3Level> demo = LoadOrNone(zr3::ReadWholeFile(ZR3_DEMO_PATH));
  const std::string ours(reinterpret_cast<const char*>(data), size);
  std::string theirs = ours;
  if (!theirs.empty()) theirs[(data[0] * 7919u + size / 2) % size] ^= 0x01;
  const std::unique_ptr<zr3::ZR3Level> ourLevel = LoadOrNone(ours);
  const std::unique_ptr<zr3::ZR3Level> theirLevel = LoadOrNone(theirs);
  if (!ourLevel) return 0;
  Merge(*ourLevel, ours, *ourLevel, true);
  if (theirLevel) {
    Merge(*ourLevel, ours, *theirLevel, false);
    if (demo) Merge(*demo, ours, *theirLevel, false);
  }
  return 0;
}
