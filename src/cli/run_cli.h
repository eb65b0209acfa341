#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ws::cli {

// Runs one worldsmith-cli command line: `arguments` are UTF-8, the program's
// name first. What the commands and the parser print goes to `out` and `err`
// (std::cout and std::cerr are pointed at them for the run and put back
// afterwards, also when something throws). Returns the exit status: 0
// success, 1 bad input (also for an exception that escapes a command), 2 a
// usage error.
int runCli(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace ws::cli
