#include "ui/settings.h"

#include <algorithm>

namespace zr3::ui {

namespace {

// A missing text reads as empty; text of another type stops the reading.
bool ReadText(const QSettings& store, const char* key, QString& into) {
  const QVariant value = store.value(QLatin1String(key));
  if (!value.isValid()) {
    into.clear();
    return true;
  }
  if (value.typeId() != QMetaType::QString) return false;
  into = value.toString();
  return true;
}

// Numbers come as numbers from the registry and as text from INI files.
bool ReadInteger(const QSettings& store, const char* key, int& into) {
  const QVariant value = store.value(QLatin1String(key));
  bool ok = false;
  int number = 0;
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString:
      number = value.toInt(&ok);
      break;
    default:
      break;
  }
  if (ok) into = number;
  return ok;
}

bool ReadAtLeast(const QSettings& store, const char* key, int minimum, int& into) {
  int number = 0;
  if (!ReadInteger(store, key, number)) return false;
  into = std::max(number, minimum);
  return true;
}

}  // namespace

std::unique_ptr<QSettings> OpenSettingsStore() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Hollowtree"), QStringLiteral("ZR3Tool"));
}

namespace {

void ReadWindow(const QSettings& store, WindowSettings& settings) {
  if (!ReadText(store, "DefaultPath", settings.defaultPath)) return;
  int maximized = 0;
  if (!ReadInteger(store, "Maximized", maximized)) return;
  settings.maximized = maximized != 0;
  if (!settings.maximized) {
    if (!ReadAtLeast(store, "Height", WindowSettings::kMinimumHeight, settings.height)) return;
    if (!ReadAtLeast(store, "Width", WindowSettings::kMinimumWidth, settings.width)) return;
    settings.sized = true;
  }
  if (!ReadAtLeast(store, "HSplit", WindowSettings::kMinimumSplit, settings.hSplit)) return;
  if (!ReadAtLeast(store, "VSplit", WindowSettings::kMinimumSplit, settings.vSplit)) return;
  if (!ReadText(store, "ImportPath", settings.importPath)) return;
  ReadText(store, "ExportPath", settings.exportPath);
}

}  // namespace

WindowSettings ReadSettings(const QSettings& store) {
  WindowSettings settings;
  if (store.allKeys().isEmpty()) return settings;
  ReadWindow(store, settings);
  const QVariant recent = store.value(QStringLiteral("RecentFiles"));
  if (recent.canConvert<QStringList>()) {
    settings.recentFiles = recent.toStringList().mid(0, WindowSettings::kRecentFiles);
    settings.recentFiles.removeAll(QString());
  }
  if (!ReadText(store, "GameFolder", settings.gameFolder)) settings.gameFolder.clear();
  if (!ReadText(store, "TestPlayCommand", settings.testPlayCommand)) {
    settings.testPlayCommand.clear();
  }
  settings.geometry = store.value(QStringLiteral("Geometry")).toByteArray();
  settings.dockState = store.value(QStringLiteral("DockState")).toByteArray();
  return settings;
}

namespace {

// An empty value is not stored: the key goes, and a reading finds its default.
template <class Value>
void StoreUnlessEmpty(QSettings& store, const char* key, const Value& value) {
  if (value.isEmpty()) {
    store.remove(QLatin1String(key));
  } else {
    store.setValue(QLatin1String(key), value);
  }
}

}  // namespace

void WriteSettings(QSettings& store, const WindowSettings& settings) {
  store.setValue(QStringLiteral("DefaultPath"), settings.defaultPath);
  store.setValue(QStringLiteral("ImportPath"), settings.importPath);
  store.setValue(QStringLiteral("ExportPath"), settings.exportPath);
  store.setValue(QStringLiteral("Maximized"), settings.maximized ? 1 : 0);
  if (!settings.maximized) {
    store.setValue(QStringLiteral("Height"), settings.height);
    store.setValue(QStringLiteral("Width"), settings.width);
  }
  store.setValue(QStringLiteral("HSplit"), settings.hSplit);
  store.setValue(QStringLiteral("VSplit"), settings.vSplit);
  StoreUnlessEmpty(store, "RecentFiles", settings.recentFiles);
  StoreUnlessEmpty(store, "GameFolder", settings.gameFolder);
  StoreUnlessEmpty(store, "TestPlayCommand", settings.testPlayCommand);
  StoreUnlessEmpty(store, "Geometry", settings.geometry);
  StoreUnlessEmpty(store, "DockState", settings.dockState);
  store.sync();
}

}  // namespace zr3::ui
