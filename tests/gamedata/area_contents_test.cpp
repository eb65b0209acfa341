#include "gamedata/area_contents.h"

#include <gtest/gtest.h>

#include <vector>

namespace ws::gamedata {
namespace {

TEST(RefusedKinds, EachKindNamesWhatTheAreaLacks) {
  const AreaObjectRef object{1, 10, 10};
  const std::vector<AreaObjectRef> none;
  const std::vector<AreaObjectRef> one{object};
  const std::vector<AreaObjectRef> two{object, object};
  const std::vector<AreaObjectRef> three{object, object, object};
  struct Case {
    const char* name;
    std::vector<AreaObjectRef> dungeons;
    std::vector<AreaObjectRef> houses;
    bool church;
    bool linkGate;
    KindRefusal linkGateRefusal;
    KindRefusal townRefusal;
  };
  using enum KindRefusal;
  const std::vector<Case> cases{
      {"link gate with a dungeon", one, none, false, true, None, NoChurchOrHouses},
      {"link gate without a dungeon", none, none, false, true, NoDungeon, NoChurchOrHouses},
      {"dungeons without a link gate", two, none, false, false, NoLinkGate, NoChurchOrHouses},
      {"church and three houses", none, three, true, false, NoLinkGate, None},
      {"church and two houses", none, two, true, false, NoLinkGate, TooFewHouses},
      {"three houses without a church", none, three, false, false, NoLinkGate, NoChurch},
      {"two houses without a church", none, two, false, false, NoLinkGate, NoChurchOrHouses},
      {"nothing at all", none, none, false, false, NoLinkGate, NoChurchOrHouses},
  };
  for (const Case& c : cases) {
    AreaContents contents;
    contents.dungeons = c.dungeons;
    contents.houses = c.houses;
    if (c.church) contents.church = object;
    if (c.linkGate) contents.linkGate = object;
    const KindRefusals kinds = RefusedKinds(contents);
    EXPECT_EQ(kinds.linkGate, c.linkGateRefusal) << c.name;
    EXPECT_EQ(kinds.field, None) << c.name;  // a field takes any area
    EXPECT_EQ(kinds.town, c.townRefusal) << c.name;
  }
}

}  // namespace
}  // namespace ws::gamedata
