#include "platform/state_folder.h"

#include <gtest/gtest.h>

#include "support/scoped_test_env.h"

namespace ws::platform {
namespace {

#ifndef _WIN32
TEST(StateFolder, FollowsXdgStateHomeAndFallsBackToTheHomeFolder) {
  struct Case {
    std::optional<std::string> stateHome;
    std::optional<std::string> home;
    std::optional<std::filesystem::path> expected;
  };
  const std::vector<Case> cases{
      {"/s/state", "/h/user", "/s/state/worldsmith"},
      {std::nullopt, "/h/user", "/h/user/.local/state/worldsmith"},
      {"", "/h/user", "/h/user/.local/state/worldsmith"},
      {"relative/state", "/h/user", "/h/user/.local/state/worldsmith"},
      {std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const testing::ScopedEnv state("XDG_STATE_HOME", c.stateHome);
    const testing::ScopedEnv home("HOME", c.home);
    EXPECT_EQ(userStateFolder(), c.expected) << c.stateHome.value_or("(unset)");
  }
  EXPECT_EQ(backupFolderOf("/s/state/worldsmith"), "/s/state/worldsmith/backups");
}
#endif

}  // namespace
}  // namespace ws::platform
