#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "json/json_values.h"
#include "level/field_access.h"
#include "level/fields.h"
#include "level/name_index.h"

// The record reading of the JSON import: each record's fields from its object, and the
// references set once the lists they point into are whole.
namespace zr3::json::import {

// A reference to be set once every list is complete.
struct PendingReference {
  void* ref;
  void (*setRecord)(void* ref, ZR3ChainRecord* record);   // a reference by identifier
  void (*setPosition)(void* ref, std::int16_t position);  // a position named by name
  Category list;
  std::int64_t index;  // -1 when named by name
  std::uint32_t name;  // into the importer's names when by name
  Place place;
};

// A grid of references waiting for its list (a map's cells for the tiles): each slot an entry
// of the table or kEmptySlot, each entry a record by position or name, or an identifier kept
// as stored. set takes the slots, and beside each entry its identifier and record.
struct GridEntry {
  ReferenceValue::Kind kind;
  std::int64_t number;
  std::uint32_t name;
  Place place;  // the first slot that names it
};
struct PendingGrid {
  Category list;
  std::vector<std::uint16_t> slots;
  std::vector<GridEntry> entries;
  std::function<void(std::vector<std::uint16_t>, std::vector<std::uint32_t>,
                     std::vector<ZR3ChainRecord*>)>
      set;
};

// Builds the level from the values of each record as the parser completes them, and sets the
// references once every list is complete.
class Importer : public ValueReader {
 public:
  // Finds the record a reference names: by the position and the name written for it.
  using Lookup = std::function<ZR3Base*(Category list, std::int64_t index, const std::string& name,
                                        const Place& place)>;
  // A record read for a paste, and where it sits in the document.
  struct Pasted {
    Category list;
    ZR3Base* record;
    Place place;
  };

  explicit Importer(ZR3Level& level) : level_(level) {}

  // Records read into another level: every reference, by position as well, waits for Finish
  // and is looked up there by lookup; one that names nothing is left without a record.
  void SetLookup(Lookup lookup) {
    lookup_ = std::move(lookup);
    keepNames_ = true;
  }

  ZR3Level& Level() { return level_; }

  // A reference by identifier, set now when its list is complete, otherwise at the end.
  template <class Ref>
  void SetReference(const rapidjson::Value& json, const Place& place, Ref& ref) {
    ReferenceValue value = Reference(json, place, true);
    using Kind = ReferenceValue::Kind;
    switch (value.kind) {
      case Kind::None:
        ref.Set(nullptr);
        return;
      case Kind::Unresolved:
        ref.SetStored(static_cast<std::uint32_t>(value.number), nullptr);
        return;
      case Kind::Index:
      case Kind::Name:
        break;
      case Kind::Invalid:
        return;
    }
    PendingReference pending{
        &ref,
        [](void* target, ZR3ChainRecord* record) { static_cast<Ref*>(target)->Set(record); },
        nullptr,
        Ref::kRule.list,
        value.kind == Kind::Index ? value.number : -1,
        AddName(std::move(value.name)),
        place};
    Defer(pending);
  }

  // A position held as a number; it links when every record is complete (FinishRecord).
  template <class Ref>
  void SetPosition(const rapidjson::Value& json, const Place& place, Ref& ref) {
    if (!json.IsObject()) {
      if (const auto position = Integer<std::int16_t>(json, place)) {
        ref.Set(static_cast<std::int16_t>(*position), nullptr);
      }
      return;
    }
    ReferenceValue value = Reference(json, place, false);
    if (value.kind == ReferenceValue::Kind::Index && lookup_) {
      Defer({&ref, nullptr,
             [](void* target, std::int16_t position) {
               static_cast<Ref*>(target)->Set(position, nullptr);
             },
             Ref::kRule.list, value.number, AddName(std::move(value.name)), place});
    } else if (value.kind == ReferenceValue::Kind::Index) {
      if (value.number > std::numeric_limits<std::int16_t>::max()) {
        Problem(place, std::to_string(value.number) + " is out of range 0..32767");
      } else {
        ref.Set(static_cast<std::int16_t>(value.number), nullptr);
      }
    } else if (value.kind == ReferenceValue::Kind::Name) {
      Defer({&ref, nullptr,
             [](void* target, std::int16_t position) {
               static_cast<Ref*>(target)->Set(position, nullptr);
             },
             Ref::kRule.list, -1, AddName(std::move(value.name)), place});
    }
  }

  void AddGrid(PendingGrid grid) {
    if (complete_[IndexOf(grid.list)]) {
      SetGrid(grid);
    } else {
      pendingGrids_.push_back(std::move(grid));
    }
  }

  std::uint32_t AddName(std::string name) {
    if (name.empty()) return 0;
    names_.push_back(std::move(name));
    return static_cast<std::uint32_t>(names_.size() - 1);
  }

  void MarkComplete(Category list) { complete_[IndexOf(list)] = true; }

  // Sets what waited for the lists; then positions and neighbours.
  void Finish();
  // Reads a record of the list from its object, each field through the kind's field table.
  void ReadRecord(Category list, ZR3Base& record, const rapidjson::Value& object,
                  const Place& place);
  // Links the positions of one record read into a level whose lists are all complete.
  void FinishRecord(Category list, ZR3Base& record, const Place& place);
  // Sets what the pasted records' references wait for, once the records are in their lists;
  // then their positions.
  void FinishPasted(const std::vector<Pasted>& records);

 private:
  void Defer(const PendingReference& pending) {
    if (complete_[IndexOf(pending.list)]) {
      Resolve(pending);
    } else {
      pending_.push_back(pending);
    }
  }

  // The record a position or name of the pending reference names; reports it when none.
  ZR3Base* Find(Category list, std::int64_t index, std::uint32_t name, const Place& place);
  void Resolve(const PendingReference& pending);
  void SetGrid(PendingGrid& grid);
  void FinishRecords(Category list);

  ZR3Level& level_;
  std::vector<std::string> names_{std::string()};
  std::vector<PendingReference> pending_;
  std::vector<PendingGrid> pendingGrids_;
  std::array<bool, kCategoryCount> complete_{};
  // Per list: the records' names, made on the first lookup by name.
  std::array<std::optional<NameIndex>, kCategoryCount> nameIndexes_;
  Lookup lookup_;
};

// Reads each field of a record from the members of its object. A part reads itself through
// the shapes below (hex bytes, code slots, a grid of references).
class FieldJsonReader {
 public:
  static constexpr std::uint16_t kEmptySlot = 0xFFFF;

  FieldJsonReader(Importer& importer, const rapidjson::Value& object, const Place& place)
      : importer_(importer), members_(object, importer.Used()), place_(place) {}

  void Finish() { members_.Finish(importer_.Report(), place_); }

  template <class S>
  void operator()(TextField<S> f) {
    // A text the file does not hold (a path beside identifier 0) may be left out.
    const rapidjson::Value* json = Member(f.name, f.present);
    if (json) importer_.Text(*json, f.width, place_.Field(f.name), f.value);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    const rapidjson::Value* json = Member(f.name, true);
    if (!json) return;
    if (const auto value = importer_.Integer<T>(*json, place_.Field(f.name))) {
      f.value = static_cast<T>(*value);
    }
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    const rapidjson::Value* json = Member(f.name, true);
    if (!json) return;
    const Place place = place_.Field(f.name);
    if (json->IsObject()) {
      // {"value": 3, "word": "Usable"}: the word is for the reader.
      ObjectReader choice(*json, importer_.Used());
      json = choice.Find("value");
      choice.Find("word");
      choice.Finish(importer_.Report(), place);
      if (!json) {
        importer_.Problem(place, "a choice names its \"value\"");
        return;
      }
    }
    if (const auto value = importer_.Integer<T>(*json, place)) f.value = static_cast<T>(*value);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    // Left out, the bytes are zeros: a record written by hand need not carry them.
    const rapidjson::Value* json = Member(f.name, false);
    if (json) importer_.Hex(*json, f.bytes.data(), f.bytes.size(), place_.Field(f.name));
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    const rapidjson::Value* json = Member(f.name, true);
    if (json) importer_.SetReference(*json, place_.Field(f.name), f.ref);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    const rapidjson::Value* json = Member(f.name, true);
    if (!json) return;
    const Place place = place_.Field(f.name);
    if (!IsArrayOf(*json, f.refs.size())) {
      importer_.Problem(place,
                        "expected an array of " + std::to_string(f.refs.size()) + " references");
      return;
    }
    for (std::size_t i = 0; i < f.refs.size(); ++i) {
      importer_.SetReference((*json)[static_cast<rapidjson::SizeType>(i)], place.Index(i),
                             f.refs[i]);
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    const rapidjson::Value* json = Member(f.name, true);
    if (json) importer_.SetPosition(*json, place_.Field(f.name), f.ref);
  }
  template <class R>
  void operator()(ChainField<R> f) {
    // Left out, they are 0: a save gives every record identifiers of its own.
    std::array<std::uint32_t, 3> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
      const rapidjson::Value* json = Member(kChainNames[i], false);
      if (!json) continue;
      if (const auto id = importer_.Integer<std::uint32_t>(*json, place_.Field(kChainNames[i]))) {
        ids[i] = static_cast<std::uint32_t>(*id);
      }
    }
    f.SetIds(ids);
  }
  template <class P>
  void operator()(PartField<P> f) {
    const rapidjson::Value* json = Member(
        f.name, !requires { P::kOptionalInJson; });
    if (json) f.part.ReadJson(*this, *json, place_.Field(f.name));
  }

  bool Hex(const rapidjson::Value& json, const Place& place, std::uint8_t* bytes,
           std::size_t count) {
    return importer_.Hex(json, bytes, count, place);
  }
  // count objects {"code": c, "parameters": [...]}, each handed to set when valid.
  template <class Set>
  void CodeSlots(const rapidjson::Value& json, const Place& place, std::size_t count,
                 std::size_t parameterCount, Set set);
  // side rows of side cells of slots references into list; set gets them once the list is
  // whole.
  template <class Set>
  void ReferenceGrid(const rapidjson::Value& json, const Place& place, int side, std::size_t slots,
                     Category list, Set set);
  template <class F>
  void operator()(const F&) {}

 private:
  const rapidjson::Value* Member(std::string_view name, bool required) {
    const rapidjson::Value* json = members_.Find(name);
    if (!json && required) importer_.Problem(place_.Field(name), "missing field");
    return json;
  }
  static bool IsArrayOf(const rapidjson::Value& json, std::size_t count) {
    return json.IsArray() && json.Size() == count;
  }

  Importer& importer_;
  ObjectReader members_;
  Place place_;
};

template <class Set>
void FieldJsonReader::CodeSlots(const rapidjson::Value& json, const Place& place, std::size_t count,
                                std::size_t parameterCount, Set set) {
  if (!IsArrayOf(json, count)) {
    importer_.Problem(place, "expected an array of " + std::to_string(count) + " slots");
    return;
  }
  std::vector<std::int16_t> parameters(parameterCount);
  for (std::size_t i = 0; i < count; ++i) {
    const rapidjson::Value& slot = json[static_cast<rapidjson::SizeType>(i)];
    const Place slotPlace = place.Index(i);
    if (!slot.IsObject()) {
      importer_.WrongType(slotPlace, slot, "an object with \"code\" and \"parameters\"");
      continue;
    }
    ObjectReader fields(slot, importer_.Used());
    const rapidjson::Value* code = fields.Find("code");
    const rapidjson::Value* values = fields.Find("parameters");
    fields.Finish(importer_.Report(), slotPlace);
    if (!code || !values) {
      importer_.Problem(slotPlace, "a slot holds \"code\" and \"parameters\"");
      continue;
    }
    const auto codeValue = importer_.Integer<std::uint16_t>(*code, slotPlace);
    if (!IsArrayOf(*values, parameterCount)) {
      importer_.Problem(slotPlace, "expected \"parameters\" of " + std::to_string(parameterCount) +
                                       " whole numbers");
      continue;
    }
    bool valid = codeValue.has_value();
    for (std::size_t p = 0; p < parameterCount; ++p) {
      const auto value = importer_.Integer<std::int16_t>(
          (*values)[static_cast<rapidjson::SizeType>(p)], slotPlace);
      valid = valid && value;
      if (value) parameters[p] = static_cast<std::int16_t>(*value);
    }
    if (valid) set(i, static_cast<std::uint16_t>(*codeValue), std::span(parameters));
  }
}

template <class Set>
void FieldJsonReader::ReferenceGrid(const rapidjson::Value& json, const Place& place, int side,
                                    std::size_t slots, Category list, Set set) {
  const auto count = static_cast<std::size_t>(side);
  if (!IsArrayOf(json, count)) {
    importer_.Problem(place, "expected an array of " + std::to_string(side) +
                                 " rows, one per row of a grid of size " + std::to_string(side));
    return;
  }
  PendingGrid grid{list, {}, {}, std::move(set)};
  grid.slots.reserve(count * count * slots);
  // Entries by position, by name and by identifier.
  std::unordered_map<std::int64_t, std::uint16_t> byPosition;
  std::unordered_map<std::int64_t, std::uint16_t> byId;
  std::unordered_map<std::string, std::uint16_t> byName;
  const auto entryFor = [&](auto& entries, const auto& key, ReferenceValue& value,
                            const Place& at) {
    auto [found, added] = entries.try_emplace(key, static_cast<std::uint16_t>(grid.entries.size()));
    if (added) {
      grid.entries.push_back(
          {value.kind, value.number, importer_.AddName(std::move(value.name)), at});
    }
    return found->second;
  };
  bool valid = true;
  for (std::size_t r = 0; r < count; ++r) {
    const rapidjson::Value& row = json[static_cast<rapidjson::SizeType>(r)];
    if (!IsArrayOf(row, count)) {
      importer_.Problem(place.Index(r), "expected an array of " + std::to_string(side) + " cells");
      valid = false;
      continue;
    }
    for (std::size_t c = 0; c < count; ++c) {
      const rapidjson::Value& cell = row[static_cast<rapidjson::SizeType>(c)];
      const Place cellPlace = place.Index(r).Index(c);
      if (!IsArrayOf(cell, slots)) {
        importer_.Problem(cellPlace, "expected an array of " + std::to_string(slots) + " slots");
        valid = false;
        continue;
      }
      for (std::size_t s = 0; s < slots; ++s) {
        const Place slotPlace = cellPlace.Index(s);
        ReferenceValue value =
            importer_.Reference(cell[static_cast<rapidjson::SizeType>(s)], slotPlace, true);
        using Kind = ReferenceValue::Kind;
        std::uint16_t& entry = grid.slots.emplace_back(kEmptySlot);
        if (value.kind == Kind::Index) {
          entry = entryFor(byPosition, value.number, value, slotPlace);
        } else if (value.kind == Kind::Unresolved && value.number != 0) {
          entry = entryFor(byId, value.number, value, slotPlace);
        } else if (value.kind == Kind::Name) {
          const std::string key = value.name;
          entry = entryFor(byName, key, value, slotPlace);
        } else if (value.kind == Kind::Invalid) {
          valid = false;
        }
      }
    }
  }
  if (valid) importer_.AddGrid(std::move(grid));
}

}  // namespace zr3::json::import
