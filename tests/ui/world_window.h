#pragma once

#include <QTemporaryDir>
#include <memory>

#include "fake_prompt.h"
#include "support/edit_levels.h"
#include "ui_test_support.h"

// The window on the level of every referring kind (zr3test::World), with the prompt answering.
struct WorldWindow {
  QTemporaryDir folder;
  FakePrompt prompt;
  zr3::ui::MainWindow window{&prompt};
  QString path = WriteLevel(folder, "world.zr3", zr3test::World());

  bool Open() { return window.OpenLevel(path); }
  zr3::ZR3Level& Level() { return *window.Level(); }
  void Select(int categoryRow, int recordRow) {
    CategoryList(window)->setCurrentRow(categoryRow);
    RecordList(window)->setCurrentIndex(RecordList(window)->model()->index(recordRow, 0));
  }
  void Trigger(const char* action) { ActionOf(window, action)->trigger(); }
  // The level as the last save wrote it.
  std::unique_ptr<zr3::ZR3Level> Reloaded() const {
    auto level = std::make_unique<zr3::ZR3Level>();
    level->Load(path.toStdString());
    return level;
  }
};
