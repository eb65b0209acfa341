// The editor: one window on the host game's folder.
//
//   worldsmith [--game-dir DIR] [--demo] [SAVE]
//
// --game-dir names the game folder (else $WORLDSMITH_GAME_DIR, else the
// registry, else the editor asks). --demo writes the built-in demo game into
// the user's cache folder when it is not there yet and starts on it. SAVE is
// loaded once the window is up, as LOAD loads the file chosen in its dialog.

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app_qt/main_window.h"
#include "app_qt/qt_text.h"
#include "demo/demo_game.h"
#include "platform/game_paths.h"
#include "platform/state_folder.h"
#include "platform/text.h"
#include "version_info.h"

namespace {

constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

// The demo game below the user's cache folder, written on first use.
std::optional<std::filesystem::path> prepareDemoGame() {
  const std::filesystem::path folder =
      ws::app::toPath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)) /
      "demo-game";
  std::error_code error;
  if (std::filesystem::exists(ws::platform::cataloguePath(folder), error)) return folder;
  const ws::Status made = ws::demo::makeDemoGame(folder);
  if (!made) {
    std::fprintf(stderr, "worldsmith: cannot write the demo game to %s: %s\n",
                 folder.string().c_str(), ws::platform::cp932ToUtf8(made.error().message).c_str());
    return std::nullopt;
  }
  return folder;
}

// Whether the command line asks only for text (help or version), which
// needs no window system: QCommandLineParser prints it and ends the program.
bool asksForTextOnly(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("worldsmith"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(ws::kVersionLine));
  // Help and version print without a display; only the window needs one.
  std::unique_ptr<QCoreApplication> application;
  if (asksForTextOnly(argc, argv)) {
    application = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    application = std::make_unique<QApplication>(argc, argv);
  }

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("World editor for the host game's save files."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption gameDir(
      QStringLiteral("game-dir"),
      QStringLiteral("The game folder (else $WORLDSMITH_GAME_DIR, else the registry)."),
      QStringLiteral("DIR"));
  const QCommandLineOption demo(
      QStringLiteral("demo"),
      QStringLiteral("Start on the demo game, written into the user's cache folder first."));
  parser.addOptions({gameDir, demo});
  parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("A save file to load."),
                               QStringLiteral("[SAVE]"));
  parser.process(*application);
  if (qobject_cast<QApplication*>(application.get()) == nullptr) {
    // "--help" was an option's value, not a request: the window follows.
    application.reset();
    application = std::make_unique<QApplication>(argc, argv);
  }

  ws::editor::EditorOptions options;
  options.stateFolder = ws::platform::userStateFolder();
  if (!options.stateFolder) {
    std::fprintf(stderr,
                 "worldsmith: no state folder (set HOME or XDG_STATE_HOME): "
                 "no backups of replaced saves and no recovery file\n");
  }
  if (parser.isSet(demo) && parser.isSet(gameDir)) {
    std::fprintf(stderr, "worldsmith: --demo and --game-dir exclude each other\n");
    return kExitUsage;
  }
  if (parser.isSet(gameDir)) options.gameFolder = ws::app::toPath(parser.value(gameDir));
  if (parser.isSet(demo)) {
    options.gameFolder = prepareDemoGame();
    if (!options.gameFolder) return kExitBadInput;
  }

  ws::app::TForm1 window(options);
  window.FormCreate();
  window.show();
  if (!parser.positionalArguments().isEmpty()) {
    const std::filesystem::path save = ws::app::toPath(parser.positionalArguments().front());
    // Once the event loop runs, so that its dialogs open over the shown window.
    window.openFileSoon(save);
  }
  return QApplication::exec();
}
