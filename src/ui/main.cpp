#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstring>

#include "ui/leveltabs.h"

namespace {

void NameApplication() {
  QCoreApplication::setOrganizationName(QStringLiteral("Hollowtree"));
  QCoreApplication::setApplicationName(QStringLiteral("ZR3Tool"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZR3_VERSION));
}

void DescribeCommandLine(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Editor for the level files (.zr3) of a tile-based role-playing game."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("files"),
                               QStringLiteral("Level files to open, each in a tab of its own."),
                               QStringLiteral("[FILE...]"));
}

// --help and --version print and end before any window exists, so they need no display.
bool AsksOnlyForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCommandLineParser parser;
  if (AsksOnlyForText(argc, argv)) {
    QCoreApplication application(argc, argv);
    NameApplication();
    DescribeCommandLine(parser);
    parser.process(application);
    return 0;
  }
  QApplication application(argc, argv);
  NameApplication();
  QApplication::setWindowIcon(
      QIcon::fromTheme(QStringLiteral("zr3tool"), QIcon(QStringLiteral(":/icons/zr3tool.png"))));
  DescribeCommandLine(parser);
  parser.process(application);

  zr3::ui::LevelTabs window;
  window.show();
  window.StartUp(parser.positionalArguments());
  return QApplication::exec();
}
