// An area map file of arbitrary bytes in a game folder, through what
// `catalogue --json` says of it: the facts read from the folder must be the
// facts of the bytes, and the JSON must keep its promises (counts only for a
// readable file, a reason for every kind the area cannot take).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "cli/area_facts_json.h"
#include "fuzz_support.h"
#include "gamedata/area_facts.h"
#include "platform/game_paths.h"

namespace {

using ws::fuzz::check;
using ws::fuzz::privateFolder;

const std::string kAreaName = "area";

std::filesystem::path gameFolder() {
  static const std::filesystem::path folder = [] {
    const auto made = privateFolder("worldsmith-area-facts-fuzzer");
    std::filesystem::create_directories(
        ws::platform::areaMapFilePath(made, kAreaName).parent_path());
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = gameFolder();
  std::ofstream(ws::platform::areaMapFilePath(folder, kAreaName), std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const ws::gamedata::AreaFacts facts = ws::gamedata::ReadAreaFacts(folder, kAreaName);
  const ws::gamedata::AreaFacts expected = ws::gamedata::AreaFactsOf(
      ws::gamedata::AreaMapFile{std::vector<std::uint8_t>(data, data + size)});
  check(facts.status == expected.status && facts.width == expected.width &&
        facts.height == expected.height && facts.dungeons == expected.dungeons &&
        facts.houses == expected.houses && facts.townsfolkSpots == expected.townsfolkSpots);

  const auto json = ws::cli::areaFactsJson(facts);
  const bool readable = json["status"] == "ok";
  check(readable == (facts.status == ws::gamedata::AreaFileStatus::Readable));
  for (const char* key : {"width", "height", "dungeons", "houses", "townsfolkSpots"}) {
    check(json[key].is_null() != readable);
    check(!readable || json[key].get<int>() >= 0);
  }
  for (const auto& [kind, allowed] : json["kinds"].items()) {
    check(allowed.get<bool>() != json["whyNot"].contains(kind));
  }
  check(!json.dump().empty());
  return 0;
}
