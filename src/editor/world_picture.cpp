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

  std::vector<std::string> logged;

  void showMessage(std::string_view text) override { messages.emplace_back(text); }
  void logLine(std::string_view text) override { logged.emplace_back(text); }

  // The first message shown, with its detail from the log ("MESSAGE (DETAIL)").
  Error firstError() const {
    if (messages.empty()) return Error{"the save file was not loaded"};
    const std::string& message = messages.front();
    for (const std::string& line : logged) {
      if (line.starts_with(message + " (") && line.ends_with(")")) {
        return Error{message, line.substr(message.size() + 2, line.size() - message.size() - 3)};
      }
    }
    return Error{message};
  }
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
    return dialogs.firstError();
  }
  return model.worldPictureCanvas();
}

Result<canvas::Canvas> RenderSaveBody(const std::filesystem::path& gameFolder,
                                      std::span<const std::uint8_t> body,
                                      std::string_view fileName) {
  SilentDialogs dialogs;
  EditorModel model(dialogs, EditorOptions{gameFolder});
  if (!model.FormCreate()) return cannotRead(platform::cataloguePath(gameFolder));
  if (!model.loadSaveBody(body, fileName)) return dialogs.firstError();
  return model.worldPictureCanvas();
}

}  // namespace ws::editor
