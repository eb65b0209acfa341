// The editor on Windows: one window on the host game's folder.
//
//   worldsmith [--game-dir DIR] [--demo] [SAVE]
//
// --game-dir names the game folder (else %WORLDSMITH_GAME_DIR%, else the
// registry, else the editor asks). --demo writes the built-in demo game into
// %LOCALAPPDATA%\worldsmith\demo-game when it is not there yet and starts on
// it. SAVE, a save file, is loaded once the window is up, as LOAD loads the
// file chosen in its dialog; "Open with" and a file dropped on the
// program's icon start it so.

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app_win32/main_window.h"
#include "app_win32/win32_dialogs.h"
#include "app_win32/win32_text.h"
#include "demo/demo_game.h"
#include "platform/game_paths.h"
#include "platform/state_folder.h"

namespace {

constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

constexpr wchar_t kUsage[] =
    L"worldsmith [--game-dir DIR] [--demo] [SAVE]\n\n"
    L"--game-dir DIR  the game folder (else %WORLDSMITH_GAME_DIR%, else the registry)\n"
    L"--demo          start on the demo game, written below %LOCALAPPDATA% first\n"
    L"SAVE            a save file to load";

void tell(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), ws::app::kMessageTitle, MB_OK);
}

std::optional<std::filesystem::path> localAppData() {
  std::vector<wchar_t> folder(MAX_PATH + 1, L'\0');
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0,
                       folder.data()) != S_OK) {
    return std::nullopt;
  }
  return std::filesystem::path(folder.data());
}

// The demo game below the user's local application data, written on first
// use.
std::optional<std::filesystem::path> prepareDemoGame() {
  const std::optional<std::filesystem::path> base = localAppData();
  if (!base) {
    tell(L"worldsmith: the local application data folder is unknown");
    return std::nullopt;
  }
  const std::filesystem::path folder = *base / L"worldsmith" / L"demo-game";
  std::error_code error;
  if (std::filesystem::exists(ws::platform::cataloguePath(folder), error)) return folder;
  const ws::Status made = ws::demo::makeDemoGame(folder);
  if (!made) {
    tell(L"worldsmith: cannot write the demo game to " + folder.wstring() + L": " +
         ws::app::toWide(made.error().message));
    return std::nullopt;
  }
  return folder;
}

struct Options {
  ws::editor::EditorOptions editor;
  bool demo = false;
  std::optional<std::filesystem::path> save;
};

// Nothing after a usage error, which has been shown.
std::optional<Options> parseOptions() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return Options{};
  std::vector<std::wstring> words(arguments + 1, arguments + count);
  LocalFree(arguments);

  Options options;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::wstring& word = words[i];
    if (word == L"--game-dir" && i + 1 < words.size()) {
      options.editor.gameFolder = std::filesystem::path(words[++i]);
    } else if (word.rfind(L"--game-dir=", 0) == 0) {
      options.editor.gameFolder = std::filesystem::path(word.substr(11));
    } else if (word == L"--demo") {
      options.demo = true;
    } else if (word == L"--help" || word == L"-h" || word == L"/?") {
      tell(kUsage);
      return std::nullopt;
    } else if (!word.empty() && word[0] != L'-' && !options.save) {
      options.save = std::filesystem::path(word);
    } else {
      tell(L"worldsmith: unknown argument " + word + L"\n\n" + kUsage);
      return std::nullopt;
    }
  }
  if (options.demo && options.editor.gameFolder) {
    tell(std::wstring(L"worldsmith: --demo and --game-dir exclude each other\n\n") + kUsage);
    return std::nullopt;
  }
  return options;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  std::optional<Options> options = parseOptions();
  if (!options) return kExitUsage;
  options->editor.stateFolder = ws::platform::userStateFolder();
  if (options->demo) {
    options->editor.gameFolder = prepareDemoGame();
    if (!options->editor.gameFolder) return kExitBadInput;
  }

  // The folder browser needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ws::app::TForm1::registerClasses(instance);
  int exitCode = 0;
  {
    ws::app::TForm1 window(options->editor);
    window.quitWhenDestroyed();
    window.FormCreate();
    ShowWindow(window.handle(), showCommand);
    UpdateWindow(window.handle());
    if (options->save) window.openFileLater(*options->save);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.preTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    exitCode = static_cast<int>(message.wParam);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
