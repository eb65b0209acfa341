#include "world/world_messages.h"

#include "platform/file_io.h"

namespace ws::world {

std::string fileNotReadMessage(const std::filesystem::path& path) {
  std::string message = platform::pathForMessage(path);
  message += '\n';
  message += platform::fileExists(path) ? kFileUnreadableSuffix : kFileNotFoundSuffix;
  return message;
}

}  // namespace ws::world
