#include "render/image_path.h"

#include "level/zr3base.h"
#include "records/zr3graphic.h"
#include "records/zr3monster.h"
#include "records/zr3object.h"
#include "records/zr3tile.h"

namespace zr3::render {

namespace {

// The path of the record when it is a Kind, or none.
template <class Kind>
const std::string* PathIf(const ZR3Base& record) {
  const auto* kind = dynamic_cast<const Kind*>(&record);
  return kind ? &kind->ImagePath() : nullptr;
}

}  // namespace

std::string ImagePathOf(const ZR3Base& record) {
  for (const std::string* path : {PathIf<ZR3Tile>(record), PathIf<ZR3Object>(record),
                                  PathIf<ZR3Graphic>(record), PathIf<ZR3Monster>(record)}) {
    if (path) return *path;
  }
  return {};
}

}  // namespace zr3::render
