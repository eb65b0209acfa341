#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/commands.h"
#include "cli/run_cli.h"
#include "cli/utf8_arguments.h"

int main(int argc, char** argv) {
  try {
    ws::cli::useUtf8Output();
    return ws::cli::runCli(ws::cli::utf8Arguments(argc, argv), std::cout, std::cerr);
  } catch (const std::exception& error) {
    // Only reading the arguments can get here.
    std::fprintf(stderr, "worldsmith-cli: %s\n", error.what());
  }
  return ws::cli::kExitBadInput;
}
