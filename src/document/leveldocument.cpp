#include "document/leveldocument.h"

#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>
#include <utility>

#include "document/conflictlist.h"
#include "document/levelcommands.h"
#include "document/recovery.h"
#include "document/texts.h"
#include "edit/creation.h"

namespace zr3 {

LevelDocument::LevelDocument(QObject* parent)
    : QObject(parent),
      undoStack_(new QUndoStack(this)),
      recovery_(std::make_unique<Recovery>(*this)),
      recoveryTimer_(new QTimer(this)),
      conflicts_(new ConflictList(*this)) {
  undoStack_->setObjectName(QStringLiteral("undoStack"));
  connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
    if (level_) level_->SetModified(!clean);
    emit modifiedChanged(!clean);
  });
  recoveryTimer_->setSingleShot(true);
  recoveryTimer_->setInterval(kRecoveryInterval);
  connect(recoveryTimer_, &QTimer::timeout, this, &LevelDocument::WriteRecovery);
  connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
    recoveryDue_ = true;
    if (!recoveryTimer_->isActive()) recoveryTimer_->start();
  });
}

LevelDocument::~LevelDocument() {
  // The commands point into the level.
  undoStack_->clear();
}

bool LevelDocument::Modified() const {
  return level_ && !undoStack_->isClean();
}

bool LevelDocument::ChangedOnDisk() const {
  if (path_.isEmpty()) return false;
  // A file that is gone holds nobody's changes: saving makes it again.
  const FileIdentity now = FileIdentity::Of(path_);
  return !now.Empty() && !(now == identity_);
}

void LevelDocument::SetPath(const QString& path) {
  if (path == path_) return;
  path_ = path;
  emit filePathChanged(path_);
}

void LevelDocument::ReplaceLevel(std::unique_ptr<ZR3Level> level) {
  recovery_->Discard();
  recoveryTimer_->stop();
  recoveryDue_ = false;
  // The commands point into the level about to go.
  undoStack_->clear();
  level_ = std::move(level);
  undoStack_->setClean();
}

void LevelDocument::Open(const QString& path, ZR3Progress* progress) {
  auto level = std::make_unique<ZR3Level>();
  try {
    level->Load(ToNativePath(path), progress);
  } catch (const std::exception&) {
    ReplaceLevel(std::move(level));
    SetPath(path);
    identity_ = FileIdentity::Of(path);
    emit levelReplaced();
    emit modifiedChanged(false);
    throw;
  }
  // Read before the views learn of the level, so that a change that comes meanwhile asks.
  identity_ = FileIdentity::Of(path);
  ReplaceLevel(std::move(level));
  SetPath(path);
  emit levelReplaced();
  emit modifiedChanged(false);
}

void LevelDocument::New() {
  identity_ = {};
  ReplaceLevel(NewLevel());
  SetPath({});
  emit levelReplaced();
  emit modifiedChanged(false);
}

void LevelDocument::OpenRecovered(const QString& copy, const QString& path,
                                  const FileIdentity& identity) {
  auto level = std::make_unique<ZR3Level>();
  level->Load(ToNativePath(copy));
  ReplaceLevel(std::move(level));
  identity_ = identity;
  SetPath(path);
  // The changes are unsaved: no state of the history matches the file.
  undoStack_->resetClean();
  level_->SetModified(true);
  emit levelReplaced();
  emit modifiedChanged(true);
  // The copy stays until the changes are saved or dropped, so a second crash loses nothing.
  recoveryDue_ = true;
  WriteRecovery();
}

void LevelDocument::Save(const QString& path) {
  const QString target = path.isEmpty() ? path_ : path;
  try {
    level_->Save(ToNativePath(target));
  } catch (const ZR3Error&) {
    // The file no longer holds what the history calls clean.
    if (undoStack_->isClean()) undoStack_->resetClean();
    level_->SetModified(true);
    throw;
  }
  identity_ = FileIdentity::Of(target);
  recovery_->Discard();
  SetPath(target);
  undoStack_->setClean();
  recoveryDue_ = false;
  recoveryTimer_->stop();
  // The level is saved; what is left of its merge conflicts goes beside it.
  conflicts_->Saved(target);
}

void LevelDocument::WriteRecovery() {
  recoveryTimer_->stop();
  if (!recoveryDue_) return;
  recoveryDue_ = false;
  recovery_->Write();
}

QString LevelDocument::Push(LevelCommand* command) {
  refusal_.clear();
  undoStack_->push(command);
  // An edit that changed nothing may have marked the level; its flag follows the history.
  level_->SetModified(!undoStack_->isClean());
  return std::exchange(refusal_, QString());
}

QString LevelDocument::EditField(const FieldOwner& owner, const std::string& path,
                                 const std::string& value) {
  return Push(new FieldEditCommand(*this, FieldEdit(owner, path, value)));
}

QString LevelDocument::SetPaletteColour(std::size_t palette, std::size_t colour,
                                        std::array<std::uint8_t, 3> rgb) {
  try {
    return Push(
        new PaletteColourCommand(*this, colour, PaletteColourEdit(*level_, palette, colour, rgb)));
  } catch (const ZR3Error& error) {
    return MessageText(error);
  }
}

void LevelDocument::Rename(Category category, std::size_t index, const std::string& name) {
  Push(new RenameCommand(*this, category, index, name));
}

void LevelDocument::Move(Category category, std::size_t index, MoveDirection direction) {
  Push(new MoveCommand(*this, category, index, direction));
}

QString LevelDocument::Copy(Category category, std::size_t index, Category target) {
  return Push(new CopyCommand(*this, category, index, target));
}

QString LevelDocument::Paste(std::string json, std::optional<NamedRecord> after,
                             std::vector<UnresolvedReference>& unresolved) {
  return Push(new PasteCommand(*this, std::move(json), after, unresolved));
}

QString LevelDocument::AddRecord(Category category, std::size_t position) {
  return Push(new AddRecordCommand(*this, category, position));
}

QString LevelDocument::Delete(Category category, std::size_t index) {
  return Push(new DeleteCommand(*this, category, index));
}

QString LevelDocument::MoveObject(std::size_t object, int x, int y) {
  const FieldOwner owner{Category::Objects, object};
  undoStack_->beginMacro(tr("Move %1").arg(RecordCaption(*level_, owner)));
  QString refusal = EditField(owner, "location_x", std::to_string(x));
  if (refusal.isEmpty()) refusal = EditField(owner, "location_y", std::to_string(y));
  undoStack_->endMacro();
  return refusal;
}

void LevelDocument::AddPaintStroke(MapPaint paint, const QString& verb) {
  Push(new MapPaintCommand(*this, verb, std::move(paint)));
}

bool LevelDocument::ImportScripts(const std::function<void(ZR3Importer&)>& run, const QString& text,
                                  Lines& report) {
  return Push(new ImportCommand(*this, text, run, report)).isEmpty();
}

}  // namespace zr3
