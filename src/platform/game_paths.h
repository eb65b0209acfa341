#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ws::platform {

// The registry key and value that name the host game's folder.
inline constexpr std::string_view kGameRegistryKey = "SOFTWARE\\TOLVERA\\RV7";
inline constexpr std::string_view kGameRegistryValue = "BootDirectory";

// The folder part of a CP932 Windows path: the last "\" or ":" that is not the
// second byte of a double-byte character cuts the text; the separator itself
// is dropped except after a drive ("C:\", "C:") or where two separators meet.
std::string directoryPart(std::string_view cp932Path);

// The native folder for a CP932 Windows folder path. On Windows the path
// itself; elsewhere the drive letter maps through $WINEPREFIX/dosdevices and
// the rest converts to UTF-8. Nothing when it cannot be mapped.
std::optional<std::filesystem::path> nativeFolderFromWindowsPath(std::string_view cp932Folder);

// The game folder: `override` (the --game-dir option) when given, else
// $WORLDSMITH_GAME_DIR, else the directory part of the registry's
// BootDirectory mapped to a native folder. Nothing when none of them names
// a folder.
std::optional<std::filesystem::path> locateGameFolder(
    const std::optional<std::filesystem::path>& override = std::nullopt);

// `root` joined with `relative`; on systems with case-sensitive file names a
// component that does not exist as spelled is matched case-insensitively
// within its folder, as Windows would find it.
std::filesystem::path resolveGamePath(const std::filesystem::path& root,
                                      const std::filesystem::path& relative);

// Whether a CP932 catalogue name can name a file inside the area folder: it
// is not empty, holds no separator ("\" as a single byte, never the second
// byte of a double-byte character such as "ソ"; "/"), no ":" (a drive
// prefix, or a stream on Windows), and is not made of dots and spaces only
// ("." and ".." as Windows reads them). Any other name would reach outside.
bool isAreaMapFileName(std::string_view cp932AreaName);

// The game's files below its folder.
std::filesystem::path cataloguePath(const std::filesystem::path& gameFolder);
std::filesystem::path areaMapFilePath(const std::filesystem::path& gameFolder,
                                      std::string_view cp932AreaName);
std::filesystem::path saveFolderPath(const std::filesystem::path& gameFolder);

}  // namespace ws::platform
