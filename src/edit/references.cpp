#include "edit/references.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>
#include <vector>

#include "edit/edit_common.h"

namespace zr3 {

namespace {

ReferencePlace Place(std::string_view label, Category list, bool selfExcluded = false) {
  return ReferencePlace{.label = label, .list = list, .selfExcluded = selfExcluded};
}

ReferencePlace InfoPlace(std::string_view line, InfoQuery query) {
  return ReferencePlace{.label = line, .infoQuery = query};
}

struct TableEntry {
  std::vector<ReferencePlace> places;
  std::vector<std::size_t> searchOrder;
  std::vector<std::size_t> deletionOrder;
};

using Table = std::array<TableEntry, kCategoryCount>;

// The category's own places in search order, then the four script lists (in the order both
// the search and the deletion check ask them). The deletion check asks the own places in
// ownDeletionOrder when it is given, and the scripts last.
void Set(Table& table, Category category, std::vector<ReferencePlace> own,
         std::vector<std::size_t> ownDeletionOrder = {}) {
  TableEntry& entry = table[IndexOf(category)];
  entry.places = std::move(own);
  const bool selfExcluded = IsScriptCategory(category);
  for (const auto& [label, list] : {std::pair{"Global script: ", Category::GlobalScripts},
                                    std::pair{"Object script: ", Category::ObjectScripts},
                                    std::pair{"Startup script: ", Category::StartupScripts},
                                    std::pair{"Death script: ", Category::DeathScripts}}) {
    entry.places.push_back(Place(label, list, selfExcluded));
  }
  entry.searchOrder.resize(entry.places.size());
  std::iota(entry.searchOrder.begin(), entry.searchOrder.end(), std::size_t{0});
  entry.deletionOrder = entry.searchOrder;
  std::copy(ownDeletionOrder.begin(), ownDeletionOrder.end(), entry.deletionOrder.begin());
}

Table BuildTable() {
  Table table;
  Set(table, Category::Maps, {Place("Object: ", Category::Objects)});
  Set(table, Category::Tiles,
      {Place("Map: ", Category::Maps), Place("Monster: ", Category::Monsters)});
  for (Category category :
       {Category::Objects, Category::GlobalScripts, Category::DeathScripts,
        Category::StartupScripts, Category::Flags, Category::Shops, Category::Monsters,
        Category::Texts, Category::Characters, Category::Songs, Category::Lists}) {
    Set(table, category, {});
  }
  // Only object scripts are named by other kinds; the deletion check asks the objects after
  // the spells.
  Set(table, Category::ObjectScripts,
      {Place("Item: ", Category::Items), Place("Object: ", Category::Objects),
       Place("List: ", Category::Lists), Place("Monster: ", Category::Monsters),
       Place("Spell: ", Category::Spells)},
      {0, 2, 3, 4, 1});
  Set(table, Category::Groups,
      {Place("Item: ", Category::Items), Place("Spell: ", Category::Spells),
       Place("Monster: ", Category::Monsters)});
  Set(table, Category::Items,
      {Place("Shop: ", Category::Shops), Place("Monster: ", Category::Monsters)});
  Set(table, Category::Spells,
      {Place("Spell: ", Category::Spells, true), Place("Monster: ", Category::Monsters)});
  Set(table, Category::Palettes,
      {InfoPlace("General: Default palette", [](const ZR3LevelInfo& info, const ZR3Base& target) {
        return info.palette.RefersTo(target);
      })});
  Set(table, Category::Graphics,
      {InfoPlace("General: Background",
                 [](const ZR3LevelInfo& info, const ZR3Base& target) {
                   return info.background.RefersTo(target);
                 }),
       InfoPlace("General: Combat Screen",
                 [](const ZR3LevelInfo& info, const ZR3Base& target) {
                   return info.combatScreen.RefersTo(target);
                 }),
       InfoPlace("General: Inventory Screen", [](const ZR3LevelInfo& info, const ZR3Base& target) {
         return info.inventoryScreen.RefersTo(target);
       })});
  return table;
}

const TableEntry& EntryOf(Category category) {
  static const Table table = BuildTable();
  return table[IndexOf(category)];
}

// Calls visit with the line of every referrer and the record it names, in the given order,
// until visit answers false.
template <class Visit>
void VisitReferrers(const ZR3Level& level, Category category, std::size_t index,
                    std::span<const std::size_t> order, Visit visit) {
  const ZR3Base& target = RecordOf(level, category, index);
  const std::span<const ReferencePlace> places = ReferrersOf(category).places;
  for (std::size_t p : order) {
    const ReferencePlace& place = places[p];
    if (place.infoQuery) {
      if (place.infoQuery(level.Info(), target) &&
          !visit(std::string(place.label), NamedRecord{})) {
        return;
      }
      continue;
    }
    const RecordList& list = level.List(place.list);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const ZR3Base& referrer = *list[i];
      if (place.selfExcluded && &referrer == &target) continue;
      if (referrer.RefersTo(target, category) &&
          !visit(std::string(place.label) + referrer.Name(), NamedRecord{place.list, i})) {
        return;
      }
    }
  }
}

}  // namespace

Referrers ReferrersOf(Category category) {
  const TableEntry& entry = EntryOf(category);
  return Referrers{entry.places, entry.searchOrder, entry.deletionOrder};
}

ResultLines FindReferences(const ZR3Level& level, Category category, std::size_t index) {
  // The heading names the record searched, so that a viewer can go back to it.
  ResultLines lines{{"Search results for " + RecordOf(level, category, index).Name(),
                     NamedRecord{category, index}},
                    {}};
  VisitReferrers(level, category, index, ReferrersOf(category).searchOrder,
                 [&lines](std::string line, NamedRecord referrer) {
                   lines.push_back({std::move(line), referrer});
                   return true;
                 });
  return lines;
}

Lines SearchReferences(const ZR3Level& level, Category category, std::size_t index) {
  return TextOf(FindReferences(level, category, index));
}

std::optional<std::string> FirstReferrer(const ZR3Level& level, Category category,
                                         std::size_t index) {
  std::optional<std::string> first;
  VisitReferrers(level, category, index, ReferrersOf(category).deletionOrder,
                 [&first](std::string line, NamedRecord) {
                   first = std::move(line);
                   return false;
                 });
  return first;
}

}  // namespace zr3
