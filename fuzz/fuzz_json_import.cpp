// JSON bytes -> import -> save; an accepted document exports again to a document that imports
// to a level saving the same bytes. A refused document builds no level at all.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "json/json_export.h"
#include "json/json_import.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<zr3::ZR3Level> level;
  try {
    level = zr3::json::ImportLevelJson(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const zr3::json::JsonImportError&) {
    return 0;
  }
  std::string saved;
  try {
    saved = level->SaveToBytes();
  } catch (const zr3::ZR3Error&) {
    // Refusing to save (a position beyond its 16-bit field) is a clear answer, not a crash.
    return 0;
  }
  const std::unique_ptr<zr3::ZR3Level> again =
      zr3::json::ImportLevelJson(zr3::json::LevelJson(*level));
  if (again->SaveToBytes() != saved) __builtin_trap();
  return 0;
}
