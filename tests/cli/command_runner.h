#pragma once

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"

namespace ws::cli {

// What one command line did: its exit status and what it printed.
struct Outcome {
  int exitCode = 0;
  std::string out;
  std::string err;
};

// Runs one command line in-process exactly as worldsmith-cli does (runCli),
// with --game-dir first when `gameDir` is given, capturing what it prints.
inline Outcome runCommandLine(std::vector<std::string> args,
                              const std::optional<std::filesystem::path>& gameDir = std::nullopt) {
  std::vector<std::string> arguments{"worldsmith-cli"};
  if (gameDir) {
    arguments.emplace_back("--game-dir");
    arguments.push_back(gameDir->string());
  }
  arguments.insert(arguments.end(), args.begin(), args.end());
  std::ostringstream out;
  std::ostringstream err;
  const int exitCode = runCli(std::move(arguments), out, err);
  return {exitCode, out.str(), err.str()};
}

}  // namespace ws::cli
