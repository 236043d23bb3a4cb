#include "document/conflictlist.h"

#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/levelcommands.h"
#include "document/leveldocument.h"
#include "document/texts.h"
#include "level/file_source.h"
#include "level/safefile.h"
#include "level/zr3error.h"

namespace zr3 {

namespace {

// "price of Item 'Sword'", "cell 2, 4, 10 of Map 'Town'", "Item 'Sword'".
QString ConflictCaption(const merge::MergeConflict& conflict) {
  QString record = QObject::tr("General");
  if (conflict.category) {
    QString noun = ToDisplay(InfoOf(*conflict.category).recordNoun);
    if (!noun.isEmpty()) noun[0] = noun[0].toUpper();
    record = QStringLiteral("%1 '%2'").arg(noun, ToDisplay(conflict.name));
  }
  const merge::ConflictPlace& place = conflict.place;
  if (!place.field.empty()) return QObject::tr("%1 of %2").arg(ToDisplay(place.field), record);
  if (place.cell) {
    return QObject::tr("layer %1, row %2, column %3 of %4")
        .arg(place.cell->layer)
        .arg(place.cell->row)
        .arg(place.cell->column)
        .arg(record);
  }
  if (place.colour) return QObject::tr("colour %1 of %2").arg(*place.colour).arg(record);
  return record;
}

// One conflict resolved: the chosen side's value in the level, and the conflict off the list.
class ResolveConflictCommand : public LevelCommand {
 public:
  ResolveConflictCommand(LevelDocument& document, ConflictList& list, std::size_t entry,
                         merge::ConflictSide side)
      : LevelCommand(document, QObject::tr("Take %1 for %2")
                                   .arg(QString::fromLatin1(merge::SideName(side)),
                                        ConflictCaption(list.Entries()[entry].conflict))),
        list_(list),
        entry_(entry),
        resolution_(list.Entries()[entry].conflict, side) {}

 protected:
  void Redo(ZR3Level& level, bool) override {
    resolution_.Redo(level);
    Announce(false);
  }
  void Undo(ZR3Level& level) override {
    resolution_.Undo(level);
    Announce(true);
  }
  FieldOwner Shown(const ZR3Level& level, bool) const override {
    const merge::MergeConflict& conflict = resolution_.Conflict();
    if (!conflict.category) return {};
    // A record taken out leaves the one that took its place, or the new last one.
    const std::size_t count = level.List(*conflict.category).size();
    return {conflict.category, count == 0 ? 0 : std::min(conflict.index, count - 1)};
  }

 private:
  void Announce(bool undone) {
    list_.SetBusy(entry_);
    const merge::MergeConflict& conflict = resolution_.Conflict();
    const FieldOwner owner{conflict.category, conflict.index};
    using Change = merge::ResolutionChange;
    switch (resolution_.Change()) {
      case Change::None:
        break;
      case Change::Field:
        emit document_.fieldsChanged(owner);
        if (conflict.category == Category::Maps && conflict.place.field == "size") {
          emit document_.mapCellsChanged(conflict.index);
        }
        break;
      case Change::Cells:
        emit document_.mapCellsChanged(conflict.index);
        break;
      case Change::Colour:
        emit document_.fieldsChanged(owner);
        emit document_.paletteColoursChanged(conflict.index);
        break;
      case Change::RecordInserted:
      case Change::RecordRemoved:
        if ((resolution_.Change() == Change::RecordInserted) != undone) {
          emit document_.recordsInserted(*conflict.category, conflict.index, 1);
        } else {
          emit document_.recordsRemoved(*conflict.category, conflict.index, 1);
        }
        break;
      case Change::RecordReplaced:
        emit document_.recordRenamed(*conflict.category, conflict.index);
        emit document_.fieldsChanged(owner);
        if (conflict.category == Category::Maps) emit document_.mapCellsChanged(conflict.index);
        if (conflict.category == Category::Palettes) {
          emit document_.paletteColoursChanged(conflict.index);
        }
        break;
    }
    list_.SetBusy(std::nullopt);
    list_.SetResolved(entry_, !undone);
  }

  ConflictList& list_;
  std::size_t entry_;
  merge::ConflictResolution resolution_;
};

}  // namespace

ConflictList::ConflictList(LevelDocument& document) : QObject(&document), document_(document) {
  connect(&document, &LevelDocument::levelReplaced, this, &ConflictList::Load);
  connect(&document, &LevelDocument::recordsInserted, this, &ConflictList::OnInserted);
  connect(&document, &LevelDocument::recordsRemoved, this, &ConflictList::OnRemoved);
  connect(&document, &LevelDocument::recordMoved, this, &ConflictList::OnMoved);
}

std::size_t ConflictList::UnresolvedCount() const {
  return static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.resolved; }));
}

void ConflictList::Load() {
  entries_.clear();
  filePath_.clear();
  loadError_.clear();
  if (document_.Loaded() && !document_.FilePath().isEmpty()) {
    const std::string path = merge::ConflictsFilePath(ToNativePath(document_.FilePath()));
    if (std::filesystem::exists(path)) {
      filePath_ = FromNativePath(path);
      try {
        for (merge::MergeConflict& conflict : merge::ConflictsFromJson(ReadWholeFile(path))) {
          entries_.push_back({std::move(conflict)});
        }
      } catch (const std::exception& error) {
        entries_.clear();
        loadError_ = tr("%1: %2").arg(filePath_, MessageText(error));
      }
    }
  }
  emit changed();
}

QString ConflictList::Resolve(std::size_t entry, merge::ConflictSide side) {
  if (entry >= entries_.size() || entries_[entry].resolved) return tr("No such conflict");
  if (entries_[entry].lost) {
    return tr("The record of this conflict was deleted; undo the deletion to resolve it");
  }
  return document_.Push(new ResolveConflictCommand(document_, *this, entry, side));
}

void ConflictList::SetResolved(std::size_t entry, bool resolved) {
  entries_[entry].resolved = resolved;
  emit changed();
}

void ConflictList::Saved(const QString& levelPath) {
  if (entries_.empty()) return;
  const ZR3Level& level = *document_.Level();
  std::vector<merge::MergeConflict> left;
  for (const Entry& entry : entries_) {
    if (entry.resolved) continue;
    merge::MergeConflict conflict = entry.conflict;
    // Named as the record stands now, in case it was renamed.
    const auto& category = conflict.category;
    if (category && !entry.lost && merge::RecordPresent(conflict) &&
        conflict.index < level.List(*category).size()) {
      conflict.name = level.List(*category)[conflict.index]->Name();
    }
    left.push_back(std::move(conflict));
  }
  const std::string path = merge::ConflictsFilePath(ToNativePath(levelPath));
  if (!left.empty()) {
    WriteFileAtomically(path, merge::ConflictsToJson(left));
    filePath_ = FromNativePath(path);
  } else {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) throw ZR3Error("Cannot remove file " + path + ": " + error.message());
    filePath_.clear();
  }
  emit changed();
}

template <class Shift>
void ConflictList::Follow(Category category, Shift shift) {
  bool any = false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Entry& entry = entries_[i];
    if (entry.conflict.category != category || busy_ == i) continue;
    shift(entry, merge::RecordPresent(entry.conflict) && !entry.lost);
    any = true;
  }
  if (any) emit changed();
}

void ConflictList::OnInserted(Category category, std::size_t index, std::size_t count) {
  Follow(category, [&](Entry& entry, bool present) {
    std::size_t& at = entry.conflict.index;
    if (entry.lost && at == index) {
      // Most likely the deletion undone: the record is back.
      entry.lost = false;
    } else if (present ? at >= index : at > index) {
      at += count;
    }
  });
}

void ConflictList::OnRemoved(Category category, std::size_t index, std::size_t count) {
  Follow(category, [&](Entry& entry, bool present) {
    std::size_t& at = entry.conflict.index;
    if (at >= index + count) {
      at -= count;
    } else if (at >= index) {
      at = index;
      if (present) entry.lost = true;
    }
  });
}

void ConflictList::OnMoved(Category category, std::size_t from, std::size_t to) {
  Follow(category, [&](Entry& entry, bool present) {
    std::size_t& at = entry.conflict.index;
    if (!present) return;
    if (at == from) {
      at = to;
    } else if (at == to) {
      at = from;
    }
  });
}

}  // namespace zr3
