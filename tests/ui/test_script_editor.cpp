// The script editor: problems underlined and listed as the text is typed, completion, and OK
// that keeps the dialog open on errors.
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QUndoStack>

#include "document/texts.h"
#include "editor_fixture.h"
#include "fake_prompt.h"
#include "level/zr3level.h"
#include "ui/scripteditdialog.h"
#include "ui/scripteditor.h"
#include "ui_test_support.h"

using zr3::Category;
using zr3::ui::ScriptEditDialog;
using zr3::ui::ScriptEditor;

namespace {

constexpr int kObjectScriptsRow = zr3::ui::RowOfCategory(Category::ObjectScripts);

const QString kDoor = QStringLiteral(
    "objectscript \"Door\"\n"
    "conditions:\n"
    "  flag \"MetMayor\" == val 0\n"
    "commands:\n"
    "  wait -1\n"
    "end script\n");

void ClickOk(ScriptEditDialog& dialog) {
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

// The texts the editor underlines.
QStringList Underlined(const ScriptEditor& editor) {
  QStringList texts;
  for (const QTextEdit::ExtraSelection& selection : editor.extraSelections()) {
    texts << selection.cursor.selectedText();
  }
  return texts;
}

void PutCursorAtEndOfLine(ScriptEditor& editor, int line) {
  QTextCursor cursor(editor.document()->findBlockByNumber(line - 1));
  cursor.movePosition(QTextCursor::EndOfBlock);
  editor.setTextCursor(cursor);
}

}  // namespace

class TestScriptEditor : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { demo_.Load(ZR3_DEMO_PATH); }

  void okWithAnErrorKeepsTheDialogOpenWithItsText() {
    QString text = kDoor;
    text.replace(QStringLiteral("  wait -1"), QStringLiteral("  plya \"Town theme\"\n  wait -1"));
    ScriptEditDialog dialog(QStringLiteral("Edit"), text, {&demo_, Category::ObjectScripts, 0});
    dialog.show();
    ClickOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.Text(), text);
    QVERIFY(dialog.Status()->isVisible());
    QVERIFY(dialog.Status()->text().contains(QStringLiteral("1 error")));
    QCOMPARE(dialog.Problems()->count(), 1);
    QVERIFY(dialog.Problems()->item(0)->text().startsWith(
        QStringLiteral("Line 5, column 3: error: unknown command \"plya\"")));
    // The problem is followed to its place.
    QCOMPARE(dialog.Editor()->textCursor().blockNumber(), 4);
    QCOMPARE(dialog.Editor()->textCursor().positionInBlock(), 2);
  }

  void okWithWarningsAloneAsksOnce() {
    ScriptEditDialog dialog(QStringLiteral("Edit"), QStringLiteral("notes\n") + kDoor,
                            {&demo_, Category::ObjectScripts, 0});
    int asked = 0;
    bool answer = false;
    dialog.SetConfirmWarnings([&](int warnings) {
      ++asked;
      return warnings == 1 && answer;
    });
    dialog.show();
    ClickOk(dialog);
    QCOMPARE(asked, 1);
    QVERIFY(dialog.isVisible());
    answer = true;
    ClickOk(dialog);
    QCOMPARE(asked, 2);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void aHeaderOfAnotherKindIsRefusedWithAMessage() {
    QString text = kDoor;
    text.replace(QStringLiteral("objectscript"), QStringLiteral("globalscript"));
    const std::string& name = demo_.List(Category::ObjectScripts)[0]->Name();
    text.replace(QStringLiteral("\"Door\""), QLatin1Char('"') + zr3::ToDisplay(name) + '"');
    ScriptEditDialog dialog(QStringLiteral("Edit"), text, {&demo_, Category::ObjectScripts, 0});
    dialog.show();
    ClickOk(dialog);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.Status()->text().contains(QStringLiteral("keeps its kind")));
  }

  void underlinesAndProblemsFollowTyping() {
    ScriptEditDialog dialog(QStringLiteral("Edit"), kDoor, {&demo_, Category::ObjectScripts, 0});
    dialog.show();
    ScriptEditor& editor = *dialog.Editor();
    QCOMPARE(dialog.Problems()->count(), 0);
    QVERIFY(editor.extraSelections().isEmpty());

    PutCursorAtEndOfLine(editor, 5);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("  plya 5"));
    // Nothing is analysed while typing goes on; a moment after, the line is underlined.
    QCOMPARE(dialog.Problems()->count(), 0);
    QTRY_COMPARE(dialog.Problems()->count(), 1);
    QCOMPARE(Underlined(editor), QStringList{QStringLiteral("plya 5")});

    // Mended, the underline and the problem go.
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClicks(&editor, QStringLiteral("  gameover 7"));
    QTest::keyClick(&editor, Qt::Key_Escape);
    QTRY_VERIFY(dialog.Problems()->count() == 1 &&
                dialog.Problems()->item(0)->text().contains(QStringLiteral("\"7\" is ignored")));
    QCOMPARE(Underlined(editor), QStringList{QStringLiteral("7")});
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTRY_COMPARE(dialog.Problems()->count(), 0);
    QVERIFY(editor.extraSelections().isEmpty());
    QCOMPARE(editor.document()->findBlockByNumber(5).text(), QStringLiteral("  gameover"));
  }

  void completionOffersTheNamesOfTheListTheValueRefersTo() {
    ScriptEditor editor;
    editor.SetLevel(&demo_);
    editor.setPlainText(QStringLiteral("objectscript \"Door\"\ncommands:\n  givetake give "));
    editor.show();
    PutCursorAtEndOfLine(editor, 3);
    QTest::keyClicks(&editor, QStringLiteral("\"sho"));
    QCompleter& completer = *editor.Completer();
    QTRY_VERIFY(completer.popup()->isVisible());
    QStringList offered;
    for (int row = 0; row < completer.completionCount(); ++row) {
      completer.setCurrentRow(row);
      offered << completer.currentCompletion();
    }
    QVERIFY(offered.contains(QStringLiteral("Short Sword")));
    for (const QString& name : offered)
      QVERIFY(name.contains(QStringLiteral("sho"), Qt::CaseInsensitive));
    // Choosing one writes the quoted name over what was typed.
    const int row = static_cast<int>(offered.indexOf(QStringLiteral("Short Sword")));
    completer.popup()->setCurrentIndex(completer.completionModel()->index(row, 0));
    QTest::keyClick(completer.popup(), Qt::Key_Return);
    QCOMPARE(editor.document()->findBlockByNumber(2).text(),
             QStringLiteral("  givetake give \"Short Sword\""));

    // Ctrl+Space offers the keywords at the start of a line.
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral("  "));
    QTest::keyClick(&editor, Qt::Key_Space, Qt::ControlModifier);
    QTRY_VERIFY(completer.popup()->isVisible());
    completer.setCurrentRow(0);
    QCOMPARE(completer.currentCompletion(), QStringLiteral("nothing"));
  }

  void aNewHeaderNameRenamesTheScriptInOneUndoStep() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kObjectScriptsRow, 0);
    const std::string saved = editor.Saved();
    auto* button = editor.window.findChild<QPushButton*>(QStringLiteral("editAsTextButton"));
    QString text = zr3::ToDisplay([&] {
      zr3::ByteWriter out;
      zr3::WriteScriptText(
          static_cast<const zr3::ZR3Script&>(*editor.Level().List(Category::ObjectScripts)[0]),
          out);
      return out.Release();
    }());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const std::size_t count = editor.Level().List(Category::ObjectScripts).size();
    text.replace(QStringLiteral("objectscript \"Open\""),
                 QStringLiteral("objectscript \"Opened\""));
    text.replace(QStringLiteral("commands:\n"), QStringLiteral("commands:\n  returntomap\n"));
    editor.prompt.editedTexts.push_back(text);
    button->click();
    QCOMPARE(editor.Level().List(Category::ObjectScripts).size(), count);
    QCOMPARE(editor.Level().List(Category::ObjectScripts)[0]->Name(), std::string("Opened"));
    QCOMPARE(RecordList(editor.window)->model()->index(0, 0).data().toString(),
             QStringLiteral("Opened"));
    QCOMPARE(editor.History().count(), 1);
    editor.History().undo();
    QCOMPARE(editor.Level().List(Category::ObjectScripts)[0]->Name(), std::string("Open"));
    QCOMPARE(editor.Saved(), saved);
    editor.History().redo();
    QCOMPARE(editor.Level().List(Category::ObjectScripts)[0]->Name(), std::string("Opened"));
  }

 private:
  zr3::ZR3Level demo_;
};

QTEST_MAIN(TestScriptEditor)
#include "test_script_editor.moc"
