#pragma once

#include <filesystem>

namespace ws::app {

class TForm1;

// Drives a session through the shown window on the demo game, one picture
// for each task of the user guide, written as PNGs into `outFolder`: the
// start, choosing an area, its hint (the tool tip), placing three areas,
// removing one, checking objects, naming the world, SAVE and LOAD (their
// dialogs), undo and the world map's menu. Pictures of the window alone are
// taken from the window; those with a tool tip, a menu or a dialog from the
// screen. Returns 0, or 1 when a step did not have its effect or a picture
// could not be written.
int runScriptedSession(TForm1& window, const std::filesystem::path& outFolder);

}  // namespace ws::app
