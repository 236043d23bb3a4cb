#include "level/bytes.h"
#include "level/record_factory.h"
#include "records/zr3character.h"
#include "records/zr3graphic.h"
#include "records/zr3item.h"
#include "records/zr3list.h"
#include "records/zr3map.h"
#include "records/zr3monster.h"
#include "records/zr3object.h"
#include "records/zr3palette.h"
#include "records/zr3shop.h"
#include "records/zr3song.h"
#include "records/zr3spell.h"
#include "records/zr3string.h"
#include "records/zr3text.h"
#include "records/zr3tile.h"
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
    case Category::Items:
      return in ? Make<ZR3Item>(*in) : Make<ZR3Item>();
    case Category::Spells:
      return in ? Make<ZR3Spell>(*in) : Make<ZR3Spell>();
    case Category::Shops:
      return in ? Make<ZR3Shop>(*in) : Make<ZR3Shop>();
    case Category::Monsters:
      return in ? Make<ZR3Monster>(*in) : Make<ZR3Monster>();
    case Category::Palettes:
      return in ? Make<ZR3Palette>(*in) : Make<ZR3Palette>();
    case Category::Texts:
      return in ? Make<ZR3Text>(*in) : Make<ZR3Text>();
    case Category::Songs:
      return in ? Make<ZR3Song>(*in) : Make<ZR3Song>();
    case Category::Characters:
      return in ? Make<ZR3Character>(*in) : Make<ZR3Character>();
    case Category::Lists:
      return in ? Make<ZR3List>(*in) : Make<ZR3List>();
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

// Every record kind, installed into the level before main runs. This file is linked into each
// program as an object of its own, so that no linker drops it.
[[maybe_unused]] const bool kInstalled =
    InstallRecordKinds({[](Category category, ByteReader& in) { return Create(category, &in); },
                        [](Category category) { return Create(category, nullptr); }});

}  // namespace

}  // namespace zr3
