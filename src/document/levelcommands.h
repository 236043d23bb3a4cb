#pragma once

#include <QUndoCommand>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "edit/copy.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/paste.h"
#include "edit/reorder.h"
#include "edit/script_import_edit.h"
#include "level/text.h"
#include "level/zr3level.h"

namespace zr3 {

class LevelDocument;

// How a command names a record: "Map 'Hollowtree'", or "General" for the level information.
QString RecordCaption(const ZR3Level& level, const FieldOwner& owner);

// A change to the document's level. redo() does the change, the first time as well as after an
// undo; a first doing that is refused tells the document why and leaves the history (the
// stack drops an obsolete command). Each command says what changed through the document's
// signals once the level is consistent, and after an undo or a redo which record to show.
class LevelCommand : public QUndoCommand {
 public:
  LevelCommand(LevelDocument& document, const QString& text);
  void redo() final;
  void undo() final;

 protected:
  // Do the change (throwing ZR3Error to refuse it the first time) and announce it.
  virtual void Redo(ZR3Level& level, bool first) = 0;
  virtual void Undo(ZR3Level& level) = 0;
  // The record an undo or redo brings into view.
  virtual FieldOwner Shown(const ZR3Level& level, bool undone) const = 0;
  LevelDocument& document_;

 private:
  bool done_ = false;
};

// A field set to a new value. Consecutive edits of one field are one step; a step that comes
// back to the value it started from leaves the history.
class FieldEditCommand : public LevelCommand {
 public:
  static constexpr int kId = 1;
  FieldEditCommand(LevelDocument& document, FieldEdit edit);
  int id() const override { return edit_.Reshapes() ? -1 : kId; }
  bool mergeWith(const QUndoCommand* other) override;
  const FieldEdit& Edit() const { return edit_; }

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool) const override { return edit_.Owner(); }

 private:
  void Announce();
  FieldEdit edit_;
};

// One palette colour changed: a step of its own, never merged with the next colour.
class PaletteColourCommand : public FieldEditCommand {
 public:
  PaletteColourCommand(LevelDocument& document, std::size_t colour, FieldEdit edit);
  int id() const override { return -1; }
};

class RenameCommand : public LevelCommand {
 public:
  RenameCommand(LevelDocument& document, Category category, std::size_t index, std::string name);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool) const override { return {category_, index_}; }

 private:
  Category category_;
  std::size_t index_;
  std::string before_;
  std::string after_;
};

class MoveCommand : public LevelCommand {
 public:
  MoveCommand(LevelDocument& document, Category category, std::size_t index,
              MoveDirection direction);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool undone) const override;

 private:
  Category category_;
  std::size_t from_;
  std::size_t to_ = 0;
  MoveDirection direction_;
};

// Undo takes the copy out of its list and keeps it; redo puts the same record back.
class CopyCommand : public LevelCommand {
 public:
  CopyCommand(LevelDocument& document, Category source, std::size_t sourceIndex, Category target);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool undone) const override;

 private:
  Category source_;
  std::size_t sourceIndex_;
  Category target_;
  CopyResult copied_;
  std::unique_ptr<ZR3Base> taken_;
};

// A new record with its kind's defaults; undo takes it out of its list and keeps it, redo puts
// the same record back.
class AddRecordCommand : public LevelCommand {
 public:
  AddRecordCommand(LevelDocument& document, Category category, std::size_t position);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool undone) const override;

 private:
  Category category_;
  std::size_t position_;
  std::unique_ptr<ZR3Base> taken_;
};

// Records pasted from their JSON form; undo takes them out and keeps them, redo puts the same
// records back. The first doing hands over the references it left unresolved.
class PasteCommand : public LevelCommand {
 public:
  PasteCommand(LevelDocument& document, std::string json, std::optional<NamedRecord> after,
               std::vector<UnresolvedReference>& unresolved);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level& level, bool undone) const override;

 private:
  // Each list's pasted records are one run: the document hears of each run once.
  template <class Announce>
  void EachRun(Announce announce) const;

  std::string json_;
  std::optional<NamedRecord> after_;
  std::vector<UnresolvedReference>* unresolved_;
  std::vector<NamedRecord> placed_;
  std::vector<std::unique_ptr<ZR3Base>> taken_;
};

// Keeps the removed record while the deletion stands; undo puts it back at its place.
class DeleteCommand : public LevelCommand {
 public:
  DeleteCommand(LevelDocument& document, Category category, std::size_t index);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level& level, bool undone) const override;

 private:
  Category category_;
  std::size_t index_;
  std::unique_ptr<ZR3Base> removed_;
};

// One stroke of painting on a map.
class MapPaintCommand : public LevelCommand {
 public:
  // verb names the stroke: "Paint", "Fill" or "Erase".
  MapPaintCommand(LevelDocument& document, const QString& verb, MapPaint paint);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool) const override {
    return {Category::Maps, paint_.MapIndex()};
  }

 private:
  MapPaint paint_;
};

// One whole script import. The first redo runs it and hands its report over.
class ImportCommand : public LevelCommand {
 public:
  using Run = std::function<void(ZR3Importer&)>;
  ImportCommand(LevelDocument& document, const QString& text, Run run, Lines& report);

 protected:
  void Redo(ZR3Level& level, bool first) override;
  void Undo(ZR3Level& level) override;
  FieldOwner Shown(const ZR3Level&, bool undone) const override;

 private:
  void Announce(bool undone);
  Run run_;
  Lines* report_;
  std::optional<ScriptImportEdit> edit_;
  std::vector<FieldOwner> overwritten_;
  // Where each script list's appended scripts start, by kind, and how many there are.
  std::array<std::size_t, 4> appendedAt_{};
  std::array<std::size_t, 4> appended_{};
};

}  // namespace zr3
