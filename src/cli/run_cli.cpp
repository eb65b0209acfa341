#include "cli/run_cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <iostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/failure.h"
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

// What every command's --help ends with: the options every command takes,
// and one example.
struct CommandHelp {
  const char* name;
  const char* example;
};
constexpr CommandHelp kExamples[] = {
    {"encode", "worldsmith-cli encode body.bin body.stream"},
    {"decode", "worldsmith-cli decode body.stream - | cmp - body.bin"},
    {"pack", "worldsmith-cli pack body.bin RVTSV1.dat --name \"テストワールド\""},
    {"unpack", "worldsmith-cli unpack RVTSV1.dat body.bin"},
    {"demo-game", "worldsmith-cli demo-game ~/demo-game"},
    {"catalogue", "worldsmith-cli --game-dir ~/demo-game catalogue --json"},
    {"objects", "worldsmith-cli objects 3 --json"},
    {"preview", "worldsmith-cli preview 3 -o area3.png --scale 4"},
    {"build", "worldsmith-cli build world.json -o RVTSV1.dat"},
    {"info", "worldsmith-cli info - --json < RVTSV1.dat"},
    {"render", "worldsmith-cli render RVTSV1.dat -o world.png --scale 2"},
};

constexpr const char* kGlobalOptions =
    "\nOptions of every command (before or after it):\n"
    "  --game-dir DIR                The host game's folder (default: $WORLDSMITH_GAME_DIR,\n"
    "                                else the registry)\n"
    "  -v,--version                  Print the version and the commit it was built from\n"
    "Every input file and every output file may be \"-\": standard input or output.\n";

constexpr const char* kWorldFileSummary =
    "The world file (UTF-8 JSON; a key it does not know is refused):\n"
    "  {\"name\": \"テストワールド\",      optional, at most 31 bytes in CP932\n"
    "   \"areas\": [{\"area\": 1,              catalogue index or name\n"
    "              \"kind\": \"link-gate\",     \"link-gate\", \"field\" or \"town\"\n"
    "              \"x\": 0, \"y\": 0,          top-left pixel on the 512 x 256 world map\n"
    "              \"objects\": [1],          optional: the dungeons or houses to use\n"
    "              \"slot\": 0}]}             optional: the slot (0 to 3) to fill\n"
    "Schema: share/worldsmith/schema/world.schema.json\n";

void addHelpFooters(CLI::App& app) {
  for (const CommandHelp& help : kExamples) {
    CLI::App* command = app.get_subcommand(help.name);
    std::string footer = help.name == std::string_view("build") ? kWorldFileSummary : "";
    footer += kGlobalOptions;
    footer += std::string("\nExample:\n  ") + help.example + "\n";
    command->footer(footer);
  }
}

// "did you mean" for a mistyped command or option: the first word that
// names neither, and the name nearest to it.
std::string suggestion(const CLI::App& app, const std::vector<std::string>& arguments) {
  std::vector<std::string> names;
  const CLI::App* command = nullptr;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
    names.push_back(sub->get_name());
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word == "--game-dir") ++i;
    if (word == "--game-dir" || word.starts_with("--game-dir=") || word == "-") continue;
    if (!word.starts_with("-")) {
      if (command != nullptr) continue;
      const auto found = std::find(names.begin(), names.end(), word);
      if (found != names.end()) {
        command = app.get_subcommand(word);
        continue;
      }
      const std::string_view near =
          nearestName(word, std::vector<std::string_view>(names.begin(), names.end()));
      const std::string unknown = "\"" + word + "\" is no command";
      return near.empty() ? unknown : unknown + "; did you mean \"" + std::string(near) + "\"?";
    }
    if (!word.starts_with("--")) continue;
    std::vector<std::string> options{"--game-dir", "--help", "--version", "--help-all"};
    if (command != nullptr) {
      for (const CLI::Option* option : command->get_options()) {
        for (const std::string& name : option->get_lnames())
          options.push_back("--" + name);
      }
    }
    const std::string name = word.substr(0, word.find('='));
    if (std::find(options.begin(), options.end(), name) != options.end()) continue;
    const std::string_view near =
        nearestName(name, std::vector<std::string_view>(options.begin(), options.end()));
    if (!near.empty()) return "did you mean \"" + std::string(near) + "\"?";
  }
  return {};
}

int parseAndRun(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size());
  for (std::string& argument : arguments)
    argv.push_back(argument.data());

  CLI::App app{"worldsmith-cli: compose, pack and inspect save files of the host game's worlds."};
  // Options start with "-" on every system; on Windows a path may start with "/".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.get_formatter()->column_width(32);
  app.set_help_all_flag("--help-all", "Show the help of every command");
  app.set_version_flag("-v,--version", std::string("worldsmith-cli ") + kVersionLine,
                       "Print the version and the commit it was built from");
  // The program's own options may come after the command too, as in
  // "worldsmith-cli objects 3 --game-dir DIR": each command, which inherits
  // this setting, hands the options it does not know on to the program.
  app.fallthrough();

  Context context;
  addPathOption(app, "--game-dir", context.gameDir,
                "The host game's folder (default: $WORLDSMITH_GAME_DIR, else the registry)")
      ->type_name("DIR");

  keepBackupsOfReplacedSaves(true);
  app.add_flag_callback(
      "--no-backup", [] { keepBackupsOfReplacedSaves(false); },
      "Replace save files without first copying them into the backup folder");

  addCodecCommands(app, context);
  addGameDataCommands(app, context);
  addWorldCommands(app, context);
  addRenderCommand(app, context);
  addHelpFooters(app);

  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error) == 0 ? kExitSuccess : kExitUsage;
    // A word that names no command says so instead of the parser's "a
    // subcommand is required"; a mistyped option gets its nearest name.
    const std::string hint = suggestion(app, arguments);
    if (hint.starts_with('"')) {
      std::cerr << "worldsmith-cli: " << hint;
    } else {
      std::cerr << "worldsmith-cli: " << error.what() << (hint.empty() ? "" : " (" + hint + ")");
    }
    std::cerr << "\nRun \"worldsmith-cli --help\" or \"worldsmith-cli COMMAND --help\" for more.\n";
    return kExitUsage;
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
