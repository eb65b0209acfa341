#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace ws::cli {

// What one command line did: its exit status and what it printed.
struct Outcome {
  int exitCode = 0;
  std::string out;
  std::string err;
};

// Runs one command line in-process through the commands that `addCommands`
// registers, as worldsmith-cli would, capturing stdout and stderr.
inline Outcome runCommandLine(void (*addCommands)(CLI::App&, Context&),
                              std::vector<std::string> args,
                              std::optional<std::filesystem::path> gameDir = std::nullopt) {
  CLI::App app;
  app.require_subcommand(1);
  Context context;
  context.gameDir = std::move(gameDir);
  addCommands(app, context);
  std::vector<char*> argv{const_cast<char*>("worldsmith-cli")};
  for (auto& arg : args)
    argv.push_back(arg.data());
  std::ostringstream out;
  std::ostringstream err;
  auto* oldOut = std::cout.rdbuf(out.rdbuf());
  auto* oldErr = std::cerr.rdbuf(err.rdbuf());
  app.parse(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  return {context.exitCode, out.str(), err.str()};
}

}  // namespace ws::cli
