#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "compare/diff_helpers.h"
#include "compare/level_diff.h"
#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "level/field_access.h"
#include "records/zr3map.h"
#include "stress_level.h"
#include "support/edit_levels.h"

namespace {

using namespace zr3;

// The fields whose values a plain edit may set without changing what other fields mean.
bool PlainField(const FieldInfo& field) {
  static const std::set<std::string> kShaping = {"name", "size", "count", "condition_count",
                                                 "command_count"};
  return field.editable && (field.kind == FieldKind::Integer || field.kind == FieldKind::Text) &&
         !kShaping.contains(field.name);
}

// The values of a field list as a report compares them: references by the name of their record.
std::map<std::string, std::string> Values(const FieldList& fields) {
  std::map<std::string, std::string> values;
  for (const FieldInfo& field : fields) {
    if (field.kind == FieldKind::ChainId || field.kind == FieldKind::Part) continue;
    const std::vector<FieldInfo> one = {field};
    for (const FieldInfo& value : field.kind == FieldKind::Run ? field.elements : one) {
      values[value.name] = value.resolved ? "@" + value.resolved->Name() : value.value;
    }
  }
  return values;
}

// A record's field values but its name.
std::map<std::string, std::string> Content(const ZR3Base& record) {
  std::map<std::string, std::string> values = Values(record.Fields());
  values.erase("name");
  return values;
}

std::string CellsText(const ZR3Map& map) {
  std::string text;
  for (int row = 0; row < map.Side(); ++row) {
    for (int column = 0; column < map.Side(); ++column) {
      for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
        const ZR3ChainRecord* tile = map.CellTile(row, column, slot);
        text += (tile ? tile->Name() : "-") + ",";
      }
    }
  }
  return text;
}

// Random edits through the editing operations on a copy of a level, with a log of what each
// touched; the diff from the level to the edited copy must name exactly that. A record
// is known only by its content, name and place: the edits leave each record at least one of
// them, a copy's source keeps its name and content, and a list never has both a deleted record and
// a new one (a record removed and one added in its place would be one changed record).
class EditedLevel {
 public:
  EditedLevel(const std::string& bytes, unsigned seed) : random_(seed) {
    original_.LoadFromBytes(bytes);
    edited_.LoadFromBytes(bytes);
    for (const Category list : kFileOrder) {
      if (IsFixedTable(list)) continue;
      const RecordList& records = edited_.List(list);
      std::map<std::map<std::string, std::string>, int> contents;
      for (const auto& record : records) ++contents[Content(*record)];
      for (std::size_t i = 0; i < records.size(); ++i) {
        origin_[records[i].get()] = i;
        // Content that another record shares does not tell the record.
        if (contents[Content(*records[i])] > 1) kinds_[records[i].get()] = kContent;
      }
      if (!records.empty()) lists_.push_back(list);
    }
  }

  void EditAtRandom() {
    const Category list = lists_[Pick(lists_.size())];
    RecordList& records = edited_.List(list);
    const std::size_t index = Pick(records.size());
    ZR3Base* record = records[index].get();
    switch (Pick(7)) {
      case 0:
        if (!Allows(record, kName)) break;
        RenameRecord(edited_, list, index, "R" + std::to_string(serial_++));
        break;
      case 1: {
        const MoveDirection direction = Pick(2) ? MoveDirection::Up : MoveDirection::Down;
        const std::size_t other = direction == MoveDirection::Up ? index - 1 : index + 1;
        if (index == 0 && direction == MoveDirection::Up) break;
        if (other >= records.size() || !Allows(record, kPlace) ||
            !Allows(records[other].get(), kPlace)) {
          break;
        }
        ZR3Base* neighbour = records[other].get();
        if (MoveRecord(edited_, list, index, direction).Moved()) {
          reordered_.insert(list);
          kinds_[record] |= kPlace;
          kinds_[neighbour] |= kPlace;
        }
        break;
      }
      case 2: {
        // A copy shares its source's content: the source keeps its name and content from then
        // on, which tells the two apart.
        if (deletedFrom_.contains(list) || (kinds_[record] & kName)) break;
        const CopyResult copy = CopyRecord(edited_, list, index);
        if (copy.Copied()) {
          copied_.insert(record);
          RenameRecord(edited_, list, copy.index, "C" + std::to_string(serial_++));
          copiedTo_.insert(list);
        }
        break;
      }
      case 3:
        if (!copiedTo_.contains(list) && CheckDeletion(edited_, list, index).Allowed()) {
          deletedFrom_.insert(list);
          touched_.erase(record);
          origin_.erase(record);
          DeleteRecord(edited_, list, index);
          reordered_.insert(list);
        }
        break;
      case 4:
        EditPlainField(list, index, record);
        break;
      case 5: {
        if (list != Category::Maps || !Allows(record, kContent)) break;
        auto& map = static_cast<ZR3Map&>(*record);
        if (map.Side() == 0) break;
        const RecordList& tiles = edited_.List(Category::Tiles);
        auto* tile = static_cast<ZR3ChainRecord*>(tiles[Pick(tiles.size())].get());
        MapPaint paint(edited_, index);
        paint.Set(edited_, static_cast<int>(Pick(static_cast<std::size_t>(map.Side()))),
                  static_cast<int>(Pick(static_cast<std::size_t>(map.Side()))), Pick(3), tile);
        touched_[record].insert("cells");
        break;
      }
      case 6:
        if (list == Category::Palettes) {
          if (!Allows(record, kContent)) break;
          const std::size_t colour = Pick(256);
          EditPaletteColour(edited_, index, colour, {static_cast<std::uint8_t>(Pick(256)), 1, 2});
          touched_[record].insert("colour " + std::to_string(colour));
        } else {
          EditInfo();
        }
        break;
    }
  }

  // Compares the diff with the log of edits.
  void Check() {
    const std::unique_ptr<ZR3Level> saved = zr3test::Resaved(edited_);
    const compare::LevelDiff diff = compare::CompareLevels(original_, *saved);
    std::set<std::string> infoFields;
    for (const compare::FieldChange& field : diff.info) infoFields.insert(field.field);
    EXPECT_EQ(infoFields, ExpectedInfo());
    std::map<Category, const compare::ListDiff*> reported;
    for (const compare::ListDiff& list : diff.lists) reported[list.category] = &list;
    for (const Category list : kFileOrder) {
      if (IsFixedTable(list)) continue;
      SCOPED_TRACE(std::string(InfoOf(list).sectionName));
      const compare::ListDiff none{list, {}, {}, {}, {}, {}};
      CheckList(list, reported.contains(list) ? *reported[list] : none);
    }
  }

 private:
  // What an edit changed of an original record.
  static constexpr unsigned kName = 1;
  static constexpr unsigned kContent = 2;
  static constexpr unsigned kPlace = 4;

  std::size_t Pick(std::size_t count) { return random_() % count; }
  // Whether a change of this kind leaves the record something to be known by; notes it if so.
  bool Allows(const ZR3Base* record, unsigned kind) {
    if (kind != kPlace && copied_.contains(record)) return false;
    if ((kinds_[record] | kind) == (kName | kContent | kPlace)) return false;
    kinds_[record] |= kind;
    return true;
  }

  void EditPlainField(Category list, std::size_t index, ZR3Base* record) {
    if (!Allows(record, kContent)) return;
    const FieldList fields = record->Fields();
    std::vector<const FieldInfo*> plain;
    for (const FieldInfo& field : fields) {
      if (PlainField(field)) plain.push_back(&field);
    }
    if (plain.empty()) return;
    const FieldInfo& field = *plain[Pick(plain.size())];
    const std::string value =
        field.kind == FieldKind::Text
            ? "T" + std::to_string(serial_++).substr(0, field.width - 1)
            : std::to_string(field.min + static_cast<std::int64_t>(Pick(static_cast<std::size_t>(
                                             std::min<std::int64_t>(field.max - field.min, 999)))));
    const FieldEdit edit = EditField(edited_, {list, index}, field.name, value);
    // An edit that changed what another field means is undone: the log keeps one field.
    std::map<std::string, std::string> before = Values(fields);
    std::map<std::string, std::string> after = Values(record->Fields());
    before.erase(field.name);
    after.erase(field.name);
    if (before != after) {
      edit.Undo(edited_);
      return;
    }
    touched_[record].insert(field.name);
  }

  void EditInfo() {
    const FieldList fields = edited_.Info().Fields();
    std::vector<const FieldInfo*> plain;
    for (const FieldInfo& field : fields) {
      if (field.kind == FieldKind::Integer && field.editable) plain.push_back(&field);
    }
    const FieldInfo& field = *plain[Pick(plain.size())];
    EditField(edited_, {}, field.name, std::to_string(Pick(100)));
    info_.insert(field.name);
  }

  std::set<std::string> ExpectedInfo() const {
    const std::map<std::string, std::string> before = Values(original_.Info().Fields());
    const std::map<std::string, std::string> after = Values(edited_.Info().Fields());
    std::set<std::string> expected;
    for (const std::string& name : info_) {
      if (before.at(name) != after.at(name)) expected.insert(name);
    }
    return expected;
  }

  // The touched fields whose values differ from the original's in the end.
  std::set<std::string> ExpectedFields(const ZR3Base& original, const ZR3Base& edited) const {
    std::set<std::string> expected;
    const auto found = touched_.find(&edited);
    if (found == touched_.end()) return expected;
    const std::map<std::string, std::string> before = Values(original.Fields());
    const std::map<std::string, std::string> after = Values(edited.Fields());
    for (const std::string& name : found->second) {
      if (name == "cells") {
        if (CellsText(static_cast<const ZR3Map&>(original)) !=
            CellsText(static_cast<const ZR3Map&>(edited))) {
          expected.insert(name);
        }
      } else if (name.starts_with("colour ")) {
        const std::size_t colour = std::stoul(name.substr(7));
        if (before.at("colours").substr(colour * 6, 6) !=
            after.at("colours").substr(colour * 6, 6)) {
          expected.insert(name);
        }
      } else if (before.at(name) != after.at(name)) {
        expected.insert(name);
      }
    }
    return expected;
  }

  void CheckList(Category list, const compare::ListDiff& diff) {
    const RecordList& records = edited_.List(list);
    const RecordList& originals = original_.List(list);
    std::set<std::size_t> added;
    std::set<std::size_t> kept;
    std::set<std::size_t> renamed;
    std::map<std::size_t, std::set<std::string>> changed;
    std::map<std::size_t, std::size_t> originOf;
    for (std::size_t j = 0; j < records.size(); ++j) {
      const auto found = origin_.find(records[j].get());
      if (found == origin_.end()) {
        added.insert(j);
        continue;
      }
      const ZR3Base& original = *originals[found->second];
      originOf[j] = found->second;
      kept.insert(found->second);
      if (original.Name() != records[j]->Name()) renamed.insert(j);
      std::set<std::string> fields = ExpectedFields(original, *records[j]);
      if (!fields.empty()) changed[j] = std::move(fields);
    }
    std::set<std::size_t> removed;
    for (std::size_t i = 0; i < originals.size(); ++i) {
      if (!kept.contains(i)) removed.insert(i);
    }

    std::set<std::size_t> reportedAdded;
    for (const compare::RecordPlace& place : diff.added) reportedAdded.insert(place.index);
    EXPECT_EQ(reportedAdded, added);
    std::set<std::size_t> reportedRemoved;
    for (const compare::RecordPlace& place : diff.removed) reportedRemoved.insert(place.index);
    EXPECT_EQ(reportedRemoved, removed);
    std::set<std::size_t> reportedRenamed;
    for (const compare::RecordRename& rename : diff.renamed) reportedRenamed.insert(rename.index);
    EXPECT_EQ(reportedRenamed, renamed);
    std::map<std::size_t, std::set<std::string>> reportedChanged;
    for (const compare::RecordChange& change : diff.changed) {
      EXPECT_EQ(change.beforeIndex, originOf.at(change.index));
      for (const compare::FieldChange& field : change.fields) {
        reportedChanged[change.index].insert(field.field);
      }
      if (!change.cells.empty()) reportedChanged[change.index].insert("cells");
    }
    EXPECT_EQ(reportedChanged, changed);
    // Which of two exchanged records counts as moved is the alignment's choice; a move is
    // only ever reported where records changed places, from where the record was.
    if (!reordered_.contains(list)) {
      EXPECT_TRUE(diff.moved.empty());
    }
    for (const compare::RecordMove& move : diff.moved) {
      ASSERT_TRUE(originOf.contains(move.to));
      EXPECT_EQ(move.from, originOf.at(move.to));
    }
  }

  std::mt19937 random_;
  ZR3Level original_;
  ZR3Level edited_;
  std::vector<Category> lists_;
  // Each record of the edited level that was in the original, with its original index.
  std::map<const ZR3Base*, std::size_t> origin_;
  std::map<const ZR3Base*, std::set<std::string>> touched_;
  std::set<std::string> info_;
  std::set<Category> reordered_;
  std::set<Category> copiedTo_;
  std::set<Category> deletedFrom_;
  std::map<const ZR3Base*, unsigned> kinds_;
  std::set<const ZR3Base*> copied_;
  int serial_ = 0;
};

void CheckRandomEdits(const std::string& bytes, unsigned seeds, int edits) {
  for (unsigned seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    EditedLevel level(bytes, seed);
    for (int edit = 0; edit < edits; ++edit) level.EditAtRandom();
    level.Check();
    if (testing::Test::HasFailure()) break;
  }
}

TEST(DiffProperty, NamesExactlyWhatRandomEditsTouched) {
  CheckRandomEdits(zr3test::World().Build().Bytes(), 100, 12);
}

// The stress levels: full maps, thousands of records naming each other, scripts through every
// condition and command code.
TEST(DiffProperty, NamesExactlyWhatRandomEditsTouchedOnStressLevels) {
  for (const char* size : {"large/64", "large/16"}) {
    SCOPED_TRACE(size);
    CheckRandomEdits(zr3bench::BuildStressLevel(zr3bench::SizeNamed(size)), 4, 60);
  }
}

}  // namespace
