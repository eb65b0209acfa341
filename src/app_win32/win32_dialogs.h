#pragma once

#include <windows.h>

#include "editor/dialogs.h"

namespace ws::app {

// The editor's dialogs as the system's own: MessageBoxW, the folder
// browser, GetOpenFileNameW and GetSaveFileNameW, each modal to the window.
// The question before unsaved work is set aside is a Yes / No / Cancel box.
class Win32Dialogs : public editor::Dialogs {
 public:
  // The window the dialogs belong to; set once it exists.
  void setOwner(HWND owner) { owner_ = owner; }

  void showMessage(std::string_view text) override;
  // The log is the debugger's output.
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
  HWND owner_ = nullptr;
};

// The titles of the file dialogs: the captions of the buttons that open
// them, plain ASCII whatever the system's language.
inline constexpr wchar_t kOpenDialogTitle[] = L"LOAD";
inline constexpr wchar_t kSaveDialogTitle[] = L"SAVE";
// The title of the dialog that saves the world map as a picture.
inline constexpr wchar_t kPictureDialogTitle[] = L"PNG";
// The message box's title.
inline constexpr wchar_t kMessageTitle[] = L"worldsmith";

}  // namespace ws::app
