#include "level/record_factory.h"

#include "level/bytes.h"
#include "records/zr3item.h"
#include "records/zr3spell.h"
#include "records/zr3monster.h"
#include "records/zr3shop.h"
#include "records/zr3string.h"

namespace zr3 {

namespace {

template <class Record, class... Args>
std::unique_ptr<ZR3Base> Make(Args&&... args) {
  return std::make_unique<Record>(std::forward<Args>(args)...);
}

// Reads one record when in is given, otherwise makes an empty one.
std::unique_ptr<ZR3Base> Create(Category category, ByteReader* in) {
  switch (category) {
    case Category::Flags:
    case Category::Groups:
    case Category::CustomText:
      return in ? Make<ZR3String>(*in) : Make<ZR3String>();
    case Category::Items:
      return in ? Make<ZR3Item>(*in) : Make<ZR3Item>();
    case Category::Spells:
      return in ? Make<ZR3Spell>(*in) : Make<ZR3Spell>();
    case Category::Shops:
      return in ? Make<ZR3Shop>(*in) : Make<ZR3Shop>();
    case Category::Monsters:
      return in ? Make<ZR3Monster>(*in) : Make<ZR3Monster>();
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
