#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ws::platform {

enum class RegistryRoot { LocalMachine };

// Reads one string value, read only; never creates or writes anything.
// Returns the value as CP932 bytes, or `defaultValue` when the key cannot be
// opened, the value does not exist or is not a string. On Windows this reads
// the real registry (32-bit view); elsewhere it reads the Wine prefix's
// system.reg ($WINEPREFIX, default ~/.wine).
std::string RegReadString(RegistryRoot root, std::string_view key, std::string_view valueName,
                          std::string_view defaultValue);

// The Wine reader on its own, for a given system.reg file: the value of
// `valueName` below `key` (a path below the local machine root, e.g.
// "Software\\TOLVERA\\RV7"; also looked up below Software\\Wow6432Node), as CP932
// bytes. Nothing when the file, key or value is missing or unreadable.
// Names compare without regard to ASCII case. The 32-bit view
// (Software\\Wow6432Node\\...) is tried first, as a 32-bit program sees it;
// a string value (plain or expandable) is cut at its first NUL; values of
// other types, and values with characters outside CP932, count as missing.
std::optional<std::string> readWineRegistryString(const std::filesystem::path& systemReg,
                                                  std::string_view key, std::string_view valueName);

// The same lookup over the text of a system.reg file already in memory.
std::optional<std::string> findWineRegistryString(std::string_view systemRegText,
                                                  std::string_view key, std::string_view valueName);

// The Wine prefix that holds the host game: $WINEPREFIX, else ~/.wine.
// Nothing when neither variable is set.
std::optional<std::filesystem::path> winePrefixFolder();

}  // namespace ws::platform
