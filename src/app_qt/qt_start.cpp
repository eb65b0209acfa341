#include "app_qt/qt_start.h"

#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app_qt/qt_text.h"

namespace ws::app {

namespace {

const QString kGameFolderKey = QStringLiteral("gameFolder");

QSettings userSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("worldsmith"),
                   QStringLiteral("worldsmith"));
}

// Qt's messages while the application is made: held until it is known
// whether the display opened. A fatal one (no platform plugin could start)
// ends the program with one line instead of Qt's abort().
QStringList heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) {
    heldMessages.append(text);
    return;
  }
  std::fputs(kNoDisplayLine, stderr);
  std::fflush(stderr);
  std::_Exit(kExitNoDisplay);
}

}  // namespace

std::optional<std::filesystem::path> QtGameFolderStore::rememberedGameFolder() {
  const QString folder = userSettings().value(kGameFolderKey).toString();
  if (folder.isEmpty()) return std::nullopt;
  return toPath(folder);
}

void QtGameFolderStore::rememberGameFolder(const std::filesystem::path& folder) {
  QSettings settings = userSettings();
  settings.setValue(kGameFolderKey, fromPath(folder));
  settings.sync();
}

void QtGameFolderStore::forgetGameFolder() {
  QSettings settings = userSettings();
  settings.remove(kGameFolderKey);
  settings.sync();
}

bool environmentNamesDisplay() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
  const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
  const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if (platform == QLatin1String("xcb")) return x11;
  if (platform.startsWith(QLatin1String("wayland"))) return wayland;
  if (!platform.isEmpty()) return true;  // offscreen, vnc, eglfs: no desktop needed
  return x11 || wayland;
}

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv) {
  const QtMessageHandler previous = qInstallMessageHandler(&holdMessage);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const QString& text : heldMessages)
    qWarning().noquote() << text;
  heldMessages.clear();
  return application;
}

void loadQtTranslations(QApplication& application) {
  auto* translator = new QTranslator(&application);  // owned by the application
  if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

void keepOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect frame = window.frameGeometry();
  const int x =
      std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
  const int y =
      std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
  if (x != frame.left() || y != frame.top()) window.move(x, y);
}

}  // namespace ws::app
