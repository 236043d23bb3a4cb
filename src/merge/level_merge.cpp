#include "merge/level_merge.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "compare/record_matching.h"
#include "edit/creation.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "json/json_export.h"
#include "level/field_access.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "script/zr3script.h"

namespace zr3::merge {

namespace {

using compare::RecordMatching;
constexpr std::size_t kNone = RecordMatching::kNone;

// What each side made of the records of one base list, by base index.
struct ListSides {
  std::vector<ZR3Base*> ours;          // none where ours deleted it
  std::vector<const ZR3Base*> theirs;  // none where theirs deleted it
  std::vector<bool> oursSame;          // nothing but identifiers differ from the base
  std::vector<bool> theirsSame;
  std::vector<bool> oursMoved;
  std::vector<bool> theirsMoved;
  std::vector<std::size_t> baseOfTheirs;  // by theirs index: the base index, or kNone
};

// The three versions of one record being merged; base is none for a record theirs added, and
// all three for the level information.
struct RecordSides {
  std::optional<Category> list;
  const ZR3Base* base;
  ZR3Base* ours;
  const ZR3Base* theirs;
  bool added;
};

// A conflict found before the merged level has its final order.
struct FoundConflict {
  ConflictKind kind;
  std::optional<Category> list;
  ConflictPlace place;
  const ZR3Base* base;
  const ZR3Base* ours;  // in the merged level; none where ours deleted the record
  const ZR3Base* theirs;
  std::size_t baseIndex;
  // The values when they are not parts of the records' JSON (a palette colour).
  std::optional<std::array<std::string, 3>> values;
};

std::string CompactJson(const rapidjson::Value& value) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> out(buffer);
  value.Accept(out);
  return {buffer.GetString(), buffer.GetSize()};
}

// The value at the place within a record's JSON object: the member a field names ("items[3]"
// is element 3 of "items"), a cell's slot, or the whole object.
std::string ValueAt(const std::string& objectJson, const ConflictPlace& place) {
  rapidjson::Document document;
  document.Parse(objectJson.data(), objectJson.size());
  if (document.HasParseError() || !document.IsObject()) return "null";
  if (place.WholeRecord()) return CompactJson(document);
  const rapidjson::Value* value = nullptr;
  const rapidjson::Value& object = document;
  const auto member = [&](std::string_view key) -> const rapidjson::Value* {
    const std::string name(key);
    return object.HasMember(name.c_str()) ? &object[name.c_str()] : nullptr;
  };
  const auto element = [](const rapidjson::Value* array, std::size_t index) {
    return array && array->IsArray() && index < array->Size()
               ? &(*array)[static_cast<rapidjson::SizeType>(index)]
               : nullptr;
  };
  if (place.cell) {
    value = element(element(element(member("cells"), place.cell->row), place.cell->column),
                    place.cell->layer - 1);
  } else if (const std::size_t bracket = place.field.find('['); bracket != std::string::npos) {
    value = element(member(std::string_view(place.field).substr(0, bracket)),
                    std::stoul(place.field.substr(bracket + 1)));
  } else {
    value = member(place.field);
  }
  return value ? CompactJson(*value) : "null";
}

std::string ColourJson(const ZR3Palette& palette, std::size_t colour) {
  const auto* rgb = palette.Colours().data() + colour * ZR3Palette::kBytesPerColour;
  return '[' + std::to_string(rgb[0]) + ',' + std::to_string(rgb[1]) + ',' +
         std::to_string(rgb[2]) + ']';
}

// The plain fields of a record, a run's slots one by one. Parts merge slot by slot elsewhere,
// chain identifiers are replaced at every save, and a palette's colours merge one by one
// unless the whole record is taken.
std::vector<const FieldInfo*> PlainFields(const FieldList& fields, Category list, bool whole) {
  std::vector<const FieldInfo*> plain;
  for (const FieldInfo& field : fields) {
    if (field.kind == FieldKind::Run) {
      for (const FieldInfo& slot : field.elements) plain.push_back(&slot);
    } else if (field.kind != FieldKind::Part && field.kind != FieldKind::ChainId &&
               (whole || list != Category::Palettes || field.name != "colours")) {
      plain.push_back(&field);
    }
  }
  return plain;
}

// The field of the name, looked for first where it stands in the other list: versions of
// one kind list the same fields.
const FieldInfo* FindField(const std::vector<const FieldInfo*>& fields, std::size_t hint,
                           const std::string& name) {
  if (hint < fields.size() && fields[hint]->name == name) return fields[hint];
  for (const FieldInfo* field : fields) {
    if (field->name == name) return field;
  }
  return nullptr;
}

ZR3ScriptEntry& Slot(ZR3Script& script, bool command, std::size_t slot) {
  if (command) return script.Command(slot);
  return script.Condition(slot);
}
const ZR3ScriptEntry& Slot(const ZR3Script& script, bool command, std::size_t slot) {
  if (command) return script.Command(slot);
  return script.Condition(slot);
}

// The records each parameter of a script slot names, none for a plain number.
std::array<const ZR3Base*, ZR3ScriptEntry::kParameterCount> SlotRecords(
    const ZR3ScriptEntry& entry) {
  std::array<const ZR3Base*, ZR3ScriptEntry::kParameterCount> records{};
  for (const ReferenceStep& step : entry.StepsOf()) {
    if (!step.flag && step.parameter >= 0 &&
        static_cast<std::size_t>(step.parameter) < records.size()) {
      records[static_cast<std::size_t>(step.parameter)] = entry.Reference(step.reference);
    }
  }
  return records;
}

class Merger {
 public:
  Merger(const ZR3Level& base, ZR3Level& ours, const ZR3Level& theirs)
      : base_(base), ours_(ours), theirs_(theirs) {
    // The two matchings share the base's keys and read one side each: they run side by side.
    const compare::LevelKeys baseKeys(base);
    std::optional<RecordMatching> theirMatching;
    std::exception_ptr failure;
    std::thread matcher([&] {
      try {
        theirMatching.emplace(baseKeys, theirs);
      } catch (...) {
        failure = std::current_exception();
      }
    });
    std::optional<RecordMatching> ourMatching;
    try {
      ourMatching.emplace(baseKeys, ours);
    } catch (...) {
      matcher.join();
      throw;
    }
    matcher.join();
    if (failure) std::rethrow_exception(failure);
    const RecordMatching& toOurs = *ourMatching;
    const RecordMatching& toTheirs = *theirMatching;
    for (const Category list : kFileOrder) {
      ListSides& sides = sides_[IndexOf(list)];
      const RecordList& baseList = base.List(list);
      const std::size_t count = baseList.size();
      sides.ours.assign(count, nullptr);
      sides.theirs.assign(count, nullptr);
      sides.oursSame.assign(count, false);
      sides.theirsSame.assign(count, false);
      sides.oursMoved.assign(count, false);
      sides.theirsMoved.assign(count, false);
      for (std::size_t i = 0; i < count; ++i) {
        const ZR3Base* baseRecord = baseList[i].get();
        if (const std::size_t o = toOurs.NewIndexOf(list, i); o != kNone) {
          sides.ours[i] = ours.List(list)[o].get();
          canonical_[sides.ours[i]] = baseRecord;
          sides.oursSame[i] = toOurs.SameContent(list, i);
          sides.oursMoved[i] = toOurs.Moved(list, i);
        }
        if (const std::size_t t = toTheirs.NewIndexOf(list, i); t != kNone) {
          sides.theirs[i] = theirs.List(list)[t].get();
          canonical_[sides.theirs[i]] = baseRecord;
          if (sides.ours[i]) merged_[sides.theirs[i]] = sides.ours[i];
          sides.theirsSame[i] = toTheirs.SameContent(list, i);
          sides.theirsMoved[i] = toTheirs.Moved(list, i);
        }
      }
      const std::size_t theirCount = theirs.List(list).size();
      sides.baseOfTheirs.resize(theirCount);
      for (std::size_t j = 0; j < theirCount; ++j) {
        sides.baseOfTheirs[j] = toTheirs.OldIndexOf(list, j);
      }
    }
  }

  std::vector<MergeConflict> Run() {
    for (const Category list : kFileOrder) {
      if (!IsFixedTable(list)) PlaceRecords(list);
    }
    MergeFields({std::nullopt, nullptr, nullptr, nullptr, false}, FieldOwner{},
                base_.Info().Fields(), ours_.Info().Fields(), theirs_.Info().Fields());
    for (const std::size_t side : {0u, 1u}) {
      for (const auto& tile : (side == 0 ? ours_ : theirs_).List(Category::Tiles)) {
        tileCanonical_[side].push_back(Canonical(tile.get()));
      }
    }
    for (const Category list : kFileOrder) MergeContent(list);
    for (const Category list : kFileOrder) {
      if (!IsFixedTable(list)) DeleteRecords(list);
    }
    return Conflicts();
  }

 private:
  // The base record a record of either side stands for, or the record itself when its side
  // added it: one identity for a record across the three versions.
  const ZR3Base* Canonical(const ZR3Base* record) const {
    const auto found = canonical_.find(record);
    return found == canonical_.end() ? record : found->second;
  }
  // The merged record a record of theirs became; none when ours deleted it.
  ZR3Base* Merged(const ZR3Base* theirs) const {
    const auto found = merged_.find(theirs);
    return found == merged_.end() ? nullptr : found->second;
  }

  std::string Token(const FieldInfo& field) const {
    if ((field.kind == FieldKind::Reference || field.kind == FieldKind::Position) &&
        field.resolved) {
      return '@' + std::to_string(reinterpret_cast<std::uintptr_t>(Canonical(field.resolved)));
    }
    return field.value;
  }
  // A map's cell slot as one key across the versions; tiles is the tile list's canonical
  // records by position on the map's side (none for the base, whose records are their own).
  std::uint64_t CellKey(const ZR3Map& map, const std::vector<const ZR3Base*>* tiles, int row,
                        int column, std::size_t slot) const {
    if (row >= map.Side() || column >= map.Side()) return 0;
    if (const ZR3ChainRecord* tile = map.CellTile(row, column, slot)) {
      const auto position = static_cast<std::size_t>(tile->Position());
      return reinterpret_cast<std::uintptr_t>(!tiles                     ? tile
                                              : position < tiles->size() ? (*tiles)[position]
                                                                         : Canonical(tile));
    }
    // Records are aligned, so an odd key is never a record's.
    return (static_cast<std::uint64_t>(map.CellTileId(row, column, slot)) << 1) | 1u;
  }
  std::string SlotToken(const ZR3ScriptEntry& entry) const {
    const auto records = SlotRecords(entry);
    std::string token = std::to_string(entry.Code());
    for (std::size_t p = 0; p < records.size(); ++p) {
      token += ' ';
      token += records[p]
                   ? '@' + std::to_string(reinterpret_cast<std::uintptr_t>(Canonical(records[p])))
                   : std::to_string(entry.StoredParameters()[p]);
    }
    return token;
  }

  // Whether theirs' value is to be taken, from the three values' keys; a conflict is noted
  // when both sides changed it differently.
  template <class Key>
  bool TakeTheirs(const RecordSides& sides, const Key& base, const Key& ours, const Key& theirs,
                  const ConflictPlace& place) {
    if (theirs == ours) return false;
    if (sides.added) return true;
    if (theirs == base) return false;
    if (ours != base) {
      Found(ConflictKind::ChangedOnBoth, sides, place);
      return false;
    }
    return true;
  }

  void Found(ConflictKind kind, const RecordSides& sides, ConflictPlace place,
             std::optional<std::array<std::string, 3>> values = std::nullopt) {
    found_.push_back(
        {kind, sides.list, std::move(place), sides.base, sides.ours, sides.theirs, 0, values});
  }

  // Puts the records theirs added into ours' list, each group after the base record theirs
  // has before it and after the records ours added there, and takes theirs' moves of records
  // ours left in place.
  void PlaceRecords(Category list) {
    const ListSides& sides = sides_[IndexOf(list)];
    const RecordList& theirList = theirs_.List(list);
    std::unordered_map<const ZR3Base*, std::vector<ZR3Base*>> after;  // none: the front
    std::unordered_set<const ZR3Base*> moved;
    std::vector<std::unique_ptr<ZR3Base>> added;
    const ZR3Base* anchor = nullptr;
    for (std::size_t j = 0; j < theirList.size(); ++j) {
      const std::size_t b = sides.baseOfTheirs[j];
      if (b == kNone) {
        std::unique_ptr<ZR3Base> record = MakeRecord(list, theirList[j]->Name());
        merged_[theirList[j].get()] = record.get();
        after[anchor].push_back(record.get());
        added.push_back(std::move(record));
      } else if (ZR3Base* mine = sides.ours[b]) {
        if (sides.theirsMoved[b] && !sides.oursMoved[b]) {
          after[anchor].push_back(mine);
          moved.insert(mine);
        } else {
          anchor = mine;
        }
      }
    }
    if (after.empty()) return;

    RecordList& records = ours_.List(list);
    std::unordered_map<const ZR3Base*, std::unique_ptr<ZR3Base>> owned;
    std::vector<ZR3Base*> before;
    before.reserve(records.size());
    for (std::unique_ptr<ZR3Base>& record : records) {
      before.push_back(record.get());
      owned.emplace(record.get(), std::move(record));
    }
    for (std::unique_ptr<ZR3Base>& record : added) owned.emplace(record.get(), std::move(record));
    records.clear();
    const auto put = [&](ZR3Base* record) { records.push_back(std::move(owned.at(record))); };
    const auto putAfter = [&](const ZR3Base* record) {
      if (const auto group = after.find(record); group != after.end()) {
        for (ZR3Base* each : group->second) put(each);
      }
    };
    const ZR3Base* open = nullptr;
    for (ZR3Base* record : before) {
      if (moved.contains(record)) continue;
      if (canonical_.contains(record)) {
        putAfter(open);
        open = record;
      }
      put(record);
    }
    putAfter(open);
    ours_.Renumber(list, 0, records.size());
    ours_.SetModified(true);
  }

  void MergeContent(Category list) {
    const ListSides& sides = sides_[IndexOf(list)];
    const RecordList& baseList = base_.List(list);
    for (std::size_t b = 0; b < baseList.size(); ++b) {
      if (sides.ours[b] && sides.theirs[b] && !sides.theirsSame[b]) {
        MergeRecord({list, baseList[b].get(), sides.ours[b], sides.theirs[b], false});
      }
    }
    const RecordList& theirList = theirs_.List(list);
    for (std::size_t j = 0; j < theirList.size(); ++j) {
      if (sides.baseOfTheirs[j] == kNone) {
        MergeRecord({list, nullptr, Merged(theirList[j].get()), theirList[j].get(), true});
      }
    }
  }

  void MergeRecord(const RecordSides& sides) {
    const FieldOwner owner{sides.list, static_cast<std::size_t>(sides.ours->Position())};
    MergeFields(sides, owner, sides.base ? sides.base->Fields() : FieldList{}, sides.ours->Fields(),
                sides.theirs->Fields());
    if (sides.list == Category::Maps) {
      MergeCells(sides, owner.index);
    } else if (IsScriptCategory(*sides.list)) {
      MergeScript(sides);
    } else if (sides.list == Category::Palettes && !sides.added) {
      MergeColours(sides, owner.index);
    }
  }

  void MergeFields(const RecordSides& sides, const FieldOwner& owner, const FieldList& baseFields,
                   const FieldList& ourFields, const FieldList& theirFields) {
    const Category list = sides.list.value_or(Category::Maps);
    const auto base = PlainFields(baseFields, list, sides.added);
    const auto ours = PlainFields(ourFields, list, sides.added);
    const auto theirs = PlainFields(theirFields, list, sides.added);
    for (std::size_t i = 0; i < theirs.size(); ++i) {
      const FieldInfo& their = *theirs[i];
      if (their.kind == FieldKind::Text && !their.editable) continue;
      const FieldInfo* mine = FindField(ours, i, their.name);
      const FieldInfo* before = sides.added ? nullptr : FindField(base, i, their.name);
      ConflictPlace place;
      place.field = their.name;
      if (!mine || !TakeTheirs(sides, before ? Token(*before) : std::string(1, '\0'), Token(*mine),
                               Token(their), place)) {
        continue;
      }
      std::string value = their.value;
      if ((their.kind == FieldKind::Reference || their.kind == FieldKind::Position) &&
          their.resolved) {
        const ZR3Base* target = Merged(their.resolved);
        if (!target) {
          Found(ConflictKind::DeletedAndReferenced, sides, place);
          continue;
        }
        value = std::to_string(target->Position());
      }
      EditField(ours_, owner, their.name, value);
    }
  }

  void MergeCells(const RecordSides& sides, std::size_t mapIndex) {
    const auto* base = static_cast<const ZR3Map*>(sides.base);
    auto& ours = static_cast<ZR3Map&>(*sides.ours);
    const auto& theirs = static_cast<const ZR3Map&>(*sides.theirs);
    const int side = std::min(ours.Side(), theirs.Side());
    MapPaint paint(ours_, mapIndex);
    for (int row = 0; row < side; ++row) {
      for (int column = 0; column < side; ++column) {
        for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
          const std::uint64_t theirKey = CellKey(theirs, &tileCanonical_[1], row, column, slot);
          const std::uint64_t ourKey = CellKey(ours, &tileCanonical_[0], row, column, slot);
          if (theirKey == ourKey) continue;
          const std::uint64_t baseKey = base ? CellKey(*base, nullptr, row, column, slot) : 1u;
          ConflictPlace place;
          place.cell = ConflictPlace::Cell{static_cast<int>(slot) + 1, row, column};
          if (!TakeTheirs(sides, baseKey, ourKey, theirKey, place)) continue;
          const ZR3ChainRecord* tile = theirs.CellTile(row, column, slot);
          if (!tile) {
            ours.SetCellTileId(row, column, slot, theirs.CellTileId(row, column, slot), nullptr);
          } else if (ZR3Base* target = Merged(tile)) {
            paint.Set(ours_, row, column, slot, static_cast<ZR3ChainRecord*>(target));
          } else {
            Found(ConflictKind::DeletedAndReferenced, sides, place);
          }
        }
      }
    }
  }

  void MergeScript(const RecordSides& sides) {
    const auto* base = static_cast<const ZR3Script*>(sides.base);
    auto& ours = static_cast<ZR3Script&>(*sides.ours);
    const auto& theirs = static_cast<const ZR3Script&>(*sides.theirs);
    for (const bool command : {false, true}) {
      const std::size_t inUse = command ? ours.CommandsInUse() : ours.ConditionsInUse();
      for (std::size_t slot = 0; slot < ZR3Script::kSlotCount; ++slot) {
        const ZR3ScriptEntry& their = Slot(theirs, command, slot);
        ZR3ScriptEntry& mine = Slot(ours, command, slot);
        ConflictPlace place;
        place.field =
            std::string(command ? "commands" : "conditions") + '[' + std::to_string(slot) + ']';
        if (!TakeTheirs(sides, base ? SlotToken(Slot(*base, command, slot)) : std::string(),
                        SlotToken(mine), SlotToken(their), place)) {
          continue;
        }
        const auto records = SlotRecords(their);
        ZR3ScriptEntry::Parameters parameters = their.StoredParameters();
        bool resolved = true;
        for (std::size_t p = 0; p < records.size() && resolved; ++p) {
          if (!records[p]) continue;
          const ZR3Base* target = Merged(records[p]);
          resolved = target != nullptr;
          if (target) parameters[p] = static_cast<std::int16_t>(target->Position());
        }
        if (!resolved) {
          Found(ConflictKind::DeletedAndReferenced, sides, place);
          continue;
        }
        mine.SetCode(their.Code());
        for (std::size_t p = 0; p < parameters.size(); ++p) mine.SetParameter(p, parameters[p]);
        if (slot < inUse) mine.Link(ours_);
        ours_.SetModified(true);
      }
    }
    for (const std::size_t index : {0u, 1u}) {
      const auto block = [index](const ZR3Script& script) {
        return index == 0 ? script.BlockA() : script.BlockB();
      };
      ConflictPlace place;
      place.field = index == 0 ? "opaque_a" : "opaque_b";
      if (TakeTheirs(sides, base ? block(*base) : ZR3Script::OpaqueBlock{}, block(ours),
                     block(theirs), place)) {
        ours.SetBlock(index, block(theirs));
        ours_.SetModified(true);
      }
    }
  }

  void MergeColours(const RecordSides& sides, std::size_t paletteIndex) {
    const auto& base = static_cast<const ZR3Palette&>(*sides.base);
    const auto& ours = static_cast<const ZR3Palette&>(*sides.ours);
    const auto& theirs = static_cast<const ZR3Palette&>(*sides.theirs);
    for (std::size_t colour = 0; colour < ZR3Palette::kColourCount; ++colour) {
      const auto rgb = [colour](const ZR3Palette& palette) {
        std::array<std::uint8_t, ZR3Palette::kBytesPerColour> bytes{};
        std::copy_n(palette.Colours().data() + colour * bytes.size(), bytes.size(), bytes.begin());
        return bytes;
      };
      const auto theirRgb = rgb(theirs);
      const auto ourRgb = rgb(ours);
      const auto baseRgb = rgb(base);
      if (theirRgb == ourRgb || theirRgb == baseRgb) continue;
      if (ourRgb != baseRgb) {
        ConflictPlace place;
        place.colour = static_cast<int>(colour);
        Found(ConflictKind::ChangedOnBoth, sides, place,
              std::array<std::string, 3>{ColourJson(base, colour), ColourJson(ours, colour),
                                         ColourJson(theirs, colour)});
        continue;
      }
      EditPaletteColour(ours_, paletteIndex, colour, theirRgb);
    }
  }

  // Takes theirs' deletions of records ours kept unchanged; a deletion against a change, or
  // of a record ours still refers to, is a conflict and the record stays.
  void DeleteRecords(Category list) {
    const ListSides& sides = sides_[IndexOf(list)];
    const RecordList& baseList = base_.List(list);
    for (std::size_t b = 0; b < baseList.size(); ++b) {
      const RecordSides record{list, baseList[b].get(), sides.ours[b], sides.theirs[b], false};
      if (record.ours && !record.theirs) {
        if (!sides.oursSame[b]) {
          Found(ConflictKind::DeletedAndChanged, record, {});
        } else if (!DeleteRecord(ours_, list, static_cast<std::size_t>(record.ours->Position()))
                        .Deleted()) {
          Found(ConflictKind::DeletedAndReferenced, record, {});
        } else {
          deleted_.insert(record.ours);
        }
      } else if (!record.ours && record.theirs && !sides.theirsSame[b]) {
        Found(ConflictKind::DeletedAndChanged, record, {});
        found_.back().baseIndex = b;
      }
    }
  }

  // Where a base record ours deleted would stand in the merged list: before the next base
  // record that is still there.
  std::size_t WouldStand(Category list, std::size_t baseIndex) const {
    const ListSides& sides = sides_[IndexOf(list)];
    for (std::size_t b = baseIndex + 1; b < sides.ours.size(); ++b) {
      if (sides.ours[b] && !deleted_.contains(sides.ours[b])) {
        return static_cast<std::size_t>(sides.ours[b]->Position());
      }
    }
    return ours_.List(list).size();
  }

  // Where a record of the base stands in the merged level: where ours' version of it stands,
  // unless ours or the merge deleted it. Its list is the one holding it at its position.
  std::optional<int> PlaceOfBase(const ZR3Base& record) const {
    const auto index = static_cast<std::size_t>(record.Position());
    for (const Category list : kFileOrder) {
      const RecordList& records = base_.List(list);
      if (index >= records.size() || records[index].get() != &record) continue;
      const ZR3Base* mine = sides_[IndexOf(list)].ours[index];
      if (!mine || deleted_.contains(mine)) return std::nullopt;
      return mine->Position();
    }
    return std::nullopt;
  }
  // Where a record of theirs stands in the merged level: where the record it became stands.
  std::optional<int> PlaceOfTheirs(const ZR3Base& record) const {
    const ZR3Base* merged = Merged(&record);
    if (!merged || deleted_.contains(merged)) return std::nullopt;
    return merged->Position();
  }

  // A side's record (or level information) as the merged level's document would hold it:
  // every record it refers to named by its place in the merged level, so that a conflict's
  // value reads back against it.
  std::string SideJson(const ZR3Level& level, const std::optional<Category>& list,
                       const ZR3Base* record) const {
    RecordPlaces places;
    if (&level == &base_) {
      places = [this](const ZR3Base& each) { return PlaceOfBase(each); };
    } else if (&level == &theirs_) {
      places = [this](const ZR3Base& each) { return PlaceOfTheirs(each); };
    }
    if (!list) return json::InfoJson(level.Info(), places);
    return record ? json::RecordJson(*record, *list, places) : "null";
  }

  std::vector<MergeConflict> Conflicts() const {
    std::vector<MergeConflict> conflicts;
    conflicts.reserve(found_.size());
    for (const FoundConflict& found : found_) {
      MergeConflict& conflict = conflicts.emplace_back();
      conflict.kind = found.kind;
      conflict.category = found.list;
      conflict.place = found.place;
      if (!found.list) {
        conflict.name = ours_.Info().name;
      } else if (found.ours) {
        conflict.index = static_cast<std::size_t>(found.ours->Position());
        conflict.name = found.ours->Name();
      } else {
        conflict.index = WouldStand(*found.list, found.baseIndex);
        conflict.name = found.base->Name();
      }
      if (found.values) {
        conflict.base = (*found.values)[0];
        conflict.ours = (*found.values)[1];
        conflict.theirs = (*found.values)[2];
        continue;
      }
      const auto value = [&](const ZR3Level& level, const ZR3Base* record) {
        const std::string json = SideJson(level, found.list, record);
        return json == "null" ? json : ValueAt(json, found.place);
      };
      conflict.base = value(base_, found.base);
      conflict.ours = value(ours_, found.ours);
      conflict.theirs = value(theirs_, found.theirs);
    }
    return conflicts;
  }

  const ZR3Level& base_;
  ZR3Level& ours_;
  const ZR3Level& theirs_;
  std::array<ListSides, kCategoryCount> sides_;
  std::unordered_map<const ZR3Base*, const ZR3Base*> canonical_;
  std::unordered_map<const ZR3Base*, ZR3Base*> merged_;
  std::unordered_set<const ZR3Base*> deleted_;
  // Ours' and theirs' tiles by position as they stand while the content merges.
  std::array<std::vector<const ZR3Base*>, 2> tileCanonical_;
  std::vector<FoundConflict> found_;
};

}  // namespace

std::vector<MergeConflict> MergeLevels(const ZR3Level& base, ZR3Level& ours,
                                       const ZR3Level& theirs) {
  return Merger(base, ours, theirs).Run();
}

}  // namespace zr3::merge
