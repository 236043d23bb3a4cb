#include "document/levelcommands.h"

#include <algorithm>
#include <map>
#include <utility>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "edit/creation.h"
#include "edit/deletion.h"
#include "edit/placement.h"
#include "edit/rename.h"
#include "json/json_clip.h"
#include "level/zr3error.h"
#include "script/zr3importer.h"

namespace zr3 {

namespace {

MoveDirection Opposite(MoveDirection direction) {
  return direction == MoveDirection::Up ? MoveDirection::Down : MoveDirection::Up;
}

QString Caption(Category category, const std::string& name) {
  QString noun = ToDisplay(InfoOf(category).recordNoun);
  if (!noun.isEmpty()) noun[0] = noun[0].toUpper();
  return QStringLiteral("%1 '%2'").arg(noun, ToDisplay(name));
}

QString Named(const ZR3Level& level, Category category, std::size_t index) {
  return Caption(category, RecordOf(level, category, static_cast<long long>(index)).Name());
}

}  // namespace

QString RecordCaption(const ZR3Level& level, const FieldOwner& owner) {
  if (!owner.category) return QObject::tr("General");
  return Named(level, *owner.category, owner.index);
}

LevelCommand::LevelCommand(LevelDocument& document, const QString& text)
    : QUndoCommand(text), document_(document) {}

void LevelCommand::redo() {
  ZR3Level& level = *document_.Level();
  if (done_) {
    Redo(level, false);
    emit document_.stepped(Shown(level, false));
    return;
  }
  try {
    Redo(level, true);
    done_ = true;
  } catch (const ZR3Error& error) {
    document_.Refuse(MessageText(error));
    setObsolete(true);
  }
}

void LevelCommand::undo() {
  ZR3Level& level = *document_.Level();
  Undo(level);
  emit document_.stepped(Shown(level, true));
}

FieldEditCommand::FieldEditCommand(LevelDocument& document, FieldEdit edit)
    : LevelCommand(document, QObject::tr("Change %1 of %2")
                                 .arg(ToDisplay(edit.Path()),
                                      RecordCaption(*document.Level(), edit.Owner()))),
      edit_(std::move(edit)) {}

bool FieldEditCommand::mergeWith(const QUndoCommand* other) {
  const auto* later = static_cast<const FieldEditCommand*>(other);
  if (later->isObsolete() || !edit_.Absorb(later->edit_)) return false;
  // Back where it started: the step changes nothing and leaves the history.
  if (edit_.ChangesNothing()) setObsolete(true);
  return true;
}

void FieldEditCommand::Announce() {
  const FieldOwner& owner = edit_.Owner();
  emit document_.fieldsChanged(owner);
  if (owner.category == Category::Maps && edit_.Reshapes()) {
    emit document_.mapCellsChanged(owner.index);
  }
  if (owner.category == Category::Palettes && edit_.Path() == "colours") {
    emit document_.paletteColoursChanged(owner.index);
  }
}

void FieldEditCommand::Redo(ZR3Level& level, bool) {
  edit_.Redo(level);
  Announce();
}

void FieldEditCommand::Undo(ZR3Level& level) {
  edit_.Undo(level);
  Announce();
}

PaletteColourCommand::PaletteColourCommand(LevelDocument& document, std::size_t colour,
                                           FieldEdit edit)
    : FieldEditCommand(document, std::move(edit)) {
  setText(QObject::tr("Change colour %1 of %2")
              .arg(colour)
              .arg(RecordCaption(*document.Level(), Edit().Owner())));
}

RenameCommand::RenameCommand(LevelDocument& document, Category category, std::size_t index,
                             std::string name)
    : LevelCommand(document,
                   QObject::tr("Rename %1").arg(Named(*document.Level(), category, index))),
      category_(category),
      index_(index),
      after_(std::move(name)) {}

void RenameCommand::Redo(ZR3Level& level, bool first) {
  if (first) {
    before_ = RecordOf(level, category_, static_cast<long long>(index_)).Name();
    after_ = RenameRecord(level, category_, index_, after_);
    // The same name again is no change.
    if (after_ == before_) {
      setObsolete(true);
      return;
    }
  } else {
    RecordOf(level, category_, static_cast<long long>(index_)).SetName(after_);
  }
  emit document_.recordRenamed(category_, index_);
}

void RenameCommand::Undo(ZR3Level& level) {
  RecordOf(level, category_, static_cast<long long>(index_)).SetName(before_);
  emit document_.recordRenamed(category_, index_);
}

MoveCommand::MoveCommand(LevelDocument& document, Category category, std::size_t index,
                         MoveDirection direction)
    : LevelCommand(document, (direction == MoveDirection::Up ? QObject::tr("Move Up %1")
                                                             : QObject::tr("Move Down %1"))
                                 .arg(Named(*document.Level(), category, index))),
      category_(category),
      from_(index),
      direction_(direction) {}

void MoveCommand::Redo(ZR3Level& level, bool first) {
  const MoveResult moved = MoveRecord(level, category_, from_, direction_);
  if (first && !moved.Moved()) {
    // At an end of its list, or a fixed table: nothing to do and nothing to say.
    setObsolete(true);
    return;
  }
  to_ = moved.to;
  emit document_.recordMoved(category_, from_, to_);
}

void MoveCommand::Undo(ZR3Level& level) {
  MoveRecord(level, category_, to_, Opposite(direction_));
  emit document_.recordMoved(category_, to_, from_);
}

FieldOwner MoveCommand::Shown(const ZR3Level&, bool undone) const {
  return {category_, undone ? from_ : to_};
}

CopyCommand::CopyCommand(LevelDocument& document, Category source, std::size_t sourceIndex,
                         Category target)
    : LevelCommand(document,
                   QObject::tr("Copy %1").arg(Named(*document.Level(), source, sourceIndex))),
      source_(source),
      sourceIndex_(sourceIndex),
      target_(target) {}

void CopyCommand::Redo(ZR3Level& level, bool first) {
  if (first) {
    copied_ = CopyRecord(level, source_, sourceIndex_, target_);
    if (!copied_.Copied()) throw ZR3Error(copied_.refusal);
  } else {
    InsertRecord(level, copied_.category, copied_.index, std::move(taken_));
  }
  emit document_.recordsInserted(copied_.category, copied_.index, 1);
}

void CopyCommand::Undo(ZR3Level& level) {
  taken_ = TakeRecord(level, copied_.category, copied_.index);
  emit document_.recordsRemoved(copied_.category, copied_.index, 1);
}

FieldOwner CopyCommand::Shown(const ZR3Level&, bool undone) const {
  if (!undone && copied_.category == source_) return {source_, copied_.index};
  return {source_, sourceIndex_};
}

AddRecordCommand::AddRecordCommand(LevelDocument& document, Category category, std::size_t position)
    : LevelCommand(document, QObject::tr("Add %1").arg(Caption(category, NewRecordName(category)))),
      category_(category),
      position_(position) {}

void AddRecordCommand::Redo(ZR3Level& level, bool first) {
  if (first) {
    const AddResult added = zr3::AddRecord(level, category_, position_);
    if (!added.Added()) throw ZR3Error(added.refusal);
    position_ = added.index;
  } else {
    InsertRecord(level, category_, position_, std::move(taken_));
  }
  emit document_.recordsInserted(category_, position_, 1);
}

void AddRecordCommand::Undo(ZR3Level& level) {
  taken_ = TakeRecord(level, category_, position_);
  emit document_.recordsRemoved(category_, position_, 1);
}

FieldOwner AddRecordCommand::Shown(const ZR3Level& level, bool undone) const {
  if (!undone) return {category_, position_};
  const std::size_t count = level.List(category_).size();
  return {category_, count == 0 ? 0 : std::min(position_, count - 1)};
}

PasteCommand::PasteCommand(LevelDocument& document, std::string json,
                           std::optional<NamedRecord> after,
                           std::vector<UnresolvedReference>& unresolved)
    : LevelCommand(document, QObject::tr("Paste Records")),
      json_(std::move(json)),
      after_(after),
      unresolved_(&unresolved) {}

template <class Announce>
void PasteCommand::EachRun(Announce announce) const {
  std::map<Category, std::pair<std::size_t, std::size_t>> runs;  // first and count
  for (const NamedRecord& record : placed_) {
    auto [run, added] = runs.try_emplace(*record.category, record.index, 0);
    run->second.first = std::min(run->second.first, record.index);
    ++run->second.second;
  }
  for (const auto& [list, run] : runs) announce(list, run.first, run.second);
}

void PasteCommand::Redo(ZR3Level& level, bool first) {
  if (first) {
    json::PasteResult pasted = json::PasteRecordsJson(level, json_, after_);
    placed_ = std::move(pasted.placed);
    *unresolved_ = std::move(pasted.unresolved);
    json_.clear();
  } else {
    PutBackPasted(level, placed_, std::move(taken_));
  }
  EachRun([this](Category list, std::size_t from, std::size_t count) {
    emit document_.recordsInserted(list, from, count);
  });
}

void PasteCommand::Undo(ZR3Level& level) {
  taken_ = TakePasted(level, placed_);
  EachRun([this](Category list, std::size_t from, std::size_t count) {
    emit document_.recordsRemoved(list, from, count);
  });
}

FieldOwner PasteCommand::Shown(const ZR3Level& level, bool undone) const {
  if (!undone) return {placed_.front().category, placed_.front().index};
  if (after_) return {after_->category, after_->index};
  const Category list = *placed_.front().category;
  const std::size_t count = level.List(list).size();
  return {list, count == 0 ? 0 : count - 1};
}

DeleteCommand::DeleteCommand(LevelDocument& document, Category category, std::size_t index)
    : LevelCommand(document,
                   QObject::tr("Delete %1").arg(Named(*document.Level(), category, index))),
      category_(category),
      index_(index) {}

void DeleteCommand::Redo(ZR3Level& level, bool first) {
  if (first) {
    DeletionResult deleted = DeleteRecord(level, category_, index_);
    if (!deleted.Deleted()) throw ZR3Error(deleted.refusal);
    removed_ = std::move(deleted.removed);
  } else {
    removed_ = TakeRecord(level, category_, index_);
  }
  emit document_.recordsRemoved(category_, index_, 1);
}

void DeleteCommand::Undo(ZR3Level& level) {
  InsertRecord(level, category_, index_, std::move(removed_));
  emit document_.recordsInserted(category_, index_, 1);
}

FieldOwner DeleteCommand::Shown(const ZR3Level& level, bool undone) const {
  // After the deletion, the record that took its place, or the new last one.
  const std::size_t count = level.List(category_).size();
  return {category_, undone ? index_ : std::min(index_, count - 1)};
}

MapPaintCommand::MapPaintCommand(LevelDocument& document, const QString& verb, MapPaint paint)
    : LevelCommand(document, QStringLiteral("%1 %2").arg(
                                 verb, Named(*document.Level(), Category::Maps, paint.MapIndex()))),
      paint_(std::move(paint)) {}

void MapPaintCommand::Redo(ZR3Level& level, bool) {
  // The first time the stroke is on the map already and this puts the same tiles again.
  paint_.Redo(level);
  emit document_.mapCellsChanged(paint_.MapIndex());
}

void MapPaintCommand::Undo(ZR3Level& level) {
  paint_.Undo(level);
  emit document_.mapCellsChanged(paint_.MapIndex());
}

ImportCommand::ImportCommand(LevelDocument& document, const QString& text, Run run, Lines& report)
    : LevelCommand(document, text), run_(std::move(run)), report_(&report) {}

void ImportCommand::Redo(ZR3Level& level, bool first) {
  if (!first) {
    edit_->Redo(level);
    Announce(false);
    return;
  }
  ZR3Importer importer(level);
  importer.KeepChanges();
  try {
    run_(importer);
  } catch (const std::exception&) {
    // The importer's report says what went wrong and where; the level is as it was.
    importer.AppendReport(*report_);
    throw ZR3Error("The import failed");
  }
  importer.AppendReport(*report_);
  run_ = nullptr;
  ImportChanges changes = importer.TakeChanges();
  for (const ImportChanges::Overwritten& script : changes.overwritten) {
    overwritten_.push_back({script.list, script.index});
  }
  for (std::size_t kind = 0; kind < appended_.size(); ++kind) {
    appended_[kind] = changes.appended[kind];
    appendedAt_[kind] =
        level.List(ScriptCategoryOfKind(static_cast<int>(kind))).size() - appended_[kind];
  }
  edit_.emplace(level, std::move(changes));
  if (edit_->Empty()) {
    setObsolete(true);
    return;
  }
  Announce(false);
}

void ImportCommand::Undo(ZR3Level& level) {
  edit_->Undo(level);
  Announce(true);
}

void ImportCommand::Announce(bool undone) {
  for (std::size_t kind = 0; kind < appended_.size(); ++kind) {
    if (appended_[kind] == 0) continue;
    const Category list = ScriptCategoryOfKind(static_cast<int>(kind));
    if (undone) {
      emit document_.recordsRemoved(list, appendedAt_[kind], appended_[kind]);
    } else {
      emit document_.recordsInserted(list, appendedAt_[kind], appended_[kind]);
    }
  }
  for (const FieldOwner& script : overwritten_) emit document_.fieldsChanged(script);
}

FieldOwner ImportCommand::Shown(const ZR3Level&, bool undone) const {
  if (!overwritten_.empty()) return overwritten_.front();
  for (std::size_t kind = 0; kind < appended_.size(); ++kind) {
    if (appended_[kind] == 0) continue;
    const Category list = ScriptCategoryOfKind(static_cast<int>(kind));
    // Undone, the scripts are gone: the list they were added to shows.
    return {list, undone ? 0 : appendedAt_[kind]};
  }
  return {};
}

}  // namespace zr3
