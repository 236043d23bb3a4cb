// Script text bytes -> import into the demo level -> export every script -> save to memory.
// A refused import must leave the level exactly as it was.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "level/file_source.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace {

std::string ExportAll(const zr3::ZR3Level& level) {
  zr3::Lines lines;
  for (zr3::Category category : {zr3::Category::GlobalScripts, zr3::Category::DeathScripts,
                                 zr3::Category::ObjectScripts, zr3::Category::StartupScripts}) {
    for (const auto& record : level.List(category)) {
      static_cast<const zr3::ZR3Script&>(*record).ExportText(lines);
    }
  }
  return zr3::JoinLinesCrLf(lines);
}

// The demo level, loaded again only after an import changed it.
struct Demo {
  std::string bytes = zr3::ReadWholeFile(ZR3_DEMO_PATH);
  std::unique_ptr<zr3::ZR3Level> level;
  std::string exported;

  zr3::ZR3Level& Fresh() {
    if (!level || level->Modified()) {
      level = std::make_unique<zr3::ZR3Level>();
      level->LoadFromBytes(bytes);
      exported = ExportAll(*level);
    }
    return *level;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Demo demo;
  zr3::ZR3Level& level = demo.Fresh();
  zr3::ZR3Importer importer(level);
  try {
    importer.ImportText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const zr3::ZR3Error&) {
    if (level.Modified() || ExportAll(level) != demo.exported) __builtin_trap();
  }
  zr3::Lines report;
  importer.AppendReport(report);
  if (!level.Modified()) return 0;
  ExportAll(level);
  try {
    level.SaveToBytes();
  } catch (const zr3::ZR3Error&) {
    // Refusing to save is a clear answer, not a crash.
  }
  return 0;
}
