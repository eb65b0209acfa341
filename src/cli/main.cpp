#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{
      "worldsmith-cli: compose, pack and inspect save files of the host game's worlds."};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");

  ws::cli::Context context;
  app.add_option("--game-dir", context.gameDir,
                 "The host game's folder (default: $WORLDSMITH_GAME_DIR, else the registry)");

  ws::cli::addCodecCommands(app, context);
  ws::cli::addGameDataCommands(app, context);
  ws::cli::addWorldCommands(app, context);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? ws::cli::kExitSuccess : ws::cli::kExitUsage;
  }
  return context.exitCode;
}
