#include <gtest/gtest.h>

#include <string>

#include "codec/save_container.h"
#include "platform/little_endian.h"
#include "world/save_body_layout.h"
#include "world/world_fixture.h"

namespace ws::world {
namespace {

using testing::demoMapSource;
using testing::firstChecked;
using testing::place;

constexpr std::size_t kLinkGateSection = 98 + 56;  // of a two-area world

std::vector<std::uint8_t> build(AreaSlotTable& slots) {
  auto body = BuildSaveBody(slots, "\x83\x65\x83\x58\x83\x67", testing::demoSpots());
  EXPECT_TRUE(body.ok());
  return body.ok() ? *body : std::vector<std::uint8_t>{};
}

// Link gate "星降る門" with its dungeon, and a second area.
std::vector<std::uint8_t> twoAreaBody(int area, AreaKind kind, std::vector<bool> checked,
                                      AreaSlotTable* slotsOut = nullptr) {
  AreaSlotTable slots;
  EXPECT_TRUE(place(slots, 1, AreaKind::LinkGate, 0, 0, firstChecked(1)).ok());
  EXPECT_TRUE(place(slots, area, kind, 128, 64, std::move(checked)).ok());
  auto body = build(slots);
  if (slotsOut) *slotsOut = slots;
  return body;
}

TEST(ParseSaveBody, CornersAreHalvedTowardZero) {
  auto body = twoAreaBody(8, AreaKind::Field, {});
  struct Case {
    std::int32_t left, top, right, bottom;
    std::int32_t x, y, width, height;
  };
  // Corners that leave the map are refused; their halving shows in the
  // refusals' details (RejectsBodiesThatBreakTheLayout).
  const std::vector<Case> cases{
      {64, 0, 320, 128, 32, 0, 128, 64},
      {0, 2, 5, 35, 0, 1, 2, 16},
  };
  for (const Case& c : cases) {
    platform::storeI32(body, 98 + 8, c.left);
    platform::storeI32(body, 98 + 12, c.top);
    platform::storeI32(body, 98 + 16, c.right);
    platform::storeI32(body, 98 + 20, c.bottom);
    auto parsed = ParseSaveBody(body);
    ASSERT_TRUE(parsed.ok());
    const LoadedArea& area = parsed->areas[0];
    EXPECT_EQ(area.x, c.x);
    EXPECT_EQ(area.y, c.y);
    EXPECT_EQ(area.width, c.width);
    EXPECT_EQ(area.height, c.height);
  }
}

TEST(ParseSaveBody, RejectsBodiesThatBreakTheLayout) {
  const auto good = twoAreaBody(18, AreaKind::Town, firstChecked(3));
  ASSERT_TRUE(ParseSaveBody(good).ok());
  const std::size_t townSection = kLinkGateSection + 8277;
  const std::size_t townsfolkCount = townSection + 72 + 904 + 46;
  const std::size_t guardCount = townsfolkCount + 4 + 9 * 3390 + 14 + 32;
  struct Write {
    std::size_t offset;
    std::uint32_t value;
    int width;  // bytes written
  };
  struct Case {
    const char* name;
    std::vector<Write> writes;
    std::string detail;  // the check that fails, and where the walk stood
  };
  // The link gate (entry 1, 96 x 48) stands at 0, 0, the town (entry 18,
  // 64 x 48) at 128, 64; their corners are stored doubled.
  const auto corners = [](std::size_t area, std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom) {
    const std::size_t at = 98 + 28 * area + 8;
    return std::vector<Write>{{at, static_cast<std::uint32_t>(left), 4},
                              {at + 4, static_cast<std::uint32_t>(top), 4},
                              {at + 8, static_cast<std::uint32_t>(right), 4},
                              {at + 12, static_cast<std::uint32_t>(bottom), 4}};
  };
  const std::string end = " run past the end of the body (44749 bytes)";
  const std::string map = " does not fit the 512 x 256 world map";
  const std::vector<Case> cases{
      {"no areas", {{97, 0, 1}}, "the area count at offset 97 is 0, not 1 to 4"},
      {"five areas", {{97, 5, 1}}, "the area count at offset 97 is 5, not 1 to 4"},
      {"kind byte 3",
       {{98 + 24, 3, 1}},
       "the kind byte of area 0 at offset 122 is 3, not 1, 2 or 4"},
      {"kind byte 0",
       {{98 + 28 + 24, 0, 1}},
       "the kind byte of area 1 at offset 150 is 0, not 1, 2 or 4"},
      {"area past the right edge", corners(1, 256, 128, 1200, 224),
       "area 1 (entry 18, 472 x 48 at 128, 64)" + map},
      {"area past the bottom edge", corners(1, 256, 420, 384, 516),
       "area 1 (entry 18, 64 x 48 at 128, 210)" + map},
      // Corners and spans are halved toward zero.
      {"area above and left of the map", corners(0, -3, -3, 5, 1),
       "area 0 (entry 1, 4 x 2 at -1, -1)" + map},
      {"area without a size", corners(0, INT32_MIN, 0, INT32_MAX, 0),
       "area 0 (entry 1, 2147483647 x 0 at -1073741824, 0) has no size on the world map"},
      {"areas overlapping", corners(1, 128, 64, 256, 224),
       "area 1 (entry 18, 64 x 80 at 64, 32) overlaps area 0 (entry 1, 96 x 48 at 0, 0)"},
      // 255 houses still fit; the walk loses its step at the map parts.
      {"buildings past the end",
       {{townSection, 255, 1}},
       "100 map parts in map part block 1 of area 1 at offset 31769" + end},
      {"map part count past the end",
       {{kLinkGateSection + 4 + 18 + 14, 255, 1}},
       "1684300900 townsfolk records at offset 21581" + end},
      {"entries past the end",
       {{townSection + 1 + 60 + 1 + 8 + 0, 200, 1}},
       "100 map parts in map part block 2 of area 1 at offset 34978" + end},
      {"town records past the end", {{74, 60, 1}}, "60 town records at offset 8503" + end},
      {"townsfolk past the end",
       {{townsfolkCount, 14, 4}},
       "14 townsfolk records at offset 9457" + end},
      {"guards past the end",
       {{guardCount, 0xFFFFFFFF, 4}},
       "4294967295 guard records at offset 40017" + end},
  };
  ASSERT_EQ(good.size(), 44749u);
  for (const Case& c : cases) {
    auto bad = good;
    for (const Write& w : c.writes) {
      if (w.width == 1) {
        platform::storeU8(bad, w.offset, w.value);
      } else {
        platform::storeU32(bad, w.offset, w.value);
      }
    }
    const auto parsed = ParseSaveBody(bad);
    ASSERT_FALSE(parsed.ok()) << c.name;
    EXPECT_EQ(parsed.error().message, codec::kNotASaveFileText);
    EXPECT_EQ(parsed.error().detail, c.detail) << c.name;
  }
}

TEST(ParseSaveBody, RejectsEveryCutBeforeTheLastRecordEnds) {
  const auto good = twoAreaBody(18, AreaKind::Town, firstChecked(3));
  const std::size_t contentEnd = good.size() - 356;
  for (std::size_t cut = 0; cut < contentEnd; cut += 131) {
    EXPECT_FALSE(ParseSaveBody(std::span(good).first(cut)).ok()) << cut;
  }
  EXPECT_FALSE(ParseSaveBody(std::span(good).first(contentEnd - 1)).ok());
  EXPECT_EQ(ParseSaveBody(std::span(good).first(40)).error().detail,
            "the body is 40 bytes, shorter than its 98-byte header");
  // The zeros after the last record carry nothing.
  EXPECT_TRUE(ParseSaveBody(std::span(good).first(contentEnd)).ok());
}

TEST(ParseSaveBody, MapPartBlocksAreSteppedOverByTheirPartCount) {
  auto body = twoAreaBody(6, AreaKind::Field, firstChecked(2));
  // Give the link gate's block a second part.
  const std::size_t block = kLinkGateSection + 4 + 18 + 14;
  ASSERT_EQ(body[block], 1);
  body[block] = 2;
  body.insert(body.begin() + static_cast<std::ptrdiff_t>(block + 1 + 48), 48, std::uint8_t{7});
  auto parsed = ParseSaveBody(body);
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed->areas[1].objectIds.size(), 2u);
  EXPECT_EQ(parsed->guardCount, 2u);
}

TEST(ParseSaveBody, NamedErrorIsTheNotASaveFileMessage) {
  const std::vector<std::uint8_t> junk(120, 0);
  auto parsed = ParseSaveBody(junk, "RVTSV1.dat");
  ASSERT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.error().message, codec::notASaveFileMessage("RVTSV1.dat"));
}

TEST(RestoreAreaSlots, MissingChurchOrGateRecordTakesTheMapsFirstObject) {
  AreaSlotTable slots;
  auto body = twoAreaBody(18, AreaKind::Town, firstChecked(3), &slots);
  // Drop the gate record (link gate) and the church record (town).
  const std::size_t gateCount = kLinkGateSection + 3 + 18;
  const std::size_t churchCount = kLinkGateSection + 8277 - 14 + 1 + 60;
  ASSERT_EQ(body[gateCount], 1);
  ASSERT_EQ(body[churchCount + 14], 1);
  body[churchCount + 14] = 0;
  body.erase(body.begin() + static_cast<std::ptrdiff_t>(churchCount + 15),
             body.begin() + static_cast<std::ptrdiff_t>(churchCount + 23));
  body[gateCount] = 0;
  body.erase(body.begin() + static_cast<std::ptrdiff_t>(gateCount + 1),
             body.begin() + static_cast<std::ptrdiff_t>(gateCount + 15));
  auto parsed = ParseSaveBody(body);
  ASSERT_TRUE(parsed.ok());
  EXPECT_FALSE(parsed->areas[0].specialId.has_value());
  EXPECT_FALSE(parsed->areas[1].specialId.has_value());
  auto restored = RestoreAreaSlots(*parsed, demoMapSource());
  ASSERT_TRUE(restored.ok());
  EXPECT_EQ((*restored)[0].specialId, slots[0].specialId);
  EXPECT_EQ((*restored)[1].specialId, slots[1].specialId);
  EXPECT_EQ((*restored)[1].specialX, slots[1].specialX);
}

TEST(RestoreAreaSlots, UnreadableMapFileRejectsTheLoad) {
  const auto body = twoAreaBody(18, AreaKind::Town, firstChecked(3));
  auto parsed = ParseSaveBody(body);
  ASSERT_TRUE(parsed.ok());
  const AreaMapSource failing = [](int areaNumber) -> Result<gamedata::AreaMapFile> {
    if (areaNumber == 18) return Error{"town file"};
    return testing::demoMap(areaNumber);
  };
  auto restored = RestoreAreaSlots(*parsed, failing);
  ASSERT_FALSE(restored.ok());
  EXPECT_EQ(restored.error().message, "town file");
}

}  // namespace
}  // namespace ws::world
