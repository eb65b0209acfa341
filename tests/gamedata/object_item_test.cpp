#include "gamedata/object_item.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/text.h"

namespace ws::gamedata {
namespace {

TEST(ObjectItem, DungeonItemOfTheWorkedExample) {
  // 洞窟( 0021,0010)03: a dungeon at half-cell x 33, row 16, object number 3.
  EXPECT_EQ(formatObjectItem(ObjectItemKind::Dungeon, {3, 33, 16}),
            "\x93\xB4\x8C\x41(0021,0010)03");
}

TEST(ObjectItem, JapanesePrefixesAreTheirCp932Bytes) {
  struct Case {
    ObjectItemKind kind;
    const char* utf8Prefix;
  };
  const std::vector<Case> cases{{ObjectItemKind::Dungeon, "洞窟("},
                                {ObjectItemKind::House, "民家("}};
  for (const auto& c : cases) {
    const auto prefix = platform::utf8ToCp932(c.utf8Prefix);
    ASSERT_TRUE(prefix.has_value());
    ASSERT_EQ(prefix->size(), 5u);
    EXPECT_EQ(formatObjectItem(c.kind, {0, 0, 0}).substr(0, 5), *prefix) << c.utf8Prefix;
  }
}

TEST(ObjectItem, EveryKindHasItsLayout) {
  const AreaObjectRef object{10, 0xAB, 0x1F};
  struct Case {
    ObjectItemKind kind;
    std::string text;
  };
  const std::vector<Case> cases{
      {ObjectItemKind::Dungeon, "\x93\xB4\x8C\x41(00AB,001F)0A"},
      {ObjectItemKind::House, "\x96\xAF\x89\xC6(00AB,001F)0A"},
      {ObjectItemKind::Church, "chur(00AB,001F"},
      {ObjectItemKind::Tower, "towe(00AB,001F"},
      {ObjectItemKind::LinkGate, "link(00AB,001F"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatObjectItem(c.kind, object), c.text);
}

TEST(ObjectItem, HexadecimalWidthsAndNegativeValues) {
  struct Case {
    std::int32_t value;
    int digits;
    std::string text;
  };
  const std::vector<Case> cases{
      {0, 4, "0000"},      {33, 4, "0021"},
      {0xBEEF, 4, "BEEF"}, {0x12345, 4, "12345"},
      {3, 2, "03"},        {255, 2, "FF"},
      {256, 2, "100"},     {-1, 4, "FFFFFFFF"},
      {-6, 2, "FFFFFFFA"}, {INT32_MIN, 4, "80000000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatHex(c.value, c.digits), c.text) << c.value;
}

TEST(ObjectItem, NegativePositionsTakeEightDigits) {
  EXPECT_EQ(formatObjectItem(ObjectItemKind::House, {1, -2, 4}).substr(5), "FFFFFFFE,0004)01");
}

}  // namespace
}  // namespace ws::gamedata
