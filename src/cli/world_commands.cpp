#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/failure.h"
#include "cli/utf8_arguments.h"
#include "cli/world_description.h"
#include "cli/world_file.h"
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
  const std::string where = inputName(worldFile);
  const auto text = readInput(worldFile, kMaxWorldFileSize);
  if (!text) return reportFailure(where, text.error());
  auto description = readWorldFile(
      std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), *catalogue);
  if (!description) return reportFailure(where, description.error());
  auto slots = placeWorld(*description, *folder, *catalogue);
  if (!slots) return reportFailure(where, slots.error());
  auto body = world::BuildSaveBody(*slots, description->name,
                                   world::townSpotsFromGame(*folder, *catalogue));
  if (!body) return reportFailure(where, body.error());
  if (auto written = writeSaveOutput(saveFile, *body); !written) {
    return reportFailure(outputName(saveFile), withoutFileName(written.error(), saveFile));
  }
  // The save file itself may be what goes to the standard output.
  (isStandardOutput(saveFile) ? std::cerr : std::cout)
      << "wrote " << outputName(saveFile) << ": " << slots->usedCount() << " areas, body of "
      << body->size() << " bytes\n";
  return kExitSuccess;
}

// The catalogue's name of an area, when there is a catalogue that has it.
std::optional<std::string> catalogueName(const std::optional<gamedata::AreaCatalogue>& catalogue,
                                         int area) {
  const auto number = static_cast<std::size_t>(area);
  if (!catalogue || area < 0 || number >= catalogue->size()) return std::nullopt;
  return (*catalogue)[number];
}

json areaJson(const world::LoadedArea& area, std::size_t slot,
              const std::optional<gamedata::AreaCatalogue>& catalogue) {
  json entry;
  entry["slot"] = slot;
  entry["area"] = area.areaNumber;
  const auto name = catalogueName(catalogue, area.areaNumber);
  entry["name"] = name ? json(platform::cp932ToUtf8(*name)) : json(nullptr);
  entry["kind"] = kindName(area.kind);
  entry["x"] = area.x;
  entry["y"] = area.y;
  entry["width"] = area.width;
  entry["height"] = area.height;
  entry["objects"] = area.objectIds;
  entry["special"] = area.specialId ? json(*area.specialId) : json(nullptr);
  return entry;
}

// The text form: names escaped for the terminal, "none" for what is not there.
void printText(const world::ParsedSaveBody& parsed, std::size_t bodyLength,
               const std::optional<gamedata::AreaCatalogue>& catalogue) {
  std::cout << "name: " << cp932Name(parsed.worldName) << '\n'
            << "body length: " << bodyLength << " bytes\n";
  for (std::size_t k = 0; k < parsed.areas.size(); ++k) {
    const world::LoadedArea& area = parsed.areas[k];
    std::cout << "slot " << k << ": area " << area.areaNumber;
    if (const auto name = catalogueName(catalogue, area.areaNumber)) {
      std::cout << " (" << cp932Name(*name) << ")";
    }
    std::cout << ", " << kindName(area.kind) << " at " << area.x << ", " << area.y << ", "
              << area.width << " x " << area.height << ", objects";
    if (area.objectIds.empty()) std::cout << " none";
    for (const auto id : area.objectIds)
      std::cout << ' ' << static_cast<int>(id);
    std::cout << ", special "
              << (area.specialId ? std::to_string(*area.specialId) : std::string("none")) << '\n';
  }
  std::cout << "townsfolk: " << parsed.townsfolkCount << '\n'
            << "guards: " << parsed.guardCount << '\n';
}

// info SAVE: what loading the save file restores. The catalogue names the
// areas when a game folder is at hand; the save file alone suffices.
int showInfo(const Context& context, const std::filesystem::path& saveFile, bool asJson) {
  const auto body = readSaveInput(saveFile);
  if (!body) return reportFailure(inputName(saveFile), body.error());
  auto parsed = world::ParseSaveBody(*body);
  if (!parsed) return reportFailure(inputName(saveFile), parsed.error());

  std::optional<gamedata::AreaCatalogue> catalogue;
  if (auto folder = platform::locateGameFolder(context.gameDir)) {
    // A catalogue that cannot be read only leaves the names out.
    if (auto loaded = gamedata::LoadAreaCatalogue(platform::cataloguePath(*folder))) {
      catalogue = std::move(*loaded);
    }
  }
  if (!asJson) {
    printText(*parsed, body->size(), catalogue);
    return kExitSuccess;
  }
  json info;
  info["name"] = platform::cp932ToUtf8(parsed->worldName);
  info["bodyLength"] = body->size();
  info["areas"] = json::array();
  for (std::size_t k = 0; k < parsed->areas.size(); ++k) {
    info["areas"].push_back(areaJson(parsed->areas[k], k, catalogue));
  }
  info["townsfolk"] = parsed->townsfolkCount;
  info["guards"] = parsed->guardCount;
  std::cout << info.dump(2) << '\n';
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
