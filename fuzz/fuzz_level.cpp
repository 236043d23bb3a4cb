// Level bytes in memory -> load -> link -> describe every record -> level text -> save.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "level/zr3error.h"
#include "level/zr3level.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zr3::ZR3Level level;
  try {
    level.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const zr3::ZR3Error&) {
    // A refused file must still describe and export what was read.
  }
  zr3::Lines lines;
  level.DescribeInfo(lines);
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    for (const auto& record : level.List(static_cast<zr3::Category>(c))) record->Describe(lines);
  }
  const std::string text = level.LevelText();
  if (level.Loaded()) {
    try {
      const std::string saved = level.SaveToBytes();
      zr3::ZR3Level reread;
      reread.LoadFromBytes(saved);
    } catch (const zr3::ZR3Error&) {
      // Refusing to save (a list too long for its count) is a clear answer, not a crash.
    }
  }
  return 0;
}
