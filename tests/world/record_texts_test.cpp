#include "world/record_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace ws::world {
namespace {

TEST(RecordTexts, EveryTextIsTheCp932FormOfItsJapanese) {
  const std::pair<std::string_view, const char*> cases[] = {
      {kTextGuard, "護衛"},
      {kTextTempleGuard, "神殿の護衛"},
      {kTextTownGuard, "町の護衛"},
      {kTextPriest, "神官"},
      {kTextWeaponShop, "武器屋"},
      {kTextTavern, "酒場"},
      {kTextInformationBroker, "情報屋"},
      {kTextSynthesisShop, "合成屋"},
      {kTextCleric, "司祭"},
      {kTextFairy, "妖精"},
      {kTextBlacksmith, "鍛冶屋"},
      {kTextPossessive, "の"},
  };
  for (const auto& [stored, japanese] : cases) {
    const auto converted = platform::utf8ToCp932(japanese);
    ASSERT_TRUE(converted.has_value()) << japanese;
    EXPECT_EQ(*converted, stored) << japanese;
  }
}

TEST(RecordTexts, StoreCutsALongTextSoItsNulStaysInTheField) {
  std::vector<std::uint8_t> record(8, 0xEE);
  storeRecordText(record, 1, 4, "abcdef");
  EXPECT_EQ(record, (std::vector<std::uint8_t>{0xEE, 'a', 'b', 'c', 0, 0xEE, 0xEE, 0xEE}));
  storeRecordText(record, 5, 3, "xy");
  EXPECT_EQ(record, (std::vector<std::uint8_t>{0xEE, 'a', 'b', 'c', 0, 'x', 'y', 0}));
}

}  // namespace
}  // namespace ws::world
