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
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app_qt/main_window.h"
#include "app_qt/qt_text.h"
#include "demo/demo_game.h"
#include "platform/game_paths.h"
#include "platform/text.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("worldsmith"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("World editor for the host game's save files."));
  parser.addHelpOption();
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
  parser.process(application);

  ws::editor::EditorOptions options;
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
    QTimer::singleShot(0, &window, [&window, save] { window.openFile(save); });
  }
  return QApplication::exec();
}
