// Measures how long choosing a category of 65535 records takes, from the click to the item
// list ready to paint, with the first record described.
#include <QListView>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "fake_prompt.h"
#include "level/record_factory.h"
#include "ui_test_support.h"

class BenchItemList : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void fillWith65535Records() {
    QTemporaryDir folder;
    FakePrompt prompt;
    zr3::ui::MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "big.zr3")));
    zr3::RecordList& maps = window.Level()->List(zr3::Category::Maps);
    for (int i = 0; i < 65535; ++i) {
      std::unique_ptr<zr3::ZR3Base> record = zr3::NewRecord(zr3::Category::Maps);
      record->SetName("Map number " + std::to_string(i));
      maps.push_back(std::move(record));
    }
    window.show();
    QListWidget* categories = CategoryList(window);
    QListView* items = RecordList(window);
    QBENCHMARK {
      categories->setCurrentRow(zr3::ui::kGeneralRow);
      categories->setCurrentRow(zr3::ui::RowOfCategory(zr3::Category::Maps));
      items->scrollToBottom();
      items->repaint();
    }
    QCOMPARE(items->model()->rowCount(), 65535);
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(BenchItemList)
#include "bench_item_list.moc"
