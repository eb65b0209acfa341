#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/result.h"

namespace ws::editor {

// The answers of the question before unsaved work is set aside.
enum class SaveChoice { Save, DontSave, Cancel };

// The modal dialogs the editor's handlers open. The Qt window implements
// them with real dialogs; tests answer them from a script.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal message box with an OK button; `text` is CP932, line breaks
  // included. Returns when it is closed.
  virtual void showMessage(std::string_view text) = 0;

  // A failure: its message in the message box, as showMessage shows it; the
  // detail, when there is one, goes to the window's log. The user sees the
  // message alone.
  void showError(const Error& error) {
    if (!error.detail.empty()) logLine(withDetail(error));
    showMessage(error.message);
  }

  // Writes one line (CP932) to the window's log; a window without one
  // drops it.
  virtual void logLine(std::string_view text) { (void)text; }

  // The folder-selection dialog showing `instruction` (CP932) as what to
  // choose: the folder confirmed with OK, or nothing after Cancel.
  virtual std::optional<std::filesystem::path> chooseFolder(std::string_view instruction) = 0;

  // The file-open dialog starting in `initialFolder`: the chosen file, or
  // nothing after Cancel.
  virtual std::optional<std::filesystem::path> chooseOpenFile(
      const std::filesystem::path& initialFolder) = 0;

  // The file-save dialog starting in `initialFolder` with `defaultName`; it
  // asks before replacing an existing file and offers no read-only option.
  // The chosen file, or nothing after Cancel.
  virtual std::optional<std::filesystem::path> chooseSaveFile(
      const std::filesystem::path& initialFolder, std::string_view defaultName) = 0;

  // The system's question box with Yes (save), No (don't save) and Cancel,
  // showing `question` (CP932); closing the box is Cancel. A window that
  // does not offer the question keeps the old behaviour: nothing is saved.
  virtual SaveChoice askSaveChanges(std::string_view question) {
    (void)question;
    return SaveChoice::DontSave;
  }

  // The system's question box with Yes and No, Yes the default button,
  // showing `question` (CP932); closing the box is No. True for Yes. A
  // window that does not offer the question answers Yes, which keeps
  // everything.
  virtual bool askYesNo(std::string_view question) {
    (void)question;
    return true;
  }

  // A file-save dialog for a PNG picture, proposing `defaultName`; it asks
  // before replacing a file. The chosen file, or nothing after Cancel (also
  // from a window that offers no such dialog).
  virtual std::optional<std::filesystem::path> choosePictureFile(std::string_view defaultName) {
    (void)defaultName;
    return std::nullopt;
  }
};

}  // namespace ws::editor
