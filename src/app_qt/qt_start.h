#pragma once

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/game_folder_store.h"

namespace ws::app {

// The game folder the user chose, kept in Qt's settings file under the
// user's config folder (~/.config/worldsmith/worldsmith.conf).
class QtGameFolderStore : public platform::GameFolderStore {
 public:
  std::optional<std::filesystem::path> rememberedGameFolder() override;
  void rememberGameFolder(const std::filesystem::path& folder) override;
  void forgetGameFolder() override;
};

// Whether the environment names a display Qt can open a window on: a
// platform plugin without one (offscreen, vnc, ...) or DISPLAY for X11 or
// WAYLAND_DISPLAY for Wayland. A display that is named but cannot be reached
// is caught by makeApplication.
bool environmentNamesDisplay();

// Without a display the editor says so in this one line and exits with 1.
inline constexpr char kNoDisplayLine[] =
    "worldsmith: no display to open the window on (DISPLAY and WAYLAND_DISPLAY name none that "
    "can be reached)\n";
inline constexpr int kExitNoDisplay = 1;

// The application. When Qt cannot open the display it writes kNoDisplayLine
// and ends the program with kExitNoDisplay; Qt's own lines about the failure
// are held back.
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv);

// Loads Qt's own translations for the user's locale, so that its dialogs
// and the question box's buttons speak the desktop's language.
void loadQtTranslations(QApplication& application);

// Moves a shown window so that its frame lies wholly on the available part
// of its screen (the top left corner wins when it is larger than that).
void keepOnScreen(QWidget& window);

}  // namespace ws::app
