#include "cli/run_cli.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <streambuf>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "version_info.h"

namespace ws::cli {
namespace {

// Points a standard stream at another stream's buffer while it lives.
class StreamRedirect {
 public:
  StreamRedirect(std::ostream& stream, std::ostream& target)
      : stream_(stream), old_(stream.rdbuf(target.rdbuf())) {}
  ~StreamRedirect() {
    stream_.flush();
    stream_.rdbuf(old_);
  }
  StreamRedirect(const StreamRedirect&) = delete;
  StreamRedirect& operator=(const StreamRedirect&) = delete;

 private:
  std::ostream& stream_;
  std::streambuf* old_;
};

int parseAndRun(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size());
  for (std::string& argument : arguments)
    argv.push_back(argument.data());

  CLI::App app{"worldsmith-cli: compose, pack and inspect save files of the host game's worlds."};
  // Options start with "-" on every system; on Windows a path may start with "/".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");
  app.set_version_flag("--version", std::string("worldsmith-cli ") + kVersionLine,
                       "Print the version and the commit it was built from");
  // The program's own options may come after the command too, as in
  // "worldsmith-cli objects 3 --game-dir DIR": each command, which inherits
  // this setting, hands the options it does not know on to the program.
  app.fallthrough();

  Context context;
  addPathOption(app, "--game-dir", context.gameDir,
                "The host game's folder (default: $WORLDSMITH_GAME_DIR, else the registry)");

  keepBackupsOfReplacedSaves(true);
  app.add_flag_callback(
      "--no-backup", [] { keepBackupsOfReplacedSaves(false); },
      "Replace save files without first copying them into the backup folder");

  addCodecCommands(app, context);
  addGameDataCommands(app, context);
  addWorldCommands(app, context);
  addRenderCommand(app, context);

  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitSuccess : kExitUsage;
  }
  return context.exitCode;
}

}  // namespace

int runCli(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) arguments.emplace_back("worldsmith-cli");
  const StreamRedirect outRedirect(std::cout, out);
  const StreamRedirect errRedirect(std::cerr, err);
  // The commands report their errors as values; what still escapes (running
  // out of memory, a library's exception) ends the run with a message and
  // the bad-input status instead of an abort.
  try {
    return parseAndRun(arguments);
  } catch (const std::exception& error) {
    std::cerr << "worldsmith-cli: " << error.what() << '\n';
  } catch (...) {
    std::cerr << "worldsmith-cli: unexpected error\n";
  }
  return kExitBadInput;
}

}  // namespace ws::cli
