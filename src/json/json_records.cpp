#include "json/json_records.h"

#include "script/record_kinds.h"

namespace zr3::json::import {

namespace {

// After every reference by identifier is set: what a load's link does besides, without looking
// up an identifier again (records made by hand may all carry identifier 0 until the save).
class RecordFinisher {
 public:
  RecordFinisher(ZR3Level& level, Problems& problems, const Place& place)
      : level_(level), problems_(problems), place_(place) {}

  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (!f.active) {
      f.ref.Unlink();
      return;
    }
    const int position = f.ref.Stored();
    ZR3Base* record = level_.RecordAt(Ref::kRule.list, position);
    if (Ref::Refuses(record, position)) {
      problems_.Add(place_.Field(f.name),
                    NoRecordAt(Ref::kRule.list, position, level_.List(Ref::kRule.list).size()));
    }
    f.ref.Set(f.ref.Stored(), record);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    // Slots beyond those in use are never linked.
    for (std::size_t i = f.linked; i < f.refs.size(); ++i) f.refs[i].Unlink();
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.LinkPositions(level_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  ZR3Level& level_;
  Problems& problems_;
  const Place& place_;
};

}  // namespace

ZR3Base* Importer::Find(Category list, std::int64_t index, std::uint32_t name, const Place& place) {
  if (lookup_) return lookup_(list, index, names_[name], place);
  const RecordList& records = level_.List(list);
  const std::string_view noun = InfoOf(list).recordNoun;
  if (index >= 0) {
    ZR3Base* record = level_.RecordAt(list, static_cast<int>(index));
    if (!record) Problem(place, NoRecordAt(list, index, records.size()));
    return record;
  }
  auto& names = nameIndexes_[IndexOf(list)];
  if (!names) names.emplace(records);
  const std::optional<NameIndex::Found> found = names->Find(names_[name]);
  if (!found || found->ambiguous) {
    std::string shown;
    AppendUtf8(shown, names_[name]);
    Problem(place,
            (found ? "more than one " : "no ") + std::string(noun) + " is named " + Quoted(shown));
    return nullptr;
  }
  return records[static_cast<std::size_t>(found->position)].get();
}

void Importer::Resolve(const PendingReference& pending) {
  ZR3Base* record = Find(pending.list, pending.index, pending.name, pending.place);
  if (!record) {
    // A pasted position that names nothing names no record at all.
    if (lookup_ && pending.setPosition) pending.setPosition(pending.ref, -1);
    return;
  }
  if (pending.setRecord) {
    // Every list a reference by identifier points into is a list of chain records.
    pending.setRecord(pending.ref, static_cast<ZR3ChainRecord*>(record));
  } else if (record->Position() > std::numeric_limits<std::int16_t>::max()) {
    Problem(pending.place, "names a record at position " + std::to_string(record->Position()) +
                               ", beyond the field's 32767");
  } else {
    pending.setPosition(pending.ref, static_cast<std::int16_t>(record->Position()));
  }
}

void Importer::SetGrid(PendingGrid& grid) {
  std::vector<std::uint32_t> ids(grid.entries.size());
  std::vector<ZR3ChainRecord*> records(grid.entries.size());
  bool complete = true;
  for (std::size_t i = 0; i < grid.entries.size(); ++i) {
    const GridEntry& entry = grid.entries[i];
    if (entry.kind == ReferenceValue::Kind::Unresolved) {
      ids[i] = static_cast<std::uint32_t>(entry.number);
      continue;
    }
    const std::int64_t index = entry.kind == ReferenceValue::Kind::Index ? entry.number : -1;
    auto* record = static_cast<ZR3ChainRecord*>(Find(grid.list, index, entry.name, entry.place));
    complete = complete && record;
    records[i] = record;
    ids[i] = record ? record->StoredId() : 0;
  }
  // A paste keeps the cells whose tiles it found; an import sets none while one is missing.
  if (!complete && !lookup_) return;
  try {
    grid.set(std::move(grid.slots), std::move(ids), std::move(records));
  } catch (const ZR3Error& error) {
    problems_.Add(error.what());
  }
}

void Importer::FinishRecords(Category list) {
  RecordList& records = level_.List(list);
  if (records.empty()) return;
  level_.Renumber(list, 0, records.size() - 1);
  for (std::size_t i = 0; i < records.size(); ++i) {
    FinishRecord(list, *records[i], Place{InfoOf(list).commandName, static_cast<std::int32_t>(i)});
  }
}

void Importer::ReadRecord(Category list, ZR3Base& record, const rapidjson::Value& object,
                          const Place& place) {
  WithKind(list, [&]<class Record>() {
    FieldJsonReader read(*this, object, place);
    Record::Fields(static_cast<Record&>(record), read);
    read.Finish();
  });
}

void Importer::FinishRecord(Category list, ZR3Base& record, const Place& place) {
  WithKind(list, [&]<class Record>() {
    RecordFinisher finish(level_, problems_, place);
    Record::Fields(static_cast<Record&>(record), finish);
  });
}

void Importer::Finish() {
  for (const PendingReference& pending : pending_) Resolve(pending);
  for (PendingGrid& grid : pendingGrids_) SetGrid(grid);
  for (const Category list : kRecordLists) FinishRecords(list);
}

void Importer::FinishPasted(const std::vector<Pasted>& records) {
  for (const PendingReference& pending : pending_) Resolve(pending);
  for (PendingGrid& grid : pendingGrids_) SetGrid(grid);
  for (const Pasted& pasted : records) FinishRecord(pasted.list, *pasted.record, pasted.place);
}

}  // namespace zr3::json::import
