#include "level/record_factory.h"

#include "level/bytes.h"
#include "records/zr3string.h"
#include "script/zr3script.h"

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
    case Category::GlobalScripts:
    case Category::DeathScripts:
    case Category::ObjectScripts:
    case Category::StartupScripts: {
      const auto kind = static_cast<std::uint8_t>(ScriptKindOf(category));
      return in ? Make<ZR3Script>(*in, kind) : Make<ZR3Script>(kind);
    }
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<ZR3Base> ReadRecord(Category category, ByteReader& in) {
  return Create(category, &in);
}

std::unique_ptr<ZR3Base> NewRecord(Category category) { return Create(category, nullptr); }

}  // namespace zr3
