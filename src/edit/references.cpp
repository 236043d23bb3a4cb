#include "edit/references.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "edit/edit_common.h"
#include "records/zr3item.h"
#include "records/zr3list.h"
#include "records/zr3map.h"
#include "records/zr3monster.h"
#include "records/zr3object.h"
#include "records/zr3shop.h"
#include "records/zr3spell.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

template <class Referrer, bool (Referrer::*Query)(const ZR3Base&) const>
bool Ask(const ZR3Base& referrer, const ZR3Base& target) {
  return (static_cast<const Referrer&>(referrer).*Query)(target);
}

template <class Referrer, bool (Referrer::*Query)(const ZR3Base&) const>
ReferencePlace Place(std::string_view label, Category list, bool selfExcluded = false) {
  return ReferencePlace{
      .label = label, .list = list, .query = &Ask<Referrer, Query>, .selfExcluded = selfExcluded};
}

ReferencePlace InfoPlace(std::string_view line, ZR3ChainRecord* ZR3LevelInfo::*field) {
  return ReferencePlace{.label = line, .infoField = field};
}

struct TableEntry {
  std::vector<ReferencePlace> places;
  std::vector<std::size_t> searchOrder;
  std::vector<std::size_t> deletionOrder;
};

using Table = std::array<TableEntry, kCategoryCount>;

using ScriptQuery = bool (ZR3Script::*)(const ZR3Base&) const;

// The four script lists, in the order both the search and the deletion check ask them.
template <ScriptQuery Query>
std::vector<ReferencePlace> ScriptPlaces(bool selfExcluded) {
  return {Place<ZR3Script, Query>("Global script: ", Category::GlobalScripts, selfExcluded),
          Place<ZR3Script, Query>("Object script: ", Category::ObjectScripts, selfExcluded),
          Place<ZR3Script, Query>("Startup script: ", Category::StartupScripts, selfExcluded),
          Place<ZR3Script, Query>("Death script: ", Category::DeathScripts, selfExcluded)};
}

// The category's own places in search order, then the script lists asked Query. The deletion
// check asks the own places in ownDeletionOrder when it is given, and the scripts last.
template <ScriptQuery Query>
void Set(Table& table, Category category, std::vector<ReferencePlace> own,
         std::vector<std::size_t> ownDeletionOrder = {}) {
  TableEntry& entry = table[IndexOf(category)];
  entry.places = std::move(own);
  for (ReferencePlace& place : ScriptPlaces<Query>(IsScriptCategory(category))) {
    entry.places.push_back(place);
  }
  entry.searchOrder.resize(entry.places.size());
  std::iota(entry.searchOrder.begin(), entry.searchOrder.end(), std::size_t{0});
  entry.deletionOrder = entry.searchOrder;
  std::copy(ownDeletionOrder.begin(), ownDeletionOrder.end(), entry.deletionOrder.begin());
}

Table BuildTable() {
  Table table;
  Set<&ZR3Script::RefersToMap>(
      table, Category::Maps,
      {Place<ZR3Object, &ZR3Object::RefersToMap>("Object: ", Category::Objects)});
  Set<&ZR3Script::RefersToTile>(
      table, Category::Tiles,
      {Place<ZR3Map, &ZR3Map::RefersToTile>("Map: ", Category::Maps),
       Place<ZR3Monster, &ZR3Monster::RefersToTile>("Monster: ", Category::Monsters)});
  Set<&ZR3Script::RefersToObject>(table, Category::Objects, {});
  for (Category scripts :
       {Category::GlobalScripts, Category::DeathScripts, Category::StartupScripts}) {
    Set<&ZR3Script::RefersToScript>(table, scripts, {});
  }
  // Only object scripts are named by other kinds; the deletion check asks the objects after
  // the spells.
  Set<&ZR3Script::RefersToScript>(
      table, Category::ObjectScripts,
      {Place<ZR3Item, &ZR3Item::RefersToScript>("Item: ", Category::Items),
       Place<ZR3Object, &ZR3Object::RefersToScript>("Object: ", Category::Objects),
       Place<ZR3List, &ZR3List::RefersToScript>("List: ", Category::Lists),
       Place<ZR3Monster, &ZR3Monster::RefersToScript>("Monster: ", Category::Monsters),
       Place<ZR3Spell, &ZR3Spell::RefersToScript>("Spell: ", Category::Spells)},
      {0, 2, 3, 4, 1});
  Set<&ZR3Script::RefersToFlag>(table, Category::Flags, {});
  // Scripts name only flags, never groups, so their answer for a group is always no.
  Set<&ZR3Script::RefersToFlag>(
      table, Category::Groups,
      {Place<ZR3Item, &ZR3Item::RefersToGroup>("Item: ", Category::Items),
       Place<ZR3Spell, &ZR3Spell::RefersToGroup>("Spell: ", Category::Spells),
       Place<ZR3Monster, &ZR3Monster::RefersToGroup>("Monster: ", Category::Monsters)});
  Set<&ZR3Script::RefersToItem>(
      table, Category::Items,
      {Place<ZR3Shop, &ZR3Shop::RefersToItem>("Shop: ", Category::Shops),
       Place<ZR3Monster, &ZR3Monster::RefersToItem>("Monster: ", Category::Monsters)});
  Set<&ZR3Script::RefersToSpell>(
      table, Category::Spells,
      {Place<ZR3Spell, &ZR3Spell::RefersToSpell>("Spell: ", Category::Spells, true),
       Place<ZR3Monster, &ZR3Monster::RefersToSpell>("Monster: ", Category::Monsters)});
  Set<&ZR3Script::RefersToShop>(table, Category::Shops, {});
  Set<&ZR3Script::RefersToMonster>(table, Category::Monsters, {});
  Set<&ZR3Script::RefersToPalette>(table, Category::Palettes,
                                   {InfoPlace("General: Default palette", &ZR3LevelInfo::palette)});
  Set<&ZR3Script::RefersToText>(table, Category::Texts, {});
  Set<&ZR3Script::RefersToCharacterSet>(table, Category::Characters, {});
  Set<&ZR3Script::RefersToSong>(table, Category::Songs, {});
  Set<&ZR3Script::RefersToGraphic>(
      table, Category::Graphics,
      {InfoPlace("General: Background", &ZR3LevelInfo::background),
       InfoPlace("General: Combat Screen", &ZR3LevelInfo::combatScreen),
       InfoPlace("General: Inventory Screen", &ZR3LevelInfo::inventoryScreen)});
  Set<&ZR3Script::RefersToList>(table, Category::Lists, {});
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
    if (place.infoField) {
      if (level.Info().*place.infoField == &target &&
          !visit(std::string(place.label), NamedRecord{})) {
        return;
      }
      continue;
    }
    const RecordList& list = level.List(place.list);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const ZR3Base& referrer = *list[i];
      if (place.selfExcluded && &referrer == &target) continue;
      if (place.query(referrer, target) &&
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
