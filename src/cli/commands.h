#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/area_catalogue.h"
#include "platform/result.h"

namespace CLI {
class App;
}

namespace ws::cli {

// Exit statuses of worldsmith-cli.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitUsage = 2;

// What every command shares: the global options and the exit status that
// the command's callback leaves behind.
struct Context {
  std::optional<std::filesystem::path> gameDir;  // --game-dir
  int exitCode = kExitSuccess;
};

// Prints the error as formatFailure does, naming no file, and returns
// kExitBadInput. Text quoted with quoteAsGiven is printed as the user gave it.
int reportError(const Error& error);

// Text the user typed (UTF-8), quoted into a CP932 message so that it is
// printed unchanged: a name that CP932 cannot spell would come out garbled.
std::string quoteAsGiven(std::string_view utf8);

// The catalogue entry named `utf8Name` (UTF-8), spelt as the catalogue
// spells it; the error quotes the name as the user gave it.
Result<int> areaNamed(const gamedata::AreaCatalogue& catalogue, std::string_view utf8Name);

// An input file, read whole when it is a regular file of at most `ceiling`
// bytes, or the standard input for "-"; otherwise "cannot read" with the
// reason as its detail (the caller names the file, see inputName).
Result<std::vector<std::uint8_t>> readInput(const std::filesystem::path& path,
                                            std::uint64_t ceiling);

// An Error of a lower layer that names `path` in its text ("cannot read
// PATH: REASON", "PATH: error in decord", the game's "PATH\nはセーブファイル
// ではありません") without the name, which the caller puts first: the name
// in those texts went through CP932, which may not spell it.
Error withoutFileName(const Error& error, const std::filesystem::path& path);

// The body of a save file (or "-"), checked as LOAD checks the file; the
// Error names no file.
Result<std::vector<std::uint8_t>> readSaveInput(const std::filesystem::path& path);

// Whether a file output that replaces a save file copies it into the
// user's backup folder first (the default; --no-backup turns it off).
void keepBackupsOfReplacedSaves(bool keep);

// Every command that writes a file takes "-" for the standard output. A
// save file that an output replaces is backed up first; when that fails,
// nothing is written.
bool isStandardOutput(const std::filesystem::path& path);
Status writeOutput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
// The save file for `body`, to a file (atomically) or to "-".
Status writeSaveOutput(const std::filesystem::path& path, std::span<const std::uint8_t> body);

// The world name (UTF-8) as the body's name field holds it: CP932, at most
// 31 bytes and no NUL. `pack --name` and `build` share the check and its
// messages.
Result<std::string> worldNameFromUtf8(std::string_view utf8);

// Flushes the standard output at the end of a run. When anything written to
// it was lost (a full disk, a closed pipe), says so on stderr and turns
// success into kExitBadInput; otherwise returns `exitCode`.
int finishStandardOutput(int exitCode);

// The game folder from --game-dir, $WORLDSMITH_GAME_DIR or the registry.
Result<std::filesystem::path> gameFolder(const Context& context);

// Each family of commands registers itself on the application.
void addCodecCommands(CLI::App& app, Context& context);
void addGameDataCommands(CLI::App& app, Context& context);
void addWorldCommands(CLI::App& app, Context& context);
void addRenderCommand(CLI::App& app, Context& context);

}  // namespace ws::cli
