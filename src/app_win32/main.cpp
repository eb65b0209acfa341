// The editor on Windows: one window on the host game's folder.
//
//   worldsmith [--game-dir DIR] [--demo] [SAVE]
//
// --game-dir names the game folder (else %WORLDSMITH_GAME_DIR%, else the
// registry, else the folder chosen in an earlier run, kept below
// HKEY_CURRENT_USER\Software\Worldsmith, else the editor asks). --demo
// writes the built-in demo game into %LOCALAPPDATA%\worldsmith\demo-game
// when it is not there complete and starts on it. SAVE, a save file, is
// loaded once the window is up, as LOAD loads the file chosen in its
// dialog; "Open with" and a file dropped on the program's icon start it so.
// --help and --version answer in a message box.

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app_win32/main_window.h"
#include "app_win32/win32_dialogs.h"
#include "app_win32/win32_text.h"
#include "demo/demo_start.h"
#include "editor/editor_messages.h"
#include "platform/game_folder_store.h"
#include "platform/state_folder.h"
#include "version_info.h"

namespace {

constexpr int kExitNoGame = 1;
constexpr int kExitUsage = 2;

std::optional<std::filesystem::path> localAppData() {
  std::vector<wchar_t> folder(MAX_PATH + 1, L'\0');
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0,
                       folder.data()) != S_OK) {
    return std::nullopt;
  }
  return std::filesystem::path(folder.data());
}

// The demo game below the user's local application data, written whole
// when it is not there complete.
std::optional<std::filesystem::path> prepareDemoGame(ws::editor::Dialogs& dialogs) {
  const std::optional<std::filesystem::path> base = localAppData();
  if (!base) {
    dialogs.showError(ws::Error{std::string(ws::editor::kNoDemoFolderMessage),
                                "the local application data folder is unknown"});
    return std::nullopt;
  }
  ws::Result<std::filesystem::path> demo =
      ws::demo::prepareDemoGame(*base / L"worldsmith" / L"demo-game");
  if (!demo) {
    dialogs.showError(demo.error());
    return std::nullopt;
  }
  return *demo;
}

// A command-line word as CP932, for the message that names it.
std::string cp932Of(const std::wstring& word) {
  const int size = static_cast<int>(word.size());
  const int length = WideCharToMultiByte(932, 0, word.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(932, 0, word.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

struct Options {
  ws::editor::EditorOptions editor;
  bool demo = false;
  std::optional<std::filesystem::path> save;
};

// The usage with the version line: the answer to --help and --version.
std::string usageWithVersion() {
  return "worldsmith " + std::string(ws::kVersionLine) + "\n\n" +
         std::string(ws::editor::kUsageText);
}

// A usage error: the Japanese message and the usage in a box, the English
// line in the log.
std::nullopt_t refuseUsage(ws::editor::Dialogs& dialogs, const std::string& message,
                           const std::string& english) {
  dialogs.showError(ws::Error{message + "\n\n" + std::string(ws::editor::kUsageText), english});
  return std::nullopt;
}

// Nothing after a usage error or an answer to --help or --version, which
// has been shown.
std::optional<Options> parseOptions(ws::editor::Dialogs& dialogs, bool& usageError) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return Options{};
  std::vector<std::wstring> words(arguments + 1, arguments + count);
  LocalFree(arguments);

  Options options;
  usageError = true;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::wstring& word = words[i];
    if (word == L"--game-dir" && i + 1 < words.size()) {
      options.editor.gameFolder = std::filesystem::path(words[++i]);
    } else if (word.rfind(L"--game-dir=", 0) == 0) {
      options.editor.gameFolder = std::filesystem::path(word.substr(11));
    } else if (word == L"--demo") {
      options.demo = true;
    } else if (word == L"--help" || word == L"-h" || word == L"/?" || word == L"--version") {
      usageError = false;
      dialogs.showMessage(usageWithVersion());
      return std::nullopt;
    } else if (!word.empty() && word[0] != L'-' && !options.save) {
      options.save = std::filesystem::path(word);
    } else {
      const std::string option = cp932Of(word);
      return refuseUsage(dialogs, ws::editor::unknownOptionMessage(option),
                         "worldsmith: unknown argument " + option);
    }
  }
  if (options.demo && options.editor.gameFolder) {
    return refuseUsage(dialogs, std::string(ws::editor::kDemoAndGameDirMessage),
                       "worldsmith: --demo and --game-dir exclude each other");
  }
  usageError = false;
  return options;
}

int runWindow(HINSTANCE instance, const Options& options, int showCommand) {
  ws::app::TForm1::registerClasses(instance);
  ws::app::TForm1 window(options.editor);
  window.quitWhenDestroyed();
  // Without a game (the folder dialog was cancelled) there is nothing to edit.
  if (!window.FormCreate()) return kExitNoGame;
  ShowWindow(window.handle(), showCommand);
  UpdateWindow(window.handle());
  if (options.save) window.openFileLater(*options.save);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.preTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The folder browser needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ws::app::Win32Dialogs dialogs;  // for what comes before the window
  bool usageError = false;
  std::optional<Options> options = parseOptions(dialogs, usageError);
  int exitCode = usageError ? kExitUsage : 0;
  ws::platform::RegistryGameFolderStore store;
  if (options && options->demo) {
    options->editor.gameFolder = prepareDemoGame(dialogs);
    if (!options->editor.gameFolder) {
      options.reset();
      exitCode = kExitNoGame;
    }
  }
  if (options) {
    options->editor.gameFolderStore = &store;
    options->editor.stateFolder = ws::platform::userStateFolder();
    exitCode = runWindow(instance, *options, showCommand);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
