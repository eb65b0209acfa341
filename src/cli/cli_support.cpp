#include <iostream>

#include "cli/commands.h"
#include "platform/game_paths.h"
#include "platform/text.h"

namespace ws::cli {

int reportError(const Error& error) {
  std::cerr << platform::cp932ToUtf8(error.message) << '\n';
  return kExitBadInput;
}

Result<std::filesystem::path> gameFolder(const Context& context) {
  if (auto folder = platform::locateGameFolder(context.gameDir)) return *folder;
  return Error{"no game folder: give --game-dir DIR, set WORLDSMITH_GAME_DIR, or install the game"};
}

}  // namespace ws::cli
