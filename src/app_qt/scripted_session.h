#pragma once

#include <filesystem>

namespace ws::app {

class TForm1;

// Drives a short session through the shown window on the demo game: choose
// a link gate area and place it, place a field, switch to the town kind
// (the house list), place two towns. After each step the whole window is
// written as a PNG into `outFolder`. Returns 0, or 1 when a step did not
// have its effect or a picture could not be written.
int runScriptedSession(TForm1& window, const std::filesystem::path& outFolder);

}  // namespace ws::app
