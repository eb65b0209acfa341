#include "gamedata/area_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/catalogue_builder.h"
#include "support/scoped_test_env.h"

namespace ws::gamedata {
namespace {

std::vector<std::string> numberedNames() {
  std::vector<std::string> names;
  for (int i = 0; i < kCatalogueEntryCount; ++i)
    names.push_back("AREA" + std::to_string(i));
  return names;
}

TEST(AreaCatalogue, EmptyFirstFieldKeepsLaterPositions) {
  const std::vector<std::string> names{"", "\x8e\x6e\x82\xdc\x82\xe8", "", "Town"};
  const auto catalogue = parseAreaCatalogue(demo::buildCatalogueFile(names));
  ASSERT_EQ(catalogue.size(), 200u);
  EXPECT_EQ(catalogue[0], "");
  EXPECT_EQ(catalogue[1], "\x8e\x6e\x82\xdc\x82\xe8");
  EXPECT_EQ(catalogue[2], "");
  EXPECT_EQ(catalogue[3], "Town");
  EXPECT_EQ(catalogue[4], "");
  EXPECT_EQ(catalogue[199], "");
}

TEST(AreaCatalogue, NameFieldLengths) {
  struct Case {
    std::string written;
    std::string read;
  };
  const std::vector<Case> cases{
      {"ThirteenBytes", "ThirteenBytes"},    // the longest proper name
      {"FourteenBytes!", "FourteenBytes!"},  // no NUL: the whole field, nothing beyond it
      {"A name far too long for the field", "A name far too"},
      {"\x95\x5c\x82\xcc\x91\x90\x8c\xb4", "\x95\x5c\x82\xcc\x91\x90\x8c\xb4"},  // 表の草原
  };
  for (const auto& c : cases) {
    const std::vector<std::string> names{c.written, "Next"};
    const auto catalogue = parseAreaCatalogue(demo::buildCatalogueFile(names));
    EXPECT_EQ(catalogue[0], c.read) << c.written;
    EXPECT_EQ(catalogue[1], "Next") << c.written;
  }
}

TEST(AreaCatalogue, ShortFileGivesEmptyNamesForFieldsItDoesNotHoldInFull) {
  const auto names = numberedNames();
  struct Case {
    std::size_t length;
    int fullNames;  // entries 0..fullNames-1 keep their names
  };
  const std::vector<Case> cases{
      {0, 0},      {24, 0}, {38, 0},                            // the first field ends at byte 39
      {39, 1},     {60, 1}, {61, 2}, {4416, 199}, {4417, 200},  // the complete catalogue
      {4418, 200},
  };
  for (const auto& c : cases) {
    const auto catalogue = parseAreaCatalogue(demo::buildShortCatalogueFile(names, c.length));
    ASSERT_EQ(catalogue.size(), 200u) << c.length;
    for (int i = 0; i < kCatalogueEntryCount; ++i) {
      const auto& name = catalogue[static_cast<std::size_t>(i)];
      if (i < c.fullNames) {
        EXPECT_EQ(name, names[static_cast<std::size_t>(i)]) << c.length << " entry " << i;
      } else {
        EXPECT_EQ(name, "") << c.length << " entry " << i;
      }
    }
  }
}

TEST(AreaCatalogue, LoadReadsTheFileAndRefusesAMissingOne) {
  const platform::testing::TempFolder temp("catalogue");
  const auto& folder = temp.path();
  const auto path = folder / "Mif_area.bin";
  const auto bytes = demo::buildCatalogueFile(numberedNames());
  {
    std::ofstream out(path, std::ios::binary);
    ASSERT_TRUE(out.good());
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  const auto catalogue = LoadAreaCatalogue(path);
  ASSERT_TRUE(catalogue.ok());
  EXPECT_EQ(*catalogue, numberedNames());
  EXPECT_FALSE(LoadAreaCatalogue(folder / "absent.bin").ok());
}

}  // namespace
}  // namespace ws::gamedata
