#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace ws::cli {

void addCodecCommands(CLI::App& /*app*/, Context& /*context*/) {}

}  // namespace ws::cli
