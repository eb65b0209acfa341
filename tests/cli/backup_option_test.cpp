// Outputs that replace a save file keep it in the backup folder first.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "codec/save_container.h"
#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

namespace fs = std::filesystem;
using codec::Bytes;

void writePlain(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Bytes> backupsIn(const fs::path& folder) {
  std::vector<Bytes> kept;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    kept.push_back(contentOf(entry.path()));
  return kept;
}

TEST(BackupOption, OutputsOverASaveKeepItUnlessToldNotTo) {
  const Bytes body(300, 7);
  const Bytes oldSave = codec::encodeSaveFile(Bytes(200, 1));
  struct Case {
    const char* name;
    std::vector<std::string> args;  // "@" stands for the work folder
    bool blockFolder;
    int exitCode;
    bool kept;
  };
  const std::vector<Case> cases{
      {"pack", {"pack", "@/body", "@/out.dat"}, false, kExitSuccess, true},
      {"pack --no-backup",
       {"pack", "@/body", "@/out.dat", "--no-backup"},
       false,
       kExitSuccess,
       false},
      {"--no-backup first",
       {"--no-backup", "pack", "@/body", "@/out.dat"},
       false,
       kExitSuccess,
       false},
      {"unpack", {"unpack", "@/old.dat", "@/out.dat"}, false, kExitSuccess, true},
      {"backup folder blocked", {"pack", "@/body", "@/out.dat"}, true, kExitBadInput, false},
  };
  for (const Case& c : cases) {
    const platform::testing::TempFolder work("cli-backup");
    const platform::testing::TempFolder state("cli-state");
    const platform::testing::ScopedEnv stateHome("XDG_STATE_HOME", state.path().string());
#ifdef _WIN32
    const platform::testing::ScopedEnv localAppData("LOCALAPPDATA", state.path().string());
#endif
    const fs::path backups = state.path() / "worldsmith" / "backups";
    if (c.blockFolder) {
      fs::create_directories(backups.parent_path());
      writePlain(backups, {1});
    }
    writePlain(work.path() / "body", body);
    writePlain(work.path() / "old.dat", codec::encodeSaveFile(body));
    writePlain(work.path() / "out.dat", oldSave);
    std::vector<std::string> args;
    for (const std::string& arg : c.args)
      args.push_back(arg.starts_with("@") ? work.path().string() + arg.substr(1) : arg);
    const Outcome outcome = runCommandLine(args);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name << ": " << outcome.err;
    EXPECT_EQ(backupsIn(backups), c.kept ? std::vector<Bytes>{oldSave} : std::vector<Bytes>{})
        << c.name;
    const Bytes expected = c.exitCode != kExitSuccess   ? oldSave
                           : c.args.front() == "unpack" ? body
                                                        : codec::encodeSaveFile(body);
    EXPECT_EQ(contentOf(work.path() / "out.dat"), expected) << c.name;
  }
}

}  // namespace
}  // namespace ws::cli
