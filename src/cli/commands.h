#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

// Prints the error's message (CP932) as UTF-8 on stderr and returns kExitBadInput.
int reportError(const Error& error);

// The game folder from --game-dir, $WORLDSMITH_GAME_DIR or the registry.
Result<std::filesystem::path> gameFolder(const Context& context);

// Each family of commands registers itself on the application.
void addCodecCommands(CLI::App& app, Context& context);
void addGameDataCommands(CLI::App& app, Context& context);
void addWorldCommands(CLI::App& app, Context& context);
void addRenderCommand(CLI::App& app, Context& context);

}  // namespace ws::cli
