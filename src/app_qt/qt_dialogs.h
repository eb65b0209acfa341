#pragma once

#include <QWidget>

#include "editor/dialogs.h"

namespace ws::app {

// The editor's dialogs as real Qt dialogs, modal to the window.
class QtDialogs : public editor::Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}

  void showMessage(std::string_view text) override;
  // The log is the standard error.
  void logLine(std::string_view text) override;
  std::optional<std::filesystem::path> chooseFolder(std::string_view instruction) override;
  std::optional<std::filesystem::path> chooseOpenFile(
      const std::filesystem::path& initialFolder) override;
  std::optional<std::filesystem::path> chooseSaveFile(const std::filesystem::path& initialFolder,
                                                      std::string_view defaultName) override;
  editor::SaveChoice askSaveChanges(std::string_view question) override;
  bool askYesNo(std::string_view question) override;
  std::optional<std::filesystem::path> choosePictureFile(std::string_view defaultName) override;

 private:
  QWidget* parent_;
};

}  // namespace ws::app
