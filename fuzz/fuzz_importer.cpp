// Script text bytes -> import into the demo level -> export every script -> save to memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/safefile.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace {

const std::string& DemoBytes() {
  static const std::string bytes = zr3::ReadWholeFile(ZR3_DEMO_PATH);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each input gets a fresh level: an import changes it.
  zr3::ZR3Level level;
  level.LoadFromBytes(DemoBytes());
  zr3::ZR3Importer importer(level);
  try {
    importer.ImportText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const zr3::ZR3Error&) {
    // A refused file leaves the level as it was; it must still export and save.
  }
  zr3::Lines lines;
  importer.AppendReport(lines);
  for (zr3::Category category : {zr3::Category::GlobalScripts, zr3::Category::DeathScripts,
                                 zr3::Category::ObjectScripts, zr3::Category::StartupScripts}) {
    for (const auto& record : level.List(category)) {
      static_cast<const zr3::ZR3Script&>(*record).ExportText(lines);
      record->Describe(lines);
    }
  }
  try {
    const std::string saved = level.SaveToBytes();
    zr3::ZR3Level reread;
    reread.LoadFromBytes(saved);
  } catch (const zr3::ZR3Error&) {
    // Refusing to save is a clear answer, not a crash.
  }
  return 0;
}
