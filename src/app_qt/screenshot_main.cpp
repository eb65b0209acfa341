// The screenshot tool: opens the editor window on a fresh demo game under
// the current display, drives a session through it and writes a PNG for
// each task of the user guide (scripts/screenshot runs it under a virtual X
// server and writes docs/images/). Not shipped: it exists for the guide's
// pictures and for checking the look by eye.
//
//   worldsmith-screenshot OUTDIR

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app_qt/main_window.h"
#include "app_qt/qt_start.h"
#include "app_qt/qt_text.h"
#include "app_qt/scripted_session.h"
#include "demo/demo_game.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("worldsmith"));
  // The system's dialogs in the pictures speak the locale's language, as
  // they do in the editor.
  ws::app::loadQtTranslations(application);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 2) {
    std::fprintf(stderr, "usage: worldsmith-screenshot OUTDIR\n");
    return 2;
  }
  const std::filesystem::path outFolder = ws::app::toPath(arguments.at(1));

  // A demo game of its own, so that the pictures never depend on what an
  // earlier run left behind.
  std::error_code error;
  const std::filesystem::path game =
      std::filesystem::temp_directory_path(error) /
      ("worldsmith-screenshot-" + std::to_string(QApplication::applicationPid()));
  const ws::Status made = ws::demo::makeDemoGame(game);
  if (!made) {
    std::fprintf(stderr, "worldsmith-screenshot: cannot write the demo game: %s\n",
                 ws::platform::cp932ToUtf8(made.error().message).c_str());
    return 1;
  }

  int status = 0;
  {
    ws::editor::EditorOptions options;
    options.gameFolder = game;
    ws::app::TForm1 window(options);
    window.FormCreate();
    window.show();
    QApplication::processEvents();
    status = ws::app::runScriptedSession(window, outFolder);
  }
  std::filesystem::remove_all(game, error);
  return status;
}
