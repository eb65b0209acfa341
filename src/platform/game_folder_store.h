#pragma once

#include <filesystem>
#include <optional>

namespace ws::platform {

// Where the game folder that the user chose is kept between runs, per user:
// on Windows HKEY_CURRENT_USER\Software\Worldsmith (value GameFolder), on
// Linux the editor's settings file under the user's config folder.
class GameFolderStore {
 public:
  virtual ~GameFolderStore() = default;
  // The folder kept from an earlier run; nothing when none is kept.
  virtual std::optional<std::filesystem::path> rememberedGameFolder() = 0;
  virtual void rememberGameFolder(const std::filesystem::path& folder) = 0;
  virtual void forgetGameFolder() = 0;
};

#ifdef _WIN32
// The store in the user's registry.
class RegistryGameFolderStore : public GameFolderStore {
 public:
  std::optional<std::filesystem::path> rememberedGameFolder() override;
  void rememberGameFolder(const std::filesystem::path& folder) override;
  void forgetGameFolder() override;
};
#endif

}  // namespace ws::platform
