#include "app_win32/win32_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <string_view>
#include <vector>

#include "app_win32/win32_text.h"
#include "editor/window_texts.h"

namespace ws::app {
namespace {

// Long paths are allowed; the dialog reports a larger need as an error.
constexpr DWORD kPathCapacity = 32768;

// Starts the folder browser in the process's current folder.
int CALLBACK startInCurrentFolder(HWND dialog, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    std::vector<wchar_t> current(MAX_PATH + 1, L'\0');
    if (GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()) > 0) {
      SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(current.data()));
    }
  }
  return 0;
}

// A file type for a dialog's type box: its pairs of description and
// pattern, each ended by a null, and the extension added to a name without
// one; nullptr for all files.
struct FileType {
  const wchar_t* filter = nullptr;
  const wchar_t* extension = nullptr;
};

std::optional<std::filesystem::path> runFileDialog(HWND owner, const std::filesystem::path& folder,
                                                   std::wstring proposed, const wchar_t* title,
                                                   DWORD flags, bool save, FileType type = {}) {
  std::vector<wchar_t> file(kPathCapacity, L'\0');
  proposed.copy(file.data(), file.size() - 1);
  // Always given: some dialogs otherwise open where the last one was left.
  const std::wstring initialFolder = folder.wstring();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  dialog.lpstrTitle = title;
  dialog.lpstrFilter = type.filter;
  dialog.lpstrDefExt = type.extension;
  // OFN_NOCHANGEDIR: the dialog leaves the process's current folder alone.
  dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return std::filesystem::path(file.data());
}

// "セーブファイル (*.dat)" and all files, as the dialogs' type box wants
// them: description and pattern, each ended by a null, and one more null.
std::wstring saveFileFilter() {
  std::wstring filter;
  for (const std::string_view text : {editor::kSaveFileTypeName, editor::kSaveFilePattern,
                                      editor::kAllFilesTypeName, editor::kAllFilesPattern}) {
    filter += toWide(text);
    filter += L'\0';
  }
  return filter;  // c_str() adds the last null
}

}  // namespace

void Win32Dialogs::showMessage(std::string_view text) {
  // Owned by the window, which stays disabled until the box is closed.
  MessageBoxW(owner_, toWide(text).c_str(), kMessageTitle, MB_OK);
}

void Win32Dialogs::logLine(std::string_view text) {
  OutputDebugStringW(toWide(std::string(text) + "\n").c_str());
}

std::optional<std::filesystem::path> Win32Dialogs::chooseFolder(std::string_view instruction) {
  const std::wstring title = toWide(instruction);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner_;
  browse.lpszTitle = title.c_str();  // the instruction above the folder tree
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON;
  browse.lpfn = &startInCurrentFolder;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
  if (chosen == nullptr) return std::nullopt;
  std::vector<wchar_t> folder(kPathCapacity, L'\0');
  const bool named =
      SHGetPathFromIDListEx(chosen, folder.data(), static_cast<DWORD>(folder.size()), 0) != FALSE;
  CoTaskMemFree(chosen);
  if (!named) return std::nullopt;
  return std::filesystem::path(folder.data());
}

std::optional<std::filesystem::path> Win32Dialogs::chooseOpenFile(
    const std::filesystem::path& initialFolder) {
  const std::wstring filter = saveFileFilter();
  return runFileDialog(owner_, initialFolder, {}, kOpenDialogTitle, OFN_FILEMUSTEXIST, false,
                       {filter.c_str(), nullptr});
}

std::optional<std::filesystem::path> Win32Dialogs::chooseSaveFile(
    const std::filesystem::path& initialFolder, std::string_view defaultName) {
  // Asks before replacing a file; the read-only box stays hidden. A name
  // typed without an extension gets ".dat", so that the save shows in the
  // LOAD dialog's first file type.
  const std::wstring filter = saveFileFilter();
  return runFileDialog(owner_, initialFolder, toWide(defaultName), kSaveDialogTitle,
                       OFN_OVERWRITEPROMPT, true, {filter.c_str(), L"dat"});
}

editor::SaveChoice Win32Dialogs::askSaveChanges(std::string_view question) {
  switch (MessageBoxW(owner_, toWide(question).c_str(), kMessageTitle,
                      MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return editor::SaveChoice::Save;
    case IDNO:
      return editor::SaveChoice::DontSave;
    default:  // Cancel, or the box closed
      return editor::SaveChoice::Cancel;
  }
}

bool Win32Dialogs::askYesNo(std::string_view question) {
  // Yes is the first button, so the default; closing the box answers No.
  return MessageBoxW(owner_, toWide(question).c_str(), kMessageTitle,
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

std::optional<std::filesystem::path> Win32Dialogs::choosePictureFile(std::string_view defaultName) {
  // The pairs end with an extra null; the literal's own is the last one.
  static constexpr wchar_t kPngFilter[] = L"PNG (*.png)\0*.png\0";
  return runFileDialog(owner_, {}, toWide(defaultName), kPictureDialogTitle, OFN_OVERWRITEPROMPT,
                       true, {kPngFilter, L"png"});
}

}  // namespace ws::app
