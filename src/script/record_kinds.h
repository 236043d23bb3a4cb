#pragma once

#include <array>

#include "level/category.h"
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

// Calls visit.template operator()<Kind>() with the record kind of the category's list, so that
// a template over the field list is instantiated once per kind. The one place that maps a
// list to its kind: the record factory and the JSON form go through it.
template <class Visit>
decltype(auto) WithKind(Category category, Visit&& visit) {
  switch (category) {
    case Category::Maps:
      return visit.template operator()<ZR3Map>();
    case Category::Tiles:
      return visit.template operator()<ZR3Tile>();
    case Category::Objects:
      return visit.template operator()<ZR3Object>();
    case Category::Graphics:
      return visit.template operator()<ZR3Graphic>();
    case Category::Items:
      return visit.template operator()<ZR3Item>();
    case Category::Spells:
      return visit.template operator()<ZR3Spell>();
    case Category::Shops:
      return visit.template operator()<ZR3Shop>();
    case Category::Monsters:
      return visit.template operator()<ZR3Monster>();
    case Category::Palettes:
      return visit.template operator()<ZR3Palette>();
    case Category::Texts:
      return visit.template operator()<ZR3Text>();
    case Category::Songs:
      return visit.template operator()<ZR3Song>();
    case Category::Characters:
      return visit.template operator()<ZR3Character>();
    case Category::Lists:
      return visit.template operator()<ZR3List>();
    case Category::GlobalScripts:
    case Category::DeathScripts:
    case Category::ObjectScripts:
    case Category::StartupScripts:
      return visit.template operator()<ZR3Script>();
    case Category::Flags:
    case Category::Groups:
    case Category::CustomText:
      break;
  }
  return visit.template operator()<ZR3String>();
}

// The counted lists in file order: the document's arrays of records.
inline constexpr std::array<Category, 17> kRecordLists = [] {
  std::array<Category, 17> lists{};
  std::size_t count = 0;
  for (const Category category : kFileOrder) {
    if (!IsFixedTable(category)) lists[count++] = category;
  }
  return lists;
}();

// The fixed tables in the document's order: arrays of names.
inline constexpr std::array<Category, 3> kNameTables = {Category::CustomText, Category::Flags,
                                                        Category::Groups};

}  // namespace zr3
