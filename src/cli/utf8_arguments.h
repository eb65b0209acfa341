#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace ws::cli {

// The command line as UTF-8. On Windows it comes from the wide command line:
// main's argv holds it in the ANSI code page, which turns every character
// outside that page (a Japanese name on an English system) into "?".
// Elsewhere argv as it is. The program name comes first, as in argv.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Standard output and error carry UTF-8, byte for byte as on Linux: on
// Windows the console is switched to UTF-8 (and back at exit) and line
// ends stay "\n"; standard input is read byte for byte too.
void useUtf8Output();

// A file system path from UTF-8 text. On Windows std::filesystem::path reads
// a plain std::string as ANSI text, so every path from the command line or a
// JSON file goes through here.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// The path as UTF-8 text, for what the commands print.
std::string pathToUtf8(const std::filesystem::path& path);

// An option or positional argument holding a path, given as UTF-8.
CLI::Option* addPathOption(CLI::App& app, std::string name, std::filesystem::path& target,
                           std::string description);
CLI::Option* addPathOption(CLI::App& app, std::string name,
                           std::optional<std::filesystem::path>& target, std::string description);

}  // namespace ws::cli
