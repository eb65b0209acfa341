// The editor: one window on the host game's folder.
//
//   worldsmith [--game-dir DIR] [--demo] [SAVE]
//
// --game-dir names the game folder (else $WORLDSMITH_GAME_DIR, else the
// registry, else the folder chosen in an earlier run, else the editor asks).
// --demo writes the built-in demo game into the user's cache folder when it
// is not there complete and starts on it. SAVE is loaded once the window is
// up, as LOAD loads the file chosen in its dialog.

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "app_qt/main_window.h"
#include "app_qt/qt_dialogs.h"
#include "app_qt/qt_start.h"
#include "app_qt/qt_text.h"
#include "demo/demo_start.h"
#include "editor/editor_messages.h"
#include "platform/state_folder.h"
#include "platform/text.h"
#include "version_info.h"

namespace {

constexpr int kExitNoGame = 1;
constexpr int kExitUsage = 2;

// Whether the command line asks only for text (help or version), which
// needs no window system: QCommandLineParser prints it and ends the program.
// Printed, not shown in a box: the manual page is made from it.
bool asksForTextOnly(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

struct Options {
  QCommandLineOption gameDir{
      QStringLiteral("game-dir"),
      QStringLiteral("The game folder (else $WORLDSMITH_GAME_DIR, else the registry)."),
      QStringLiteral("DIR")};
  QCommandLineOption demo{
      QStringLiteral("demo"),
      QStringLiteral("Start on the demo game, written into the user's cache folder first.")};
};

void describe(QCommandLineParser& parser, const Options& options) {
  parser.setApplicationDescription(QStringLiteral("World editor for the host game's save files."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOptions({options.gameDir, options.demo});
  parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("A save file to load."),
                               QStringLiteral("[SAVE]"));
}

// A usage error: the Japanese message in a box, the English one in the log.
int refuseUsage(ws::app::QtDialogs& dialogs, const std::string& cp932Message,
                const QString& english) {
  dialogs.logLine("worldsmith: " + english.toStdString());
  dialogs.showMessage(cp932Message);
  return kExitUsage;
}

std::string cp932Of(const QString& text) {
  return ws::platform::utf8ToCp932(text.toStdString()).value_or(text.toStdString());
}

// The demo game below the user's cache folder, written whole on first use;
// nothing (with the message shown) when it cannot be written.
std::optional<std::filesystem::path> demoGameFolder(ws::app::QtDialogs& dialogs) {
  const auto cache =
      ws::app::toPath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
  ws::Result<std::filesystem::path> demo = ws::demo::prepareDemoGame(cache / "demo-game");
  if (!demo) {
    dialogs.showError(demo.error());
    return std::nullopt;
  }
  return *demo;
}

// The user's state folder for backups and the recovery file; without one
// the editor runs without both, and says so in the log.
std::optional<std::filesystem::path> stateFolder(ws::app::QtDialogs& dialogs) {
  std::optional<std::filesystem::path> folder = ws::platform::userStateFolder();
  if (!folder) {
    dialogs.logLine(
        "worldsmith: no state folder (set HOME or XDG_STATE_HOME): "
        "no backups of replaced saves and no recovery file");
  }
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("worldsmith"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(ws::kVersionLine));
  QCommandLineParser parser;
  const Options options;
  describe(parser, options);
  if (asksForTextOnly(argc, argv)) {
    const QCoreApplication text(argc, argv);
    parser.process(text);  // prints and exits, unless "--help" was an option's value
  }
  if (!ws::app::environmentNamesDisplay()) {
    std::fputs(ws::app::kNoDisplayLine, stderr);
    return ws::app::kExitNoDisplay;
  }
  const std::unique_ptr<QApplication> application = ws::app::makeApplication(argc, argv);
  ws::app::loadQtTranslations(*application);
  ws::app::QtDialogs dialogs(nullptr);

  if (!parser.parse(QCoreApplication::arguments())) {
    const QStringList unknown = parser.unknownOptionNames();
    const QString option = unknown.isEmpty() ? QString() : QStringLiteral("--") + unknown.front();
    return refuseUsage(dialogs, ws::editor::unknownOptionMessage(cp932Of(option)),
                       parser.errorText());
  }
  if (parser.isSet(options.demo) && parser.isSet(options.gameDir)) {
    return refuseUsage(dialogs, std::string(ws::editor::kDemoAndGameDirMessage),
                       QStringLiteral("--demo and --game-dir exclude each other"));
  }
  ws::app::QtGameFolderStore store;
  ws::editor::EditorOptions editorOptions;
  editorOptions.gameFolderStore = &store;
  if (parser.isSet(options.gameDir)) {
    editorOptions.gameFolder = ws::app::toPath(parser.value(options.gameDir));
  }
  if (parser.isSet(options.demo)) {
    editorOptions.gameFolder = demoGameFolder(dialogs);
    if (!editorOptions.gameFolder) return kExitNoGame;
  }
  editorOptions.stateFolder = stateFolder(dialogs);
  ws::app::TForm1 window(editorOptions);
  // Without a game (the folder dialog was cancelled) there is nothing to edit.
  if (!window.FormCreate()) return kExitNoGame;
  window.show();
  ws::app::keepOnScreen(window);
  if (!parser.positionalArguments().isEmpty()) {
    // Once the event loop runs, so that its dialogs open over the shown window.
    window.openFileSoon(ws::app::toPath(parser.positionalArguments().front()));
  }
  return QApplication::exec();
}
