#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "cli/world_description.h"
#include "codec/save_container.h"
#include "gamedata/area_catalogue.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/text.h"
#include "world/save_body.h"
#include "world/save_body_parse.h"
#include "world/world_messages.h"

namespace ws::cli {

namespace {

using json = nlohmann::ordered_json;

// A world description holds four areas and a name; anything near this size
// is no description.
constexpr std::uint64_t kMaxWorldFileSize = 1 << 20;

// build WORLD.json -o SAVE: places the areas as clicks would, then saves.
int buildWorld(const Context& context, const std::filesystem::path& worldFile,
               const std::filesystem::path& saveFile) {
  auto folder = gameFolder(context);
  if (!folder) return reportError(folder.error());
  auto catalogue = gamedata::LoadAreaCatalogue(platform::cataloguePath(*folder));
  if (!catalogue) return reportError(catalogue.error());
  const auto text = readInput(worldFile, kMaxWorldFileSize);
  if (!text) return reportError(text.error());
  auto description = parseWorldDescription(
      std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), *catalogue);
  if (!description) {
    return reportError(
        Error{quoteAsGiven(pathToUtf8(worldFile)) + ": " + description.error().message});
  }
  auto slots = placeWorld(*description, *folder, *catalogue);
  if (!slots) return reportError(slots.error());
  auto body = world::BuildSaveBody(*slots, description->name,
                                   world::townSpotsFromGame(*folder, *catalogue));
  if (!body) return reportError(body.error());
  if (auto written = writeSaveOutput(saveFile, *body); !written) {
    return reportError(written.error());
  }
  // The save file itself may be what goes to the standard output.
  (isStandardOutput(saveFile) ? std::cerr : std::cout)
      << "wrote " << pathToUtf8(saveFile) << ": " << slots->usedCount() << " areas, body of "
      << body->size() << " bytes\n";
  return kExitSuccess;
}

json areaJson(const world::LoadedArea& area, std::size_t slot,
              const std::optional<gamedata::AreaCatalogue>& catalogue) {
  json entry;
  entry["slot"] = slot;
  entry["area"] = area.areaNumber;
  const auto number = static_cast<std::size_t>(area.areaNumber);
  if (catalogue && number < catalogue->size()) {
    entry["name"] = platform::cp932ToUtf8((*catalogue)[number]);
  } else {
    entry["name"] = nullptr;
  }
  entry["kind"] = kindName(area.kind);
  entry["x"] = area.x;
  entry["y"] = area.y;
  entry["width"] = area.width;
  entry["height"] = area.height;
  entry["objects"] = area.objectIds;
  entry["special"] = area.specialId ? json(*area.specialId) : json(nullptr);
  return entry;
}

void printText(const json& info) {
  std::cout << "name: " << info["name"].get<std::string>() << '\n'
            << "body length: " << info["bodyLength"] << " bytes\n";
  for (const json& area : info["areas"]) {
    std::cout << "slot " << area["slot"] << ": area " << area["area"];
    if (area["name"].is_string()) std::cout << " (" << area["name"].get<std::string>() << ")";
    std::cout << ", " << area["kind"].get<std::string>() << " at " << area["x"] << ", " << area["y"]
              << ", " << area["width"] << " x " << area["height"] << ", objects";
    if (area["objects"].empty()) std::cout << " none";
    for (const json& id : area["objects"])
      std::cout << ' ' << id;
    std::cout << ", special " << (area["special"].is_null() ? json("none") : area["special"]).dump()
              << '\n';
  }
  std::cout << "townsfolk: " << info["townsfolk"] << '\n' << "guards: " << info["guards"] << '\n';
}

// info SAVE: what loading the save file restores. The catalogue names the
// areas when a game folder is at hand; the save file alone suffices.
int showInfo(const Context& context, const std::filesystem::path& saveFile, bool asJson) {
  auto read = codec::readSaveFile(saveFile);
  if (!read) return reportError(namingDamagedFile(saveFile, read.error()));
  if (!*read) return reportError(Error{world::fileNotReadMessage(saveFile)});
  const auto& body = **read;
  auto parsed = world::ParseSaveBody(body, platform::pathForMessage(saveFile));
  if (!parsed) return reportError(parsed.error());

  std::optional<gamedata::AreaCatalogue> catalogue;
  if (auto folder = platform::locateGameFolder(context.gameDir)) {
    // A catalogue that cannot be read only leaves the names out.
    if (auto loaded = gamedata::LoadAreaCatalogue(platform::cataloguePath(*folder))) {
      catalogue = std::move(*loaded);
    }
  }
  json info;
  info["name"] = platform::cp932ToUtf8(parsed->worldName);
  info["bodyLength"] = body.size();
  info["areas"] = json::array();
  for (std::size_t k = 0; k < parsed->areas.size(); ++k) {
    info["areas"].push_back(areaJson(parsed->areas[k], k, catalogue));
  }
  info["townsfolk"] = parsed->townsfolkCount;
  info["guards"] = parsed->guardCount;
  if (asJson) {
    std::cout << info.dump(2) << '\n';
  } else {
    printText(info);
  }
  return kExitSuccess;
}

}  // namespace

void addWorldCommands(CLI::App& app, Context& context) {
  struct BuildOptions {
    std::filesystem::path world;
    std::filesystem::path save;
  };
  auto build = std::make_shared<BuildOptions>();
  auto* buildCommand = app.add_subcommand(
      "build", "Compose a world from WORLD.json on the game's areas and write its save file");
  addPathOption(*buildCommand, "WORLD", build->world, "The world description (UTF-8 JSON)")
      ->required();
  addPathOption(*buildCommand, "-o,--output", build->save,
                "The save file to write (\"-\": standard output)")
      ->required();
  buildCommand->callback(
      [&context, build] { context.exitCode = buildWorld(context, build->world, build->save); });

  struct InfoOptions {
    std::filesystem::path save;
    bool json = false;
  };
  auto info = std::make_shared<InfoOptions>();
  auto* infoCommand = app.add_subcommand("info", "Show what loading a save file restores");
  addPathOption(*infoCommand, "SAVE", info->save, "The save file")->required();
  infoCommand->add_flag("--json", info->json, "Print the same as JSON");
  infoCommand->callback(
      [&context, info] { context.exitCode = showInfo(context, info->save, info->json); });
}

}  // namespace ws::cli
