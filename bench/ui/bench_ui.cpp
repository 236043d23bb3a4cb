// The editor's item list on one level file, next to its floor measured in the same run:
//   zr3_bench_ui --file=<level.zr3> [Google Benchmark flags]   (QT_QPA_PLATFORM=offscreen)
// item_list_fill chooses the level's largest category in the main window, from the click to
// the list scrolled to its last row and painted; its floor is the same for a plain list view
// over a string list of as many rows. item_list_scroll pages through the shown list, which
// must stay responsive; its floor pages the plain list. item_filter_keystroke types one
// character into the filter above the largest list (or takes one back), as a user narrowing
// it by name does. field_edit_undo sets a field of the first map (its northern border) from
// the Fields pane, which makes its undo command, and undoes it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QStringListModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cstdio>
#include <cstring>
#include <memory>

#include "figures.h"
#include "ui/fieldmodel.h"
#include "ui/mainform.h"
#include "ui/prompt.h"

namespace zr3bench {

namespace {

QListWidget* gCategories = nullptr;
QListView* gItems = nullptr;
int gCategoryRow = 0;
QListView* gPlain = nullptr;
zr3::ui::TfrmMain* gWindow = nullptr;

// The category row whose list is the longest.
int LargestCategoryRow(const zr3::ZR3Level& level) {
  int best = 1;
  std::size_t most = 0;
  for (int row = 1; row < zr3::ui::TfrmMain::kCategoryRows; ++row) {
    const auto category = zr3::ui::TfrmMain::CategoryOfRow(row);
    if (category && level.List(*category).size() > most) {
      most = level.List(*category).size();
      best = row;
    }
  }
  return best;
}

void Page(benchmark::State& state, QListView* view) {
  const int rows = view->model()->rowCount();
  int row = 0;
  for (auto _ : state) {
    row = (row + 997) % rows;
    view->scrollTo(view->model()->index(row, 0));
    view->repaint();
  }
}

void RegisterAll() {
  RegisterFigure("item_list_fill", [](benchmark::State& state) {
    for (auto _ : state) {
      gCategories->setCurrentRow(zr3::ui::TfrmMain::kGeneralRow);
      gCategories->setCurrentRow(gCategoryRow);
      gItems->scrollToBottom();
      gItems->repaint();
    }
    state.counters["rows"] = gItems->model()->rowCount();
  });
  RegisterFigure("item_list_fill_floor", [](benchmark::State& state) {
    QStringList names;
    for (int i = 0; i < gItems->model()->rowCount(); ++i) names << QString::number(i);
    for (auto _ : state) {
      QStringListModel model(names);
      gPlain->setModel(&model);
      gPlain->scrollToBottom();
      gPlain->repaint();
      gPlain->setModel(nullptr);
    }
  });
  RegisterFigure("item_list_scroll", [](benchmark::State& state) { Page(state, gItems); });
  RegisterFigure("item_filter_keystroke", [](benchmark::State& state) {
    gCategories->setCurrentRow(gCategoryRow);
    auto* filter = gWindow->findChild<QLineEdit*>(QStringLiteral("edtFilter"));
    // Typed one key at a time, then taken back one key at a time; each keystroke until the
    // list shows its new rows.
    const QStringList texts = {"1", "12", "123", "12", "1", ""};
    std::size_t i = 0;
    for (auto _ : state) {
      filter->setText(texts[static_cast<int>(i++ % texts.size())]);
      gItems->doItemsLayout();
      gItems->repaint();
    }
    filter->clear();
    state.counters["rows"] = gItems->model()->rowCount();
  });
  RegisterFigure("field_edit_undo", [](benchmark::State& state) {
    gCategories->setCurrentRow(zr3::ui::TfrmMain::RowOfCategory(zr3::Category::Maps));
    // Edited as a user does, with the Fields tab in front.
    gWindow->findChild<QTabWidget*>(QStringLiteral("tabRecord"))->setCurrentIndex(1);
    zr3::ui::FieldTreeModel* fields = gWindow->FieldModel();
    const QModelIndex value = fields->ValueIndex("border_north");
    const QString border = value.data(Qt::EditRole).toString();
    const QString other = border == QStringLiteral("1") ? QStringLiteral("2") : QStringLiteral("1");
    for (auto _ : state) {
      if (!fields->setData(value, other, Qt::EditRole)) state.SkipWithError("edit refused");
      gWindow->UndoStack()->undo();
    }
  });
  RegisterFigure("item_list_scroll_floor", [](benchmark::State& state) {
    QStringList names;
    for (int i = 0; i < gItems->model()->rowCount(); ++i) names << QString::number(i);
    QStringListModel model(names);
    gPlain->setModel(&model);
    Page(state, gPlain);
    gPlain->setModel(nullptr);
  });
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  QString path;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) path = QString::fromLocal8Bit(argv[i] + 7);
  }
  if (path.isEmpty()) {
    std::fprintf(stderr, "usage: %s --file=<level.zr3> [benchmark flags]\n", argv[0]);
    return 2;
  }
  // The window reads and writes its settings: keep them out of the user's.
  QTemporaryDir settings;
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QApplication app(argc, argv);

  zr3::ui::TfrmMain window;
  if (!window.OpenLevel(path)) return 1;
  zr3bench::gWindow = &window;
  window.show();
  zr3bench::gCategories = window.findChild<QListWidget*>(QStringLiteral("lvwType"));
  zr3bench::gItems = window.findChild<QListView*>(QStringLiteral("lvwItems"));
  zr3bench::gCategoryRow = zr3bench::LargestCategoryRow(*window.Level());
  zr3bench::gCategories->setCurrentRow(zr3bench::gCategoryRow);
  QListView plain;
  plain.setUniformItemSizes(true);
  plain.resize(zr3bench::gItems->size());
  plain.show();
  zr3bench::gPlain = &plain;

  zr3bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
