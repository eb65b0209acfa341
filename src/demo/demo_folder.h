#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "demo/demo_game.h"
#include "platform/file_io.h"

namespace ws::demo {

// A demo game folder is written whole or not at all. Everything goes into a
// hidden folder ".NAME.tmp-XXXXXX" beside the target; the completion marker
// is its last file; only then is the folder renamed into place. A failed
// write removes the hidden folder again. A folder without the marker (cut
// short by a full disk, or written by an older version that had no marker)
// is incomplete and is written anew.

// The completion marker's name inside the game folder.
inline constexpr std::string_view kDemoMarkerFileName = ".worldsmith-demo";

// Why a demo folder could not be written, as far as a user can act on it.
using DemoWriteReason = platform::WriteProblem;

struct DemoWriteFailure {
  DemoWriteReason reason = DemoWriteReason::Other;
  std::string detail;  // for the log: what failed where (CP932 path), and the system's reason
};

// What happens to a target folder that already holds files.
enum class ExistingFolder {
  Replace,  // the whole folder is replaced (a folder the program owns)
  Merge,    // the demo's files replace those of the same names, other files stay
};

// Whether `folder` holds a complete demo game written with `seed`.
bool isCompleteDemoFolder(const std::filesystem::path& folder,
                          std::uint64_t seed = kDefaultDemoSeed);

// Writes the demo game as the folder `target`. Its parent folders are made
// as needed. With Merge the complete demo is still written beside the target
// first, and its files are then moved in one by one, the marker last.
std::optional<DemoWriteFailure> writeDemoFolder(const std::filesystem::path& target,
                                                std::uint64_t seed = kDefaultDemoSeed,
                                                ExistingFolder existing = ExistingFolder::Replace);

// The demo folder a window starts on: left alone when complete, written
// (replacing an incomplete one) otherwise.
std::optional<DemoWriteFailure> ensureDemoFolder(const std::filesystem::path& target);

}  // namespace ws::demo
