#pragma once

#include <filesystem>
#include <optional>

namespace ws::platform {

// The user's own folder for what the programs keep between runs: backups of
// replaced save files and the editor's recovery files. On Windows
// %LOCALAPPDATA%\worldsmith, elsewhere $XDG_STATE_HOME/worldsmith (an
// absolute $XDG_STATE_HOME only; otherwise ~/.local/state/worldsmith).
// Never below the game's folder, which the game itself reads. Nothing when
// neither the variables nor the system name a folder. The folder is not
// created here.
std::optional<std::filesystem::path> userStateFolder();

// The backups of replaced save files, below the state folder.
std::filesystem::path backupFolderOf(const std::filesystem::path& stateFolder);

}  // namespace ws::platform
