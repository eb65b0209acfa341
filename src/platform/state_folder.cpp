#include "platform/state_folder.h"

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

namespace ws::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "worldsmith";
constexpr const char* kBackupFolder = "backups";

#ifdef _WIN32
// %LOCALAPPDATA% as the environment gives it, else as the shell knows it.
std::optional<fs::path> localAppData() {
  std::vector<wchar_t> value(32768, L'\0');
  const DWORD length =
      GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), static_cast<DWORD>(value.size()));
  if (length > 0 && length < value.size()) return fs::path(value.data());
  std::vector<wchar_t> folder(MAX_PATH + 1, L'\0');
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder.data()) != S_OK) {
    return std::nullopt;
  }
  return fs::path(folder.data());
}
#else
// An environment variable naming an absolute folder; relative values are
// ignored, as the base directory convention asks.
std::optional<fs::path> absoluteFolderFrom(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') return std::nullopt;
  fs::path folder(value);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}
#endif

}  // namespace

std::optional<fs::path> userStateFolder() {
#ifdef _WIN32
  const std::optional<fs::path> base = localAppData();
  if (!base) return std::nullopt;
  return *base / kProgramFolder;
#else
  if (const auto state = absoluteFolderFrom("XDG_STATE_HOME")) return *state / kProgramFolder;
  if (const auto home = absoluteFolderFrom("HOME")) {
    return *home / ".local" / "state" / kProgramFolder;
  }
  return std::nullopt;
#endif
}

fs::path backupFolderOf(const fs::path& stateFolder) {
  return stateFolder / kBackupFolder;
}

}  // namespace ws::platform
