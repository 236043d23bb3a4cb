#include "level/record_factory.h"

#include "level/bytes.h"
#include "records/zr3graphic.h"
#include "records/zr3map.h"
#include "records/zr3object.h"
#include "records/zr3string.h"
#include "records/zr3tile.h"

namespace zr3 {

namespace {

template <class Record, class... Args>
std::unique_ptr<ZR3Base> Make(Args&&... args) {
  return std::make_unique<Record>(std::forward<Args>(args)...);
}

// Reads one record when in is given, otherwise makes an empty one.
std::unique_ptr<ZR3Base> Create(Category category, ByteReader* in) {
  switch (category) {
    case Category::Maps:
      return in ? Make<ZR3Map>(*in) : Make<ZR3Map>();
    case Category::Tiles:
      return in ? Make<ZR3Tile>(*in) : Make<ZR3Tile>();
    case Category::Objects:
      return in ? Make<ZR3Object>(*in) : Make<ZR3Object>();
    case Category::Graphics:
      return in ? Make<ZR3Graphic>(*in) : Make<ZR3Graphic>();
    case Category::Flags:
    case Category::Groups:
    case Category::CustomText:
      return in ? Make<ZR3String>(*in) : Make<ZR3String>();
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<ZR3Base> ReadRecord(Category category, ByteReader& in) {
  return Create(category, &in);
}

std::unique_ptr<ZR3Base> NewRecord(Category category) {
  return Create(category, nullptr);
}

}  // namespace zr3
