// Text pasted as records into the demo level: a paste that is refused leaves the level exactly
// as it was; one that is taken adds its records and the level still saves.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "json/json_clip.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace {

std::size_t RecordCount(const zr3::ZR3Level& level) {
  std::size_t count = 0;
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    count += level.List(static_cast<zr3::Category>(c)).size();
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string demo = [] {
    std::ifstream file(ZR3_DEMO_PATH, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }();
  zr3::ZR3Level level;
  level.LoadFromBytes(demo);
  const std::size_t before = RecordCount(level);
  const std::string saved = level.SaveToBytes();
  zr3::json::PasteResult pasted;
  try {
    pasted = zr3::json::PasteRecordsJson(
        level, std::string_view(reinterpret_cast<const char*>(data), size),
        zr3::NamedRecord{zr3::Category::Items, 0});
  } catch (const zr3::ZR3Error&) {
    if (RecordCount(level) != before || level.SaveToBytes() != saved) __builtin_trap();
    return 0;
  }
  if (RecordCount(level) != before + pasted.placed.size()) __builtin_trap();
  try {
    level.SaveToBytes();
  } catch (const zr3::ZR3Error&) {
    // Refusing to save (a position beyond its 16-bit field) is a clear answer, not a crash.
  }
  return 0;
}
