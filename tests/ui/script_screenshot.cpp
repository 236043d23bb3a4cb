// Not run by ctest: draws the script editor on a level's first global script with a
// mistake planted in it, the problem underlined and the completion list open, into a PNG:
//   zr3tool_script_screenshot OUT.png LEVEL.zr3
#include <QApplication>
#include <QCompleter>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <cstdio>

#include "document/texts.h"
#include "level/zr3level.h"
#include "script/zr3script.h"
#include "ui/scripteditdialog.h"
#include "ui/scripteditor.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUT.png LEVEL.zr3\n", argv[0]);
    return 2;
  }
  zr3::ZR3Level level;
  level.Load(argv[2]);
  zr3::ByteWriter out;
  zr3::WriteScriptText(
      static_cast<const zr3::ZR3Script&>(*level.List(zr3::Category::GlobalScripts).front()), out);
  QString text = zr3::ToDisplay(out.Data());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("  redrawmap\n"),
               QStringLiteral("  plya \"Town theme\"\n  givetake give \"\n"));
  zr3::ui::ScriptEditDialog dialog(QStringLiteral("Edit Global script as Text"), text,
                                   {&level, zr3::Category::GlobalScripts, 0});
  dialog.move(40, 40);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
  zr3::ui::ScriptEditor& editor = *dialog.Editor();
  // The cursor after the name being typed, then the list of what fits there.
  const QTextBlock block = editor.document()->findBlockByNumber(11);
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock);
  editor.setTextCursor(cursor);
  editor.Complete();
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 1000) QApplication::processEvents();
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 900, 700);
  if (!shot.save(QString::fromLocal8Bit(argv[1]))) return 1;
  return 0;
}
