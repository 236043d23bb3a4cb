#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>
#include <string>

#include "fake_prompt.h"
#include "support/edit_levels.h"
#include "ui/fieldmodel.h"
#include "ui_test_support.h"

// The window on a level file of the test's own.
struct Editor {
  explicit Editor(const zr3test::LevelBuilder& builder = zr3test::World()) {
    path = WriteLevel(folder, "level.zr3", builder);
  }
  // A copy of a level file.
  explicit Editor(const QString& file) {
    path = folder.filePath(QStringLiteral("level.zr3"));
    QFile::copy(file, path);
  }
  bool Open() { return window.OpenLevel(path); }
  zr3::ZR3Level& Level() { return *window.Level(); }
  void Select(int categoryRow, int recordRow) {
    CategoryList(window)->setCurrentRow(categoryRow);
    if (recordRow >= 0) {
      RecordList(window)->setCurrentIndex(RecordList(window)->model()->index(recordRow, 0));
    }
  }
  void Trigger(const char* action) { ActionOf(window, action)->trigger(); }
  zr3::ui::FieldTreeModel& Fields() { return *window.Views()->Fields(); }
  QUndoStack& History() { return *window.UndoStack(); }
  bool SetField(const std::string& path, const QString& value) {
    const QModelIndex index = Fields().ValueIndex(path);
    if (!index.isValid()) qFatal("no field %s", path.c_str());
    return Fields().setData(index, value, Qt::EditRole);
  }
  QString Field(const std::string& path) {
    return Fields().ValueIndex(path).data(Qt::EditRole).toString();
  }
  std::string Saved() { return Level().SaveToBytes(); }
  void UndoAll() {
    while (History().canUndo()) History().undo();
  }
  void RedoAll() {
    while (History().canRedo()) History().redo();
  }

  QTemporaryDir folder;
  FakePrompt prompt;
  zr3::ui::MainWindow window{&prompt};
  QString path;
};
