#pragma once

#include <QUndoCommand>
#include <memory>
#include <optional>
#include <string>

#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/reorder.h"
#include "edit/script_import_edit.h"
#include "level/zr3level.h"

namespace zr3::ui {

// What the undo commands change and tell: the window, which owns the level and its views.
class EditHost {
 public:
  virtual ~EditHost() = default;
  virtual ZR3Level& EditedLevel() = 0;
  // A record's fields or name changed: the views that show it follow.
  virtual void RecordChanged(const FieldOwner& owner) = 0;
  // A list changed its order or length: the views that show it follow, with the record at
  // select chosen.
  virtual void ListChanged(Category category, std::size_t select) = 0;
  // Scripts were overwritten or appended by an import or its undo.
  virtual void ScriptsChanged() = 0;
};

// How a command names a record: "Map 'Hollowtree'", or "General" for the level information.
QString RecordCaption(const ZR3Level& level, const FieldOwner& owner);

// Every command below is made after its change was done, so the first redo, which the undo
// stack runs as it takes the command, does nothing.
class LevelCommand : public QUndoCommand {
 public:
  LevelCommand(EditHost& host, const QString& text) : QUndoCommand(text), host_(host) {}
  void undo() final;
  void redo() final;

 protected:
  virtual void Undo(ZR3Level& level) = 0;
  virtual void Redo(ZR3Level& level) = 0;
  EditHost& host_;

 private:
  bool done_ = true;
};

// Consecutive edits of the same field of the same record merge into one command.
class FieldEditCommand : public LevelCommand {
 public:
  static constexpr int kId = 1;
  FieldEditCommand(EditHost& host, FieldEdit edit);
  int id() const override { return kId; }
  bool mergeWith(const QUndoCommand* other) override;

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  FieldEdit edit_;
};

class RenameCommand : public LevelCommand {
 public:
  RenameCommand(EditHost& host, Category category, std::size_t index, std::string before,
                std::string after);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  void SetName(ZR3Level& level, const std::string& name);
  Category category_;
  std::size_t index_;
  std::string before_;
  std::string after_;
};

class MoveCommand : public LevelCommand {
 public:
  MoveCommand(EditHost& host, Category category, MoveDirection direction, const MoveResult& moved);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  Category category_;
  MoveDirection direction_;
  MoveResult moved_;
};

// Undo takes the copy out of its list and keeps it; redo puts the same record back.
class CopyCommand : public LevelCommand {
 public:
  CopyCommand(EditHost& host, Category source, std::size_t sourceIndex, const CopyResult& copied);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  Category source_;
  std::size_t sourceIndex_;
  CopyResult copied_;
  std::unique_ptr<ZR3Base> taken_;
};

// Keeps the removed record while the deletion stands; undo puts it back at its place.
class DeleteCommand : public LevelCommand {
 public:
  DeleteCommand(EditHost& host, Category category, DeletionResult deleted);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  Category category_;
  std::size_t index_;
  std::unique_ptr<ZR3Base> removed_;
};

// One palette colour changed: a step of its own, never merged with the next colour.
class PaletteColourCommand : public FieldEditCommand {
 public:
  PaletteColourCommand(EditHost& host, std::size_t palette, std::size_t colour, FieldEdit edit);
  int id() const override { return -1; }
};

// One stroke of painting on a map.
class MapPaintCommand : public LevelCommand {
 public:
  // verb names the stroke: "Paint", "Fill" or "Erase".
  MapPaintCommand(EditHost& host, const QString& verb, MapPaint paint);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  MapPaint paint_;
};

// One command for a whole script import.
class ImportCommand : public LevelCommand {
 public:
  ImportCommand(EditHost& host, const QString& text, ScriptImportEdit edit);

 protected:
  void Undo(ZR3Level& level) override;
  void Redo(ZR3Level& level) override;

 private:
  ScriptImportEdit edit_;
};

}  // namespace zr3::ui
