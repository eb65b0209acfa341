#include "platform/game_paths.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/registry.h"
#include "platform/text.h"

namespace ws::platform {
namespace {

namespace fs = std::filesystem;

// The game's files, relative to its folder.
constexpr std::string_view kCatalogueFolder = "res";
constexpr std::string_view kCatalogueFileName = "Mif_area.bin";
constexpr std::string_view kAreaMapFolders[] = {"data", "map", "mif", "area"};
constexpr std::string_view kSaveFolder = "usr";

bool isPathDelimiter(char c) {
  return c == '\\' || c == ':';
}

fs::path pathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

#ifndef _WIN32
char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalFoldedAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return foldAscii(x) == foldAscii(y);
         });
}

// The entry of `folder` whose name equals `name` regardless of ASCII case;
// the first in byte order when several do. Nothing when none does.
std::optional<fs::path> findFolded(const fs::path& folder, const fs::path& name) {
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return std::nullopt;
  const std::string& wanted = name.native();
  std::optional<std::string> best;
  for (const fs::directory_entry& entry : entries) {
    std::string candidate = entry.path().filename().native();
    if (equalFoldedAscii(candidate, wanted) && (!best || candidate < *best)) {
      best = std::move(candidate);
    }
  }
  if (!best) return std::nullopt;
  return fs::path(*best);
}

// The components of a CP932 path after its drive, split at single-byte "\"
// and "/", as UTF-8 names. Empty components (doubled separators) vanish, as
// Windows ignores them.
std::vector<std::string> componentsAfterDrive(std::string_view cp932) {
  std::vector<std::string> components;
  std::string current;
  auto finish = [&] {
    if (!current.empty()) components.push_back(cp932ToUtf8(current));
    current.clear();
  };
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const char c = cp932[i];
    if (isCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < cp932.size()) {
      current += c;
      current += cp932[++i];
    } else if (c == '\\' || c == '/') {
      finish();
    } else {
      current += c;
    }
  }
  finish();
  return components;
}
#endif

std::optional<fs::path> gameDirFromEnvironment() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(L"WORLDSMITH_GAME_DIR", buffer, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return std::nullopt;
  return fs::path(std::wstring(buffer, length));
#else
  const char* value = std::getenv("WORLDSMITH_GAME_DIR");
  if (value == nullptr || *value == '\0') return std::nullopt;
  return fs::path(value);
#endif
}

}  // namespace

std::string directoryPart(std::string_view cp932Path) {
  std::size_t cut = 0;  // 1-based position of the last delimiter; 0 for none
  bool delimiterBeforeCut = false;
  bool previousIsDelimiter = false;
  for (std::size_t i = 0; i < cp932Path.size(); ++i) {
    if (isCp932LeadByte(static_cast<unsigned char>(cp932Path[i])) && i + 1 < cp932Path.size()) {
      ++i;  // the second byte is part of the character, never a delimiter
      previousIsDelimiter = false;
      continue;
    }
    const bool delimiter = isPathDelimiter(cp932Path[i]);
    if (delimiter) {
      cut = i + 1;
      delimiterBeforeCut = previousIsDelimiter;
    }
    previousIsDelimiter = delimiter;
  }
  // Drop a trailing "\" unless it follows a drive ("C:\") or another
  // delimiter, where it is part of the folder's name.
  if (cut > 1 && cp932Path[cut - 1] == '\\' && !delimiterBeforeCut) --cut;
  return std::string(cp932Path.substr(0, cut));
}

std::optional<fs::path> nativeFolderFromWindowsPath(std::string_view cp932Folder) {
#ifdef _WIN32
  if (cp932Folder.empty()) return std::nullopt;
  return pathFromUtf8(cp932ToUtf8(cp932Folder));
#else
  // Only absolute paths with a drive letter map to a Wine drive: "C:" or
  // "C:\...". Relative, drive-relative ("C:foo") and network paths do not.
  if (cp932Folder.size() < 2 || cp932Folder[1] != ':') return std::nullopt;
  const char drive = foldAscii(cp932Folder[0]);
  if (drive < 'a' || drive > 'z') return std::nullopt;
  if (cp932Folder.size() > 2 && cp932Folder[2] != '\\' && cp932Folder[2] != '/') {
    return std::nullopt;
  }
  const auto prefix = winePrefixFolder();
  if (!prefix) return std::nullopt;

  fs::path relative = std::string{drive, ':'};
  for (const std::string& component : componentsAfterDrive(cp932Folder.substr(2))) {
    relative /= pathFromUtf8(component);
  }
  // Windows finds names regardless of case; so must the mapped folder.
  return resolveGamePath(*prefix / "dosdevices", relative);
#endif
}

std::optional<fs::path> locateGameFolder(const std::optional<fs::path>& override) {
  if (override && !override->empty()) return *override;
  if (auto fromEnvironment = gameDirFromEnvironment()) return fromEnvironment;
  const std::string bootDirectory =
      RegReadString(RegistryRoot::LocalMachine, kGameRegistryKey, kGameRegistryValue, "");
  const std::string folder = directoryPart(bootDirectory);
  if (folder.empty()) return std::nullopt;
  return nativeFolderFromWindowsPath(folder);
}

fs::path resolveGamePath(const fs::path& root, const fs::path& relative) {
#ifdef _WIN32
  return root / relative;
#else
  fs::path current = root;
  bool matching = true;  // false once a component was found in no spelling
  for (const fs::path& component : relative.relative_path()) {
    if (component.empty()) continue;
    if (matching) {
      std::error_code error;
      if (!fs::exists(current / component, error)) {
        if (auto found = findFolded(current, component)) {
          current /= *found;
          continue;
        }
        matching = false;
      }
    }
    current /= component;
  }
  return current;
#endif
}

fs::path cataloguePath(const fs::path& gameFolder) {
  return resolveGamePath(gameFolder, fs::path(kCatalogueFolder) / kCatalogueFileName);
}

fs::path areaMapFilePath(const fs::path& gameFolder, std::string_view cp932AreaName) {
  fs::path relative;
  for (const std::string_view folder : kAreaMapFolders)
    relative /= folder;
  relative /= pathFromUtf8(cp932ToUtf8(cp932AreaName));
  return resolveGamePath(gameFolder, relative);
}

fs::path saveFolderPath(const fs::path& gameFolder) {
  return resolveGamePath(gameFolder, fs::path(kSaveFolder));
}

}  // namespace ws::platform
