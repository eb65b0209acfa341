#include <CLI/CLI.hpp>
#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/area_facts_json.h"
#include "cli/commands.h"
#include "cli/failure.h"
#include "cli/png_writer.h"
#include "cli/utf8_arguments.h"
#include "demo/demo_folder.h"
#include "demo/demo_game.h"
#include "gamedata/area_catalogue.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_facts.h"
#include "gamedata/area_map_file.h"
#include "gamedata/area_map_lookup.h"
#include "gamedata/area_preview.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/text.h"

namespace ws::cli {

namespace {

using gamedata::AreaObjectRef;
using json = nlohmann::ordered_json;

constexpr int kMaxPreviewScale = 8;

struct GameCatalogue {
  std::filesystem::path folder;
  gamedata::AreaCatalogue names;
};

// A failure about a file of the game: the file comes first, as typed or
// found, never passed through CP932.
Error aboutFile(const std::filesystem::path& file, const Error& error) {
  const Error unnamed = withoutFileName(error, file);
  return Error{quoteAsGiven(pathToUtf8(file)) + ": " + unnamed.message, unnamed.detail};
}

Result<GameCatalogue> openCatalogue(const Context& context) {
  auto folder = gameFolder(context);
  if (!folder) return folder.error();
  const auto path = platform::cataloguePath(*folder);
  auto names = gamedata::LoadAreaCatalogue(path);
  if (!names) return aboutFile(path, names.error());
  return GameCatalogue{*folder, std::move(*names)};
}

// AREA on the command line: a catalogue index, or a name (UTF-8) as the
// catalogue spells it.
Result<int> findArea(const gamedata::AreaCatalogue& catalogue, const std::string& area) {
  int number = 0;
  const auto [end, failure] = std::from_chars(area.data(), area.data() + area.size(), number);
  if (failure == std::errc{} && end == area.data() + area.size()) {
    if (number >= 0 && number < static_cast<int>(catalogue.size())) return number;
    return Error{"no area " + area + " in the catalogue (0 to " +
                 std::to_string(catalogue.size() - 1) + ")"};
  }
  return areaNamed(catalogue, area);
}

// The chosen area and its map file, read whole.
struct ChosenArea {
  int number = 0;
  std::string name;  // CP932
  gamedata::AreaMapFile file;
};

Result<ChosenArea> openArea(const Context& context, const std::string& area) {
  auto game = openCatalogue(context);
  if (!game) return game.error();
  auto number = findArea(game->names, area);
  if (!number) return number.error();
  const std::string& name = game->names[static_cast<std::size_t>(*number)];
  gamedata::AreaMapLookup lookup = gamedata::LookUpAreaMapFile(game->folder, name);
  switch (lookup.status) {
    case gamedata::AreaFileStatus::EmptyName:
      return Error{"area " + std::to_string(*number) + " has no name in the catalogue " +
                   platform::pathForMessage(platform::cataloguePath(game->folder))};
    case gamedata::AreaFileStatus::Missing:
      if (lookup.missing == gamedata::MissingFile::OutsideAreaFolder) {
        return Error{"cannot read " + platform::pathForMessage(lookup.path) +
                     ": no such file in the area folder"};
      }
      return Error{lookup.readFailure};
    case gamedata::AreaFileStatus::Refused:
      return aboutFile(lookup.path, gamedata::notMsgFileError(lookup.file));
    case gamedata::AreaFileStatus::Readable:
      break;
  }
  return ChosenArea{*number, name, std::move(lookup.file)};
}

json objectJson(const AreaObjectRef& object) {
  return json{{"number", object.index}, {"x", object.x}, {"y", object.y}};
}

json objectJson(const std::optional<AreaObjectRef>& object) {
  return object ? objectJson(*object) : json(nullptr);
}

json objectsJson(const std::vector<AreaObjectRef>& objects) {
  json list = json::array();
  for (const auto& object : objects)
    list.push_back(objectJson(object));
  return list;
}

std::string objectText(const AreaObjectRef& object) {
  return "number " + std::to_string(object.index) + "  x " + std::to_string(object.x) + "  y " +
         std::to_string(object.y);
}

void printObjectList(const char* label, const std::vector<AreaObjectRef>& objects) {
  std::cout << label << ": " << objects.size() << '\n';
  for (const auto& object : objects)
    std::cout << "  " << objectText(object) << '\n';
}

void printSpecial(const char* label, const std::optional<AreaObjectRef>& object) {
  std::cout << label << ": " << (object ? objectText(*object) : std::string("none")) << '\n';
}

// --- the commands -----------------------------------------------------------

int runDemoGame(const std::filesystem::path& folder, std::uint64_t seed, bool force) {
  // A folder that holds anything may be a game: its files are not
  // overwritten unless asked for.
  std::error_code error;
  if (!force && std::filesystem::is_directory(folder, error) &&
      !std::filesystem::is_empty(folder, error)) {
    return reportFailure(outputName(folder), Error{"the folder is not empty",
                                                   "give --force to write the demo game into it"});
  }
  // Written beside the folder and moved into place whole; with --force the
  // demo's files replace those of the same names and the others stay.
  const auto failed = demo::writeDemoFolder(
      folder, seed, force ? demo::ExistingFolder::Merge : demo::ExistingFolder::Replace);
  if (failed) {
    return reportFailure(outputName(folder), Error{"cannot write the demo game", failed->detail});
  }
  std::cout << "demo game written to " << outputName(folder) << '\n';
  return kExitSuccess;
}

int runCatalogue(const Context& context, bool asJson) {
  auto game = openCatalogue(context);
  if (!game) return reportError(game.error());
  json entries = json::array();
  for (std::size_t i = 0; i < game->names.size(); ++i) {
    const std::string name = platform::cp932ToUtf8(game->names[i]);
    if (asJson) {
      json entry{{"index", i}, {"name", name}};
      entry.update(areaFactsJson(gamedata::ReadAreaFacts(game->folder, game->names[i])));
      entries.push_back(std::move(entry));
    } else {
      std::cout << i << '\t' << cp932Name(game->names[i]) << '\n';
    }
  }
  if (asJson) std::cout << entries.dump(2) << '\n';
  return kExitSuccess;
}

int runObjects(const Context& context, const std::string& areaArgument, bool asJson) {
  auto area = openArea(context, areaArgument);
  if (!area) return reportError(area.error());
  const auto& file = area->file;
  const int width = file.gridWidth();
  const int height = file.gridHeight() / 2;
  const gamedata::AreaContents objects = gamedata::ReadAreaContents(file);
  const std::string name = platform::cp932ToUtf8(area->name);
  if (asJson) {
    const json result{{"area", area->number},
                      {"name", name},
                      {"width", width},
                      {"height", height},
                      {"dungeons", objectsJson(objects.dungeons)},
                      {"houses", objectsJson(objects.houses)},
                      {"church", objectJson(objects.church)},
                      {"tower", objectJson(objects.tower)},
                      {"linkGate", objectJson(objects.linkGate)},
                      {"townsfolkSpots", objects.townsfolkSpots.size()}};
    std::cout << result.dump(2) << '\n';
    return kExitSuccess;
  }
  std::cout << "area " << area->number << ' ' << cp932Name(area->name) << '\n';
  std::cout << "size " << width << " x " << height << '\n';
  printObjectList("dungeons", objects.dungeons);
  printObjectList("houses", objects.houses);
  printSpecial("church", objects.church);
  printSpecial("tower", objects.tower);
  printSpecial("link gate", objects.linkGate);
  std::cout << "townsfolk spots: " << objects.townsfolkSpots.size() << '\n';
  return kExitSuccess;
}

// The preview as the editor shows it right after the area is chosen, with
// every marker: dungeons and houses unchecked (cyan outline, white inside),
// church and link gate yellow, the tower cyan.
canvas::Canvas drawPreview(const gamedata::AreaMapFile& file) {
  canvas::Canvas preview(gamedata::kPreviewWidth, gamedata::kPreviewHeight, canvas::kBlack);
  (void)gamedata::DrawAreaMap(file, preview);
  const gamedata::AreaContents objects = gamedata::ReadAreaContents(file);
  using gamedata::ObjectItemKind;
  for (const ObjectItemKind kind :
       {ObjectItemKind::House, ObjectItemKind::Dungeon, ObjectItemKind::Church,
        ObjectItemKind::Tower, ObjectItemKind::LinkGate}) {
    const gamedata::MarkerColours colours = gamedata::markerColoursOf(kind);
    for (const AreaObjectRef& object : gamedata::objectsOf(objects, kind)) {
      gamedata::DrawObjectMarker(preview, object, colours.pen, colours.unchosen);
    }
  }
  return preview;
}

int runPreview(const Context& context, const std::string& areaArgument,
               const std::filesystem::path& output, int scale) {
  auto area = openArea(context, areaArgument);
  if (!area) return reportError(area.error());
  if (auto written = writePngOutput(output, drawPreview(area->file), scale, "the preview");
      !written) {
    return reportFailure(outputName(output), withoutFileName(written.error(), output));
  }
  return kExitSuccess;
}

// demo-game: the demo game folder, written whole.
void addDemoGameCommand(CLI::App& app, Context& context) {
  struct Options {
    std::filesystem::path folder;
    std::uint64_t seed = demo::kDefaultDemoSeed;
    bool force = false;
  };
  auto options = std::make_shared<Options>();
  auto* command = app.add_subcommand("demo-game", "Write the synthetic demo game folder DIR");
  addPathOption(*command, "DIR", options->folder, "The folder to write")
      ->required()
      ->check(
          [](const std::string& value) {
            return value == "-" ? std::string("a folder cannot go to the standard output") : "";
          },
          "DIR");
  command->add_option("--seed", options->seed, "Seed of the terrain and object positions");
  command->add_flag("--force", options->force,
                    "Write into a folder that is not empty, replacing the game's files");
  command->callback([&context, options] {
    context.exitCode = runDemoGame(options->folder, options->seed, options->force);
  });
}

// catalogue: the area names, or with --json their facts.
void addCatalogueCommand(CLI::App& app, Context& context) {
  auto asJson = std::make_shared<bool>(false);
  auto* command =
      app.add_subcommand("catalogue", "List the area catalogue: index, tab, name (UTF-8)");
  command->add_flag("--json", *asJson,
                    "Print a JSON array of {\"index\", \"name\"} with each area's facts");
  command->callback([&context, asJson] { context.exitCode = runCatalogue(context, *asJson); });
}

// objects: one area's size and objects.
void addObjectsCommand(CLI::App& app, Context& context) {
  struct Options {
    std::string area;
    bool asJson = false;
  };
  auto options = std::make_shared<Options>();
  auto* command = app.add_subcommand(
      "objects", "Show an area's size and objects (AREA: catalogue index or name)");
  command->add_option("AREA", options->area, "Catalogue index or name")->required();
  command->add_flag("--json", options->asJson, "Print the result as a JSON object");
  command->callback([&context, options] {
    context.exitCode = runObjects(context, options->area, options->asJson);
  });
}

// preview: one area's preview with its object markers, as PNG.
void addPreviewCommand(CLI::App& app, Context& context) {
  struct Options {
    std::string area;
    std::filesystem::path output;
    int scale = 1;
  };
  auto options = std::make_shared<Options>();
  auto* command = app.add_subcommand(
      "preview", "Draw an area's 128 x 64 preview with its object markers as PNG");
  command->add_option("AREA", options->area, "Catalogue index or name")->required();
  addPathOption(*command, "-o,--output", options->output,
                "The PNG file to write (\"-\": standard output)")
      ->required();
  command->add_option("--scale", options->scale, "Enlarge N times (1 to 8) without smoothing")
      ->type_name("N")
      ->check(CLI::Range(1, kMaxPreviewScale));
  command->callback([&context, options] {
    context.exitCode = runPreview(context, options->area, options->output, options->scale);
  });
}

}  // namespace

void addGameDataCommands(CLI::App& app, Context& context) {
  addDemoGameCommand(app, context);
  addCatalogueCommand(app, context);
  addObjectsCommand(app, context);
  addPreviewCommand(app, context);
}

}  // namespace ws::cli
