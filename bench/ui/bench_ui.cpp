// The editor's record list on one level file, next to its floor measured in the same run:
//   zr3_bench_ui --file=<level.zr3> [Google Benchmark flags]   (QT_QPA_PLATFORM=offscreen)
// item_list_fill chooses the level's largest category in the main window, from the click to
// the list scrolled to its last row and painted; its floor is the same for a plain list view
// over a string list of as many rows. item_list_scroll pages through the shown list, which
// must stay responsive; its floor pages the plain list. item_filter_keystroke types one
// character into the filter above the largest list (or takes one back), as a user narrowing
// it by name does. field_edit_undo sets a field of the first map (its northern border) from
// the Fields pane, which makes its undo command, and undoes it. map_view_frame repaints the
// Map tab of the level's largest map at the default zoom in a 1280 x 800 view, the pictures
// read before; map_paint_stroke drags the brush across 100 cells of it through the view's
// mouse events, which makes one undo command, and undoes it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
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
#include "records/zr3map.h"
#include "ui/categoryrows.h"
#include "ui/fieldmodel.h"
#include "ui/mainwindow.h"
#include "ui/mappane.h"
#include "ui/prompt.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/tilepalette.h"

namespace zr3bench {

namespace {

QListWidget* gCategories = nullptr;
QListView* gItems = nullptr;
int gCategoryRow = 0;
QListView* gPlain = nullptr;
zr3::ui::MainWindow* gWindow = nullptr;

// The category row whose list is the longest.
int LargestCategoryRow(const zr3::ZR3Level& level) {
  int best = 1;
  std::size_t most = 0;
  for (int row = 1; row < zr3::ui::kCategoryRowCount; ++row) {
    const auto category = zr3::ui::CategoryOfRow(row);
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

// The Map tab of the level's largest map, at the default zoom in a view of 1280 x 800.
zr3::ui::MapView* ShowLargestMap() {
  const zr3::ZR3Level& level = *gWindow->Level();
  const auto& maps = level.List(zr3::Category::Maps);
  if (maps.empty()) return nullptr;
  std::size_t largest = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    if (static_cast<const zr3::ZR3Map&>(*maps[i]).Side() >
        static_cast<const zr3::ZR3Map&>(*maps[largest]).Side()) {
      largest = i;
    }
  }
  gWindow->Records()->ShowRecord(zr3::NamedRecord{zr3::Category::Maps, largest});
  gWindow->Views()->setCurrentWidget(gWindow->Views()->MapTab());
  zr3::ui::MapView* view = gWindow->Views()->MapTab()->View();
  view->SetCellSize(zr3::render::MapRenderOptions::kDefaultCell);
  view->SetTool(zr3::ui::MapView::Tool::Paint);
  gWindow->resize(gWindow->size() + QSize(1280, 800) - view->viewport()->size());
  QApplication::processEvents();
  return view;
}

void RegisterAll() {
  RegisterFigure("item_list_fill", [](benchmark::State& state) {
    for (auto _ : state) {
      gCategories->setCurrentRow(zr3::ui::kGeneralRow);
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
    auto* filter = gWindow->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
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
    gCategories->setCurrentRow(zr3::ui::RowOfCategory(zr3::Category::Maps));
    // Edited as a user does, with the Fields tab in front.
    gWindow->findChild<QTabWidget*>(QStringLiteral("recordTabs"))->setCurrentIndex(1);
    zr3::ui::FieldTreeModel* fields = gWindow->Views()->Fields();
    const QModelIndex value = fields->ValueIndex("border_north");
    const QString border = value.data(Qt::EditRole).toString();
    const QString other = border == QStringLiteral("1") ? QStringLiteral("2") : QStringLiteral("1");
    for (auto _ : state) {
      if (!fields->setData(value, other, Qt::EditRole)) state.SkipWithError("edit refused");
      gWindow->UndoStack()->undo();
    }
  });
  RegisterFigure("map_view_frame", [](benchmark::State& state) {
    zr3::ui::MapView* view = ShowLargestMap();
    if (!view) return state.SkipWithError("the level has no map");
    view->viewport()->repaint();
    for (auto _ : state) view->viewport()->repaint();
    state.counters["side"] = view->Map()->Side();
  });
  RegisterFigure("map_paint_stroke", [](benchmark::State& state) {
    zr3::ui::MapView* view = ShowLargestMap();
    if (!view || view->Map()->Side() < 10) return state.SkipWithError("no map of 10 x 10");
    const zr3::ZR3Level& level = *gWindow->Level();
    if (level.List(zr3::Category::Tiles).empty()) return state.SkipWithError("no tiles");
    gWindow->Tiles()->ChooseTile(
        static_cast<zr3::ZR3ChainRecord*>(level.List(zr3::Category::Tiles)[0].get()));
    auto send = [view](QEvent::Type type, zr3::ui::MapCell cell) {
      const QPointF at = view->CellCentre(cell);
      QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(view->viewport(), &event);
    };
    for (auto _ : state) {
      // Ten rows of ten cells, the pen going back and forth.
      send(QEvent::MouseButtonPress, {0, 0});
      for (int row = 0; row < 10; ++row) {
        send(QEvent::MouseMove, {row, row % 2 ? 0 : 9});
        if (row < 9) send(QEvent::MouseMove, {row + 1, row % 2 ? 0 : 9});
      }
      send(QEvent::MouseButtonRelease, {9, 0});
      QApplication::processEvents();
      gWindow->UndoStack()->undo();
      QApplication::processEvents();
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

  zr3::ui::MainWindow window;
  if (!window.OpenLevel(path)) return 1;
  zr3bench::gWindow = &window;
  window.show();
  zr3bench::gCategories = window.findChild<QListWidget*>(QStringLiteral("categoryList"));
  zr3bench::gItems = window.findChild<QListView*>(QStringLiteral("recordList"));
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
