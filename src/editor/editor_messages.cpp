#include "editor/editor_messages.h"

#include "platform/file_io.h"

namespace ws::editor {

std::string folderLacksCatalogueMessage(const std::filesystem::path& folder) {
  return platform::pathForMessage(folder) + "\n" + std::string(kFolderLacksCatalogueSuffix);
}

std::string demoWriteFailedMessage(const std::filesystem::path& folder, std::string_view reason) {
  return std::string(kDemoWriteFailedPrefix) + "\n" + platform::pathForMessage(folder) + "\n" +
         std::string(reason);
}

std::string areaNotInCatalogueMessage(int areaNumber) {
  return std::string(kAreaNotInCataloguePrefix) + " " + std::to_string(areaNumber);
}

std::string unknownOptionMessage(std::string_view option) {
  return std::string(kUnknownOptionPrefix) + " " + std::string(option);
}

}  // namespace ws::editor
