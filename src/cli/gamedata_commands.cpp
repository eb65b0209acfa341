#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace ws::cli {

void addGameDataCommands(CLI::App& /*app*/, Context& /*context*/) {}

}  // namespace ws::cli
