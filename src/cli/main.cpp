#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"

namespace {

int run(int argc, char** argv) {
  ws::cli::useUtf8Output();
  std::vector<std::string> arguments = ws::cli::utf8Arguments(argc, argv);
  std::vector<char*> utf8Argv;
  utf8Argv.reserve(arguments.size());
  for (std::string& argument : arguments)
    utf8Argv.push_back(argument.data());

  CLI::App app{"worldsmith-cli: compose, pack and inspect save files of the host game's worlds."};
  // Options start with "-" on every system; on Windows a path may start with "/".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");

  ws::cli::Context context;
  ws::cli::addPathOption(
      app, "--game-dir", context.gameDir,
      "The host game's folder (default: $WORLDSMITH_GAME_DIR, else the registry)");

  ws::cli::addCodecCommands(app, context);
  ws::cli::addGameDataCommands(app, context);
  ws::cli::addWorldCommands(app, context);
  ws::cli::addRenderCommand(app, context);

  try {
    app.parse(static_cast<int>(utf8Argv.size()), utf8Argv.data());
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? ws::cli::kExitSuccess : ws::cli::kExitUsage;
  }
  return context.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // The commands report their errors as values; what still escapes (running
  // out of memory, a library's exception) ends the run with a message and
  // the bad-input status instead of an abort.
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "worldsmith-cli: %s\n", error.what());
  } catch (...) {
    std::fputs("worldsmith-cli: unexpected error\n", stderr);
  }
  return ws::cli::kExitBadInput;
}
