#include "compare/record_keys.h"

#include <functional>
#include <span>

#include "compare/record_matching.h"
#include "level/parallel.h"
#include "script/record_kinds.h"
#include "script/scriptforms.h"
#include "script/zr3scriptentry.h"

namespace zr3::compare {

namespace {

constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

void MixNumber(std::uint64_t& hash, std::uint64_t value) {
  hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
  hash *= 0x100000001b3ULL;
}

// Folds the bytes into a running hash; the length goes in too, so that "ab" + "c" and
// "a" + "bc" differ.
void Mix(std::uint64_t& hash, std::string_view bytes) {
  MixNumber(hash, std::hash<std::string_view>{}(bytes));
  MixNumber(hash, bytes.size());
}

template <class Bytes>
std::string_view BytesOf(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A condition or command as a key: its code, its parameters, and for each parameter that
// names a resolved record what recordKey makes of that record in place of the parameter.
template <class RecordKey>
std::uint64_t KeyOfEntry(const ZR3ScriptEntry& entry, RecordKey recordKey) {
  std::uint64_t hash = kHashStart;
  MixNumber(hash, entry.Code());
  std::array<bool, ZR3ScriptEntry::kParameterCount> named{};
  for (const ReferenceStep& step : entry.StepsOf()) {
    if (step.flag) continue;
    const ZR3Base* record = entry.Reference(step.reference);
    if (!record) continue;
    named[static_cast<std::size_t>(step.parameter)] = true;
    MixNumber(hash, recordKey(*record, step.reference));
  }
  for (std::size_t i = 0; i < ZR3ScriptEntry::kParameterCount; ++i) {
    if (!named[i]) MixNumber(hash, static_cast<std::uint16_t>(entry.Parameter(i)));
  }
  return hash;
}

// The script's conditions and commands in use, each record they name by its name.
void MixScript(std::uint64_t& hash, const ZR3Script& script, const NameHashes* names) {
  const auto byName = [names](const ZR3Base& record, ScriptReference) {
    return names ? names->Of(record) : NameHash(record.Name());
  };
  MixNumber(hash, script.ConditionsInUse());
  for (std::size_t i = 0; i < script.ConditionsInUse(); ++i) {
    MixNumber(hash, KeyOfEntry(script.Condition(i), byName));
  }
  MixNumber(hash, script.CommandsInUse());
  for (std::size_t i = 0; i < script.CommandsInUse(); ++i) {
    MixNumber(hash, KeyOfEntry(script.Command(i), byName));
  }
}

// A map's cells, each slot as the name of its tile (its identifier while unresolved): the
// tile table is hashed once, then each slot takes the hash of its entry.
void MixCells(std::uint64_t& hash, const ZR3Map& map, const NameHashes* names) {
  const std::span<const std::uint32_t> ids = map.TableIds();
  const std::span<ZR3ChainRecord* const> tiles = map.TableTiles();
  std::vector<std::uint64_t> entries(ids.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (tiles[i]) {
      entries[i] = names ? names->Of(*tiles[i]) : NameHash(tiles[i]->Name());
    } else {
      entries[i] = ids[i];
    }
  }
  MixNumber(hash, static_cast<std::uint64_t>(map.Side()));
  for (const ZR3Map::Cell& cell : map.CellSlots()) {
    for (const std::uint16_t entry : cell) {
      MixNumber(hash, entry == ZR3Map::kEmptySlot ? 0 : entries[entry]);
    }
  }
}

// Hashes the fields of a record as its field table hands them over: into one running hash,
// or with perField set a hash of each field (the name and the chain identifiers included, as
// constant keys, so that the keys of two records of one kind stand field for field).
class FieldHasher {
 public:
  FieldHasher(const ZR3Base& record, const NameHashes* names, std::vector<std::uint64_t>* perField)
      : map_(dynamic_cast<const ZR3Map*>(&record)),
        script_(dynamic_cast<const ZR3Script*>(&record)),
        names_(names),
        perField_(perField) {}

  std::uint64_t Hash() const { return hash_; }

  template <class S>
  void operator()(TextField<S> f) {
    std::uint64_t field = kHashStart;
    if (f.name != "name") Mix(field, f.value);
    Add(field);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    AddNumber(static_cast<std::int64_t>(f.value));
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    AddNumber(static_cast<std::int64_t>(f.value));
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    std::uint64_t field = kHashStart;
    Mix(field, BytesOf(f.bytes));
    Add(field);
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    std::uint64_t field = kHashStart;
    MixReference(field, f.ref.Record(), f.ref.Stored());
    Add(field);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    std::uint64_t field = kHashStart;
    for (const auto& ref : f.refs) {
      MixReference(field, ref.Record(), ref.Stored());
    }
    Add(field);
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (!f.active) {
      AddNumber(f.ref.Stored());
      return;
    }
    std::uint64_t field = kHashStart;
    MixReference(field, f.ref.Record(),
                 static_cast<std::uint64_t>(static_cast<std::int64_t>(f.ref.Stored())));
    Add(field);
  }
  template <class R>
  void operator()(ChainField<R>) {
    if (perField_) perField_->insert(perField_->end(), kChainNames.size(), kHashStart);
  }
  template <class P>
  void operator()(PartField<P> f) {
    std::uint64_t field = kHashStart;
    if (map_ && f.name == "cells") {
      MixCells(field, *map_, names_);
    } else if (script_ && (f.name == "conditions" || f.name == "commands")) {
      MixScript(field, *script_, names_);
    } else {
      Mix(field, f.part.Summary());
    }
    Add(field);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  void MixReference(std::uint64_t& field, const ZR3Base* record, std::uint64_t stored) const {
    if (record) {
      MixNumber(field, names_ ? names_->Of(*record) : NameHash(record->Name()));
    } else {
      // A stored value that names no record is not a name: it cannot meet one by chance.
      MixNumber(field, ~stored);
    }
  }
  void AddNumber(std::int64_t value) {
    std::uint64_t field = kHashStart;
    MixNumber(field, static_cast<std::uint64_t>(value));
    Add(field);
  }
  void Add(std::uint64_t field) {
    if (perField_) {
      perField_->push_back(field);
    } else {
      MixNumber(hash_, field);
    }
  }

  const ZR3Map* map_;
  const ZR3Script* script_;
  const NameHashes* names_;
  std::vector<std::uint64_t>* perField_;
  std::uint64_t hash_ = kHashStart;
};

void HashFields(const ZR3Base& record, Category list, FieldHasher& hasher) {
  WithKind(list,
           [&]<class Record>() { Record::Fields(static_cast<const Record&>(record), hasher); });
}

}  // namespace

std::uint64_t NameHash(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

NameHashes::NameHashes(const ZR3Level& level) {
  std::size_t records = 0;
  for (const Category list : kFileOrder) records += level.List(list).size();
  // At most half full, so that a search ends within a slot or two.
  int bits = 4;
  while ((std::size_t{1} << bits) < 2 * records) ++bits;
  table_.resize(std::size_t{1} << bits);
  mask_ = table_.size() - 1;
  shift_ = 64 - bits;
  for (const Category list : kFileOrder) {
    for (const auto& record : level.List(list)) {
      std::size_t slot = SlotOf(record.get());
      while (table_[slot].record) slot = (slot + 1) & mask_;
      table_[slot] = {record.get(), NameHash(record->Name())};
    }
  }
}

std::uint64_t RecordKeys::ContentKey(const ZR3Base& record, Category list,
                                     const NameHashes& names) {
  // Scripts are the most numerous records: theirs is taken from the script itself rather than
  // through the field table, which would hash its 400 kept bytes of blocks A and B twice.
  if (const auto* script = dynamic_cast<const ZR3Script*>(&record)) {
    std::uint64_t hash = kHashStart;
    MixScript(hash, *script, &names);
    Mix(hash, BytesOf(script->BlockA()));
    Mix(hash, BytesOf(script->BlockB()));
    Mix(hash, BytesOf(script->Opaque()));
    MixNumber(hash, script->ConditionCount());
    MixNumber(hash, script->CommandCount());
    return hash;
  }
  FieldHasher hasher(record, &names, nullptr);
  HashFields(record, list, hasher);
  return hasher.Hash();
}

std::uint64_t RecordKeys::Key(const ZR3Base& record, std::uint64_t contentKey) {
  std::uint64_t hash = contentKey;
  // The record was just read for its content key: its name is at hand, the table is not.
  MixNumber(hash, NameHash(record.Name()));
  return hash;
}

std::vector<std::uint64_t> RecordKeys::FieldKeys(const ZR3Base& record, Category list) {
  std::vector<std::uint64_t> keys;
  FieldHasher hasher(record, nullptr, &keys);
  HashFields(record, list, hasher);
  return keys;
}

std::uint64_t TextKey(std::string_view text) {
  std::uint64_t hash = kHashStart;
  Mix(hash, text);
  return hash;
}

std::uint64_t EntryKey(const ZR3ScriptEntry& entry, const RecordMatching* matching) {
  return KeyOfEntry(entry, [matching](const ZR3Base& record, ScriptReference reference) {
    const auto index = static_cast<std::size_t>(record.Position());
    return matching ? matching->NewIndexOf(CategoryOf(reference), index) : index;
  });
}

}  // namespace zr3::compare
