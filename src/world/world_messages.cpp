#include "world/world_messages.h"

#include <system_error>

#include "platform/file_io.h"

namespace ws::world {

namespace {

std::string fileMessage(const std::filesystem::path& path, std::string_view suffix) {
  std::string message = platform::pathForMessage(path);
  message += '\n';
  message += suffix;
  return message;
}

}  // namespace

std::string fileMissingMessage(const std::filesystem::path& path) {
  return fileMessage(path, kFileNotFoundSuffix);
}

std::string fileUnreadableMessage(const std::filesystem::path& path) {
  return fileMessage(path, kFileUnreadableSuffix);
}

std::string fileNotReadMessage(const std::filesystem::path& path) {
  // Anything at all under that name (a folder, a link that loops) exists.
  std::error_code error;
  const bool present = std::filesystem::exists(std::filesystem::symlink_status(path, error));
  return present ? fileUnreadableMessage(path) : fileMissingMessage(path);
}

std::string noAreaNameMessage(int areaNumber, std::size_t catalogueSize,
                              const std::filesystem::path& cataloguePath) {
  const std::string catalogue = platform::pathForMessage(cataloguePath);
  if (areaNumber < 0 || static_cast<std::size_t>(areaNumber) >= catalogueSize) {
    return "no area " + std::to_string(areaNumber) + " in the catalogue " + catalogue;
  }
  return "area " + std::to_string(areaNumber) + " has an empty name in the catalogue " + catalogue;
}

}  // namespace ws::world
