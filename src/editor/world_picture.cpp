#include "editor/world_picture.h"

#include <string>
#include <system_error>
#include <vector>

#include "editor/dialogs.h"
#include "editor/editor_model.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"

namespace ws::editor {

namespace {

// No one to ask: every dialog is cancelled and messages are kept.
class SilentDialogs : public Dialogs {
 public:
  std::vector<std::string> messages;

  void showMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::filesystem::path> chooseFolder(std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> chooseOpenFile(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> chooseSaveFile(const std::filesystem::path&,
                                                      std::string_view) override {
    return std::nullopt;
  }
};

Error cannotRead(const std::filesystem::path& path) {
  return Error{"cannot read " + platform::pathForMessage(path)};
}

}  // namespace

Result<canvas::Canvas> RenderSaveFile(const std::filesystem::path& gameFolder,
                                      const std::filesystem::path& savePath) {
  SilentDialogs dialogs;
  EditorModel model(dialogs, EditorOptions{gameFolder});
  if (!model.FormCreate()) return cannotRead(platform::cataloguePath(gameFolder));
  // LOAD says nothing about a file that is not there.
  std::error_code error;
  if (!std::filesystem::is_regular_file(savePath, error)) return cannotRead(savePath);
  if (!model.loadFile(savePath)) {
    if (dialogs.messages.empty()) return cannotRead(savePath);
    return Error{dialogs.messages.front()};
  }
  return model.worldPictureCanvas();
}

}  // namespace ws::editor
