#include "script/record_kinds.h"

#include "level/bytes.h"
#include "level/record_factory.h"

namespace zr3 {

namespace {

// Reads one record when in is given, otherwise makes an empty one.
std::unique_ptr<ZR3Base> Create(Category category, ByteReader* in) {
  return WithKind(category, [&]<class Record>() -> std::unique_ptr<ZR3Base> {
    if constexpr (std::is_same_v<Record, ZR3Script>) {
      const auto kind = static_cast<std::uint8_t>(ScriptKindOf(category));
      return in ? std::make_unique<ZR3Script>(*in, kind) : std::make_unique<ZR3Script>(kind);
    } else {
      return in ? std::make_unique<Record>(*in) : std::make_unique<Record>();
    }
  });
}

// Every record kind, installed into the level before main runs. This file is linked into each
// program as an object of its own, so that no linker drops it.
[[maybe_unused]] const bool kInstalled =
    InstallRecordKinds({[](Category category, ByteReader& in) { return Create(category, &in); },
                        [](Category category) { return Create(category, nullptr); }});

}  // namespace

}  // namespace zr3
