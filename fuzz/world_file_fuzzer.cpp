// A world file of arbitrary bytes through everything `build` does with it:
// the strict reader, the placement of every area on a demo game, and the
// save body. Whatever is refused is refused with a message; whatever is
// accepted places at most four areas, and its body reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "cli/world_description.h"
#include "cli/world_file.h"
#include "demo/demo_game.h"
#include "fuzz_support.h"
#include "gamedata/area_catalogue.h"
#include "platform/game_paths.h"
#include "world/save_body.h"
#include "world/save_body_parse.h"

namespace {

using ws::fuzz::check;
using ws::fuzz::privateFolder;

struct DemoGame {
  std::filesystem::path folder;
  ws::gamedata::AreaCatalogue catalogue;
};

const DemoGame& demoGame() {
  static const DemoGame game = [] {
    DemoGame made;
    made.folder = privateFolder("worldsmith-world-file-fuzzer");
    check(ws::demo::makeDemoGame(made.folder).ok());
    auto catalogue = ws::gamedata::LoadAreaCatalogue(ws::platform::cataloguePath(made.folder));
    check(catalogue.ok());
    made.catalogue = std::move(*catalogue);
    return made;
  }();
  return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DemoGame& game = demoGame();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto world = ws::cli::readWorldFile(text, game.catalogue);
  if (!world) {
    check(!world.error().message.empty());
    return 0;
  }
  for (const auto& area : world->areas) {
    check(area.area >= 0 && static_cast<std::size_t>(area.area) < game.catalogue.size());
    check(!area.slot || (*area.slot >= 0 && *area.slot < ws::world::kSlotCount));
  }
  auto slots = ws::cli::placeWorld(*world, game.folder, game.catalogue);
  if (!slots) {
    check(!slots.error().message.empty());
    return 0;
  }
  check(slots->usedCount() <= ws::world::kSlotCount);
  const auto body = ws::world::BuildSaveBody(
      *slots, world->name, ws::world::townSpotsFromGame(game.folder, game.catalogue));
  if (body) check(ws::world::ParseSaveBody(*body).ok());
  return 0;
}
