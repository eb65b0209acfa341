// The one entry point of worldsmith-cli: exit statuses and where the output
// goes, also when parsing fails.

#include "cli/run_cli.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

TEST(RunCli, ExitStatusesAndOutputGoToTheGivenStreams) {
  const platform::testing::TempFolder folder("run-cli");
  const std::string missing = (folder.path() / "missing.dat").string();
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    const char* inOut;  // a piece of what stdout shows
    const char* inErr;  // a piece of what stderr shows
  };
  const Case cases[] = {
      {{"worldsmith-cli", "--help"}, kExitSuccess, "Usage", ""},
      {{"worldsmith-cli", "info", missing}, kExitBadInput, "", "missing.dat"},
      {{"worldsmith-cli", "no-such-command"}, kExitUsage, "", "\"no-such-command\" is no command"},
      {{"worldsmith-cli", "catalog"}, kExitUsage, "", "did you mean \"catalogue\"?"},
      {{"worldsmith-cli", "objects", "3", "--jsn"}, kExitUsage, "", "did you mean \"--json\"?"},
      {{"worldsmith-cli", "info", "x", "--game-dri", "d"}, kExitUsage, "", "\"--game-dir\"?"},
      {{"worldsmith-cli", "-v"}, kExitSuccess, "worldsmith-cli ", ""},
      {{"worldsmith-cli", "render", "--help"}, kExitSuccess, "--game-dir", ""},
      {{"worldsmith-cli"}, kExitUsage, "", "A subcommand is required"},
      {{"worldsmith-cli", "info"}, kExitUsage, "", "SAVE"},
  };
  std::streambuf* const coutBefore = std::cout.rdbuf();
  std::streambuf* const cerrBefore = std::cerr.rdbuf();
  for (const Case& c : cases) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli(c.arguments, out, err), c.exitCode) << c.arguments.back();
    EXPECT_NE(out.str().find(c.inOut), std::string::npos) << out.str();
    EXPECT_NE(err.str().find(c.inErr), std::string::npos) << err.str();
    // The standard streams are the process's own again, whatever happened.
    EXPECT_EQ(std::cout.rdbuf(), coutBefore);
    EXPECT_EQ(std::cerr.rdbuf(), cerrBefore);
  }
}

}  // namespace
}  // namespace ws::cli
