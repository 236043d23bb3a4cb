#include "ui/undocommands.h"

#include <utility>

#include "edit/edit_common.h"
#include "edit/placement.h"
#include "ui/texts.h"

namespace zr3::ui {

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
  return Caption(category, RecordOf(level, category, index).Name());
}

}  // namespace

QString RecordCaption(const ZR3Level& level, const FieldOwner& owner) {
  if (!owner.category) return QObject::tr("General");
  return Named(level, *owner.category, owner.index);
}

void LevelCommand::undo() {
  Undo(host_.EditedLevel());
}

void LevelCommand::redo() {
  if (done_) {
    done_ = false;
    return;
  }
  Redo(host_.EditedLevel());
}

FieldEditCommand::FieldEditCommand(EditHost& host, FieldEdit edit)
    : LevelCommand(
          host, QObject::tr("Change %1 of %2")
                    .arg(ToDisplay(edit.Path()), RecordCaption(host.EditedLevel(), edit.Owner()))),
      edit_(std::move(edit)) {}

PaletteColourCommand::PaletteColourCommand(EditHost& host, std::size_t palette, std::size_t colour,
                                           FieldEdit edit)
    : FieldEditCommand(host, std::move(edit)) {
  setText(QObject::tr("Change colour %1 of %2")
              .arg(colour)
              .arg(Named(host.EditedLevel(), Category::Palettes, palette)));
}

bool FieldEditCommand::mergeWith(const QUndoCommand* other) {
  // The stack deletes the later command once it merged, so its state can be taken.
  auto* later = const_cast<FieldEditCommand*>(static_cast<const FieldEditCommand*>(other));
  if (later->edit_.Owner() != edit_.Owner() || later->edit_.Path() != edit_.Path()) return false;
  edit_.Absorb(std::move(later->edit_));
  return true;
}

void FieldEditCommand::Undo(ZR3Level& level) {
  edit_.Undo(level);
  host_.RecordChanged(edit_.Owner());
}

void FieldEditCommand::Redo(ZR3Level& level) {
  edit_.Redo(level);
  host_.RecordChanged(edit_.Owner());
}

MapPaintCommand::MapPaintCommand(EditHost& host, const QString& verb, MapPaint paint)
    : LevelCommand(host, QStringLiteral("%1 %2").arg(
                             verb, Named(host.EditedLevel(), Category::Maps, paint.MapIndex()))),
      paint_(std::move(paint)) {}

void MapPaintCommand::Undo(ZR3Level& level) {
  paint_.Undo(level);
  host_.RecordChanged(FieldOwner{Category::Maps, paint_.MapIndex()});
}

void MapPaintCommand::Redo(ZR3Level& level) {
  paint_.Redo(level);
  host_.RecordChanged(FieldOwner{Category::Maps, paint_.MapIndex()});
}

RenameCommand::RenameCommand(EditHost& host, Category category, std::size_t index,
                             std::string before, std::string after)
    : LevelCommand(host, QObject::tr("Rename %1").arg(Caption(category, before))),
      category_(category),
      index_(index),
      before_(std::move(before)),
      after_(std::move(after)) {}

void RenameCommand::SetName(ZR3Level& level, const std::string& name) {
  RecordOf(level, category_, index_).SetName(name);
  host_.RecordChanged(FieldOwner{category_, index_});
}

void RenameCommand::Undo(ZR3Level& level) {
  SetName(level, before_);
}

void RenameCommand::Redo(ZR3Level& level) {
  SetName(level, after_);
}

MoveCommand::MoveCommand(EditHost& host, Category category, MoveDirection direction,
                         const MoveResult& moved)
    : LevelCommand(host, (direction == MoveDirection::Up ? QObject::tr("Move Up %1")
                                                         : QObject::tr("Move Down %1"))
                             .arg(Named(host.EditedLevel(), category, moved.to))),
      category_(category),
      direction_(direction),
      moved_(moved) {}

void MoveCommand::Undo(ZR3Level& level) {
  MoveRecord(level, category_, moved_.to, Opposite(direction_));
  host_.ListChanged(category_, moved_.from);
}

void MoveCommand::Redo(ZR3Level& level) {
  MoveRecord(level, category_, moved_.from, direction_);
  host_.ListChanged(category_, moved_.to);
}

CopyCommand::CopyCommand(EditHost& host, Category source, std::size_t sourceIndex,
                         const CopyResult& copied)
    : LevelCommand(host,
                   QObject::tr("Copy %1").arg(Named(host.EditedLevel(), source, sourceIndex))),
      source_(source),
      sourceIndex_(sourceIndex),
      copied_(copied) {}

void CopyCommand::Undo(ZR3Level& level) {
  taken_ = TakeRecord(level, copied_.category, copied_.index);
  level.SetModified(true);
  host_.ListChanged(source_, sourceIndex_);
}

void CopyCommand::Redo(ZR3Level& level) {
  InsertRecord(level, copied_.category, copied_.index, std::move(taken_));
  level.SetModified(true);
  host_.ListChanged(copied_.category, copied_.category == source_ ? copied_.index : sourceIndex_);
}

DeleteCommand::DeleteCommand(EditHost& host, Category category, DeletionResult deleted)
    : LevelCommand(host, QObject::tr("Delete %1").arg(Caption(category, deleted.removed->Name()))),
      category_(category),
      index_(deleted.index),
      removed_(std::move(deleted.removed)) {}

void DeleteCommand::Undo(ZR3Level& level) {
  InsertRecord(level, category_, index_, std::move(removed_));
  level.SetModified(true);
  host_.ListChanged(category_, index_);
}

void DeleteCommand::Redo(ZR3Level& level) {
  removed_ = TakeRecord(level, category_, index_);
  level.SetModified(true);
  const std::size_t count = level.List(category_).size();
  host_.ListChanged(category_, index_ < count ? index_ : count - 1);
}

ImportCommand::ImportCommand(EditHost& host, const QString& text, ScriptImportEdit edit)
    : LevelCommand(host, text), edit_(std::move(edit)) {}

void ImportCommand::Undo(ZR3Level& level) {
  edit_.Undo(level);
  host_.ScriptsChanged();
}

void ImportCommand::Redo(ZR3Level& level) {
  edit_.Redo(level);
  host_.ScriptsChanged();
}

}  // namespace zr3::ui
