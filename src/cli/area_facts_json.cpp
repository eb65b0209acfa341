#include "cli/area_facts_json.h"

#include <array>
#include <string_view>
#include <utility>

#include "cli/world_description.h"

namespace ws::cli {

namespace {

using json = nlohmann::ordered_json;
using gamedata::AreaFileStatus;
using gamedata::KindRefusal;

std::string_view statusName(AreaFileStatus status) {
  switch (status) {
    case AreaFileStatus::Readable:
      return "ok";
    case AreaFileStatus::EmptyName:
      return "empty-name";
    case AreaFileStatus::Missing:
      return "missing";
    case AreaFileStatus::Refused:
      return "refused";
  }
  return "missing";
}

std::string_view refusalText(KindRefusal refusal) {
  switch (refusal) {
    case KindRefusal::None:
      return "";
    case KindRefusal::NoLinkGate:
      return "no link gate object";
    case KindRefusal::NoDungeon:
      return "no dungeon to choose";
    case KindRefusal::NoChurch:
      return "no church";
    case KindRefusal::TooFewHouses:
      return "fewer than 3 houses";
    case KindRefusal::NoChurchOrHouses:
      return "no church and fewer than 3 houses";
    case KindRefusal::Unreadable:
      break;
  }
  return "no readable map file";
}

}  // namespace

json areaFactsJson(const gamedata::AreaFacts& facts) {
  const bool readable = facts.status == AreaFileStatus::Readable;
  auto number = [&](int value) { return readable ? json(value) : json(nullptr); };
  auto flag = [&](bool value) { return readable ? json(value) : json(nullptr); };
  const std::array<std::pair<std::string_view, KindRefusal>, 3> kinds{
      {{kindName(world::AreaKind::LinkGate), facts.linkGateRefusal},
       {kindName(world::AreaKind::Field), facts.fieldRefusal},
       {kindName(world::AreaKind::Town), facts.townRefusal}}};
  json canTake = json::object();
  json whyNot = json::object();
  for (const auto& [kind, refusal] : kinds) {
    canTake[kind] = refusal == KindRefusal::None;
    if (refusal != KindRefusal::None) whyNot[kind] = refusalText(refusal);
  }
  return json{{"status", statusName(facts.status)},
              {"width", number(facts.width)},
              {"height", number(facts.height)},
              {"dungeons", number(facts.dungeons)},
              {"houses", number(facts.houses)},
              {"church", flag(facts.church)},
              {"tower", flag(facts.tower)},
              {"linkGate", flag(facts.linkGate)},
              {"townsfolkSpots", number(facts.townsfolkSpots)},
              {"kinds", canTake},
              {"whyNot", whyNot}};
}

}  // namespace ws::cli
