#include "world/world_messages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace ws::world {
namespace {

TEST(WorldMessages, EveryMessageIsItsJapaneseTextInCp932) {
  const std::vector<std::pair<std::string_view, const char*>> messages{
      {kNoLinkGateMessage, "リンクゲートがありません"},
      {kTownNeedsThreeHousesMessage, "町は最低3つの建物が必要です"},
      {kLinkGateNeedsDungeonMessage, "リンクゲートエリアは最低１つのダンジョンが必要です"},
      {kAtMostFourDungeonsMessage, "ダンジョンは４つまでです！"},
      {kAtMostFourAreasMessage, "マップパーツは４つまでです！"},
      {kLinkGateObjectMissingMessage, "リンクゲートエリアにはリンクゲートが必要です"},
      {kTownChurchMissingMessage, "町エリアには教会が必要です"},
      {kFileNotFoundSuffix, "が見つかりません"},
      {kFileUnreadableSuffix, "を読み込めません"},
  };
  for (const auto& [cp932, utf8] : messages) {
    const auto converted = platform::utf8ToCp932(utf8);
    ASSERT_TRUE(converted.has_value()) << utf8;
    EXPECT_EQ(*converted, cp932) << utf8;
  }
}

TEST(WorldMessages, AreaMapFileMessageNamesTheFileOnItsOwnLine) {
  const std::string message = fileNotReadMessage("/no/such/folder/area");
  EXPECT_EQ(message.substr(0, message.find('\n')), "/no/such/folder/area");
  EXPECT_EQ(message.substr(message.find('\n') + 1), kFileNotFoundSuffix);
}

}  // namespace
}  // namespace ws::world
