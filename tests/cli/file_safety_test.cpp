// What worldsmith-cli reads, what it writes, and what it says when it
// cannot: no input makes it wait or take more than its format's ceiling,
// no output replaces anything but the file being written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "codec/codec_header.h"
#include "codec/huffman_encoder.h"
#include "codec/save_container.h"
#include "demo/catalogue_builder.h"
#include "demo/demo_game.h"
#include "gamedata/area_catalogue.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "support/file_reading.h"
#include "support/scoped_test_env.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#endif

namespace ws::cli {
namespace {

namespace fs = std::filesystem;
using codec::Bytes;

const std::string kWorld =
    R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]}]})";

struct Case {
  const char* name;
  std::vector<std::string> args;  // "@x" is file x in the test folder
  std::string message;            // part of stderr, "@x" replaced likewise
  std::string world = {};         // written to w.json first
};

std::string expand(const std::string& text, const fs::path& folder) {
  const auto mark = text.find('@');
  if (mark == std::string::npos) return text;
  const auto end = text.find_first_of(" :\n", mark);
  const std::string name = text.substr(mark + 1, end == std::string::npos ? end : end - mark - 1);
  return text.substr(0, mark) + (folder / name).string() +
         (end == std::string::npos ? "" : text.substr(end));
}

class FileSafety : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = platform::testing::uniqueTestFolder("cli-file-safety");
    ASSERT_TRUE(demo::makeDemoGame(folder_ / "game").ok());
    text("world.json", kWorld);
    ASSERT_EQ(run({"build", at("world.json"), "-o", at("good.sav")}).exitCode, kExitSuccess);
    ASSERT_EQ(run({"unpack", at("good.sav"), at("good.body")}).exitCode, kExitSuccess);
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static Outcome run(std::vector<std::string> args) {
    return runCommandLine(std::move(args), folder_ / "game");
  }
  static std::string at(const std::string& name) { return (folder_ / name).string(); }
  // Runs the case's command: it must fail with its message and write nothing.
  static void expectRefused(const Case& c) {
    std::vector<std::string> args;
    for (const auto& arg : c.args)
      args.push_back(arg[0] == '@' ? at(arg.substr(1)) : arg);
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.exitCode, kExitBadInput);
    EXPECT_NE(outcome.err.find(expand(c.message, folder_)), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(folder_ / "out"));
  }
  static std::string text(const std::string& name, const std::string& content) {
    std::ofstream(folder_ / name, std::ios::binary) << content;
    return at(name);
  }
  static Bytes bytesOf(const std::string& name) {
    return platform::testing::readWholeFile(folder_ / name).value_or(Bytes{});
  }

  static inline fs::path folder_;
};

TEST_F(FileSafety, InputsThatAreNoFilesOrTooLargeAreRefusedNamingThem) {
  // A save file whose stream claims a 200 MB body: more than any world, and
  // refused before the body is allocated. Its data section grows to match
  // (sparse: it takes no room on disk).
  Bytes claimsTooMuch = codec::encodeSaveFile(Bytes(300, 7));
  std::uint8_t* stream = claimsTooMuch.data() + codec::kSaveHeaderSize;
  const std::int64_t oldData =
      codec::sectionSize(codec::readInt32(stream + codec::kDataBitsOffset));
  const std::int64_t codeSize = codec::readInt32(stream + codec::kStoredSizeOffset) -
                                static_cast<std::int64_t>(codec::kCodeSectionOffset) - oldData;
  constexpr std::int32_t kClaimed = 200'000'000;
  const std::int64_t storedSize = static_cast<std::int64_t>(codec::kCodeSectionOffset) + codeSize +
                                  codec::sectionSize(kClaimed);
  codec::writeInt32(stream + codec::kStoredSizeOffset, static_cast<std::int32_t>(storedSize));
  codec::writeInt32(stream + codec::kOriginalSizeOffset, kClaimed);
  codec::writeInt32(stream + codec::kOriginalSizeCopyOffset, kClaimed);
  codec::writeInt32(stream + codec::kDataBitsOffset, kClaimed);
  ASSERT_TRUE(platform::writeFileAtomic(folder_ / "huge.sav", claimsTooMuch).ok());
  fs::resize_file(folder_ / "huge.sav",
                  codec::kSaveHeaderSize + static_cast<std::uintmax_t>(storedSize));
  fs::create_directory(folder_ / "folder.sav");

  std::vector<Case> cases = {
      {"InfoOfAFolder", {"info", "@folder.sav"}, "@folder.sav: cannot read (is a folder)"},
      {"UnpackOfAFolder",
       {"unpack", "@folder.sav", "@out"},
       "@folder.sav: cannot read (is a folder)"},
      {"InfoOfAHugeBody", {"info", "@huge.sav"}, "@huge.sav: error in decord"},
      {"UnpackOfAHugeBody", {"unpack", "@huge.sav", "@out"}, "@huge.sav: error in decord"},
  };
#ifndef _WIN32
  ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", folder_ / "zero");
  fs::create_symlink(folder_ / "loop2", folder_ / "loop1");
  fs::create_symlink(folder_ / "loop1", folder_ / "loop2");
  const std::string fifo = "@fifo: cannot read (is not a regular file)";
  const std::string zero = "@zero: cannot read (is not a regular file)";
  cases.insert(cases.end(), {
                                {"InfoOfAFifo", {"info", "@fifo"}, fifo},
                                {"UnpackOfAFifo", {"unpack", "@fifo", "@out"}, fifo},
                                {"EncodeOfAFifo", {"encode", "@fifo", "@out"}, fifo},
                                {"DecodeOfAFifo", {"decode", "@fifo", "@out"}, fifo},
                                {"PackOfAFifo", {"pack", "@fifo", "@out"}, fifo},
                                {"BuildOfAFifo", {"build", "@fifo", "-o", "@out"}, fifo},
                                {"InfoOfDevZero", {"info", "@zero"}, zero},
                                {"EncodeOfDevZero", {"encode", "@zero", "@out"}, zero},
                                {"BuildOfDevZero", {"build", "@zero", "-o", "@out"}, zero},
                                {"InfoOfALinkLoop", {"info", "@loop1"}, "@loop1: cannot read ("},
                            });
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused(c);
  }
}

TEST_F(FileSafety, GameFilesThatAreNoFilesAreRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs and /dev/zero are POSIX";
#else
  // A game whose catalogue is a FIFO, and one whose area file is /dev/zero.
  ASSERT_TRUE(demo::makeDemoGame(folder_ / "fifo-game").ok());
  const fs::path catalogue = folder_ / "fifo-game" / "res" / "Mif_area.bin";
  fs::remove(catalogue);
  ASSERT_EQ(mkfifo(catalogue.c_str(), 0600), 0);
  const Outcome listed = runCommandLine({"catalogue"}, folder_ / "fifo-game");
  EXPECT_EQ(listed.exitCode, kExitBadInput);
  EXPECT_NE(listed.err.find("is not a regular file"), std::string::npos) << listed.err;

  ASSERT_TRUE(demo::makeDemoGame(folder_ / "zero-game").ok());
  const fs::path area = folder_ / "zero-game" / "data" / "map" / "mif" / "area" / u8"星降る門";
  fs::remove(area);
  fs::create_symlink("/dev/zero", area);
  const Outcome shown = runCommandLine({"objects", "1"}, folder_ / "zero-game");
  EXPECT_EQ(shown.exitCode, kExitBadInput);
  EXPECT_NE(shown.err.find("is not a regular file"), std::string::npos) << shown.err;
#endif
}

TEST_F(FileSafety, AreaNamesThatLeaveTheAreaFolderAreMissing) {
  // Entry 0 names a valid area file one folder up; entry 1 keeps "ソ" (83 5C).
  ASSERT_TRUE(demo::makeDemoGame(folder_ / "escape-game").ok());
  const fs::path areaFolder = folder_ / "escape-game" / "data" / "map" / "mif" / "area";
  fs::copy_file(areaFolder / u8"星降る門", areaFolder.parent_path() / "x");
  const std::vector<std::string> names{"../x", platform::utf8ToCp932("ソラの門").value()};
  const Bytes catalogue = demo::buildCatalogueFile(names);
  ASSERT_TRUE(
      platform::writeFileAtomic(folder_ / "escape-game" / "res" / "Mif_area.bin", catalogue).ok());
  const Outcome escaped = runCommandLine({"objects", "0"}, folder_ / "escape-game");
  EXPECT_EQ(escaped.exitCode, kExitBadInput);
  EXPECT_NE(escaped.err.find("no such file in the area folder"), std::string::npos) << escaped.err;
  const Outcome kept = runCommandLine({"objects", "ソラの門"}, folder_ / "escape-game");
  EXPECT_EQ(kept.exitCode, kExitSuccess) << kept.err;
  // The catalogue's facts (and the editor's hints) do not read it either.
  const Outcome listed = runCommandLine({"catalogue", "--json"}, folder_ / "escape-game");
  ASSERT_EQ(listed.exitCode, kExitSuccess) << listed.err;
  EXPECT_NE(listed.out.find("\"status\": \"missing\""), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("\"status\": \"ok\""), std::string::npos) << listed.out;
}

TEST_F(FileSafety, EveryCommandWritesToStandardOutputForADash) {
  ASSERT_EQ(run({"encode", at("good.body"), at("good.stream")}).exitCode, kExitSuccess);
  ASSERT_EQ(run({"preview", "1", "-o", at("good.png")}).exitCode, kExitSuccess);
  ASSERT_EQ(run({"render", at("good.sav"), "-o", at("world.png")}).exitCode, kExitSuccess);
  struct Dash {
    std::vector<std::string> args;
    std::string sameAs;  // the file the command writes without "-"
  };
  const std::vector<Dash> cases = {
      {{"unpack", at("good.sav"), "-"}, "good.body"},
      {{"encode", at("good.body"), "-"}, "good.stream"},
      {{"decode", at("good.stream"), "-"}, "good.body"},
      {{"pack", at("good.body"), "-"}, "good.sav"},
      {{"build", at("world.json"), "-o", "-"}, "good.sav"},
      {{"preview", "1", "-o", "-"}, "good.png"},
      {{"render", at("good.sav"), "-o", "-"}, "world.png"},
  };
  const fs::path dash = fs::current_path() / "-";
  for (const Dash& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const Outcome outcome = run(c.args);
    EXPECT_EQ(outcome.exitCode, kExitSuccess) << outcome.err;
    const Bytes expected = bytesOf(c.sameAs);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(outcome.out, std::string(expected.begin(), expected.end()));
    EXPECT_FALSE(fs::exists(dash));
  }
}

TEST_F(FileSafety, DemoGameLeavesAFolderThatHoldsSomethingAlone) {
  const fs::path target = folder_ / "my-game";
  fs::create_directories(target / "res");
  text("my-game/res/Mif_area.bin", "mine");
  const Outcome refused = run({"demo-game", target.string()});
  EXPECT_EQ(refused.exitCode, kExitBadInput);
  EXPECT_NE(refused.err.find("is not empty"), std::string::npos) << refused.err;
  EXPECT_EQ(bytesOf("my-game/res/Mif_area.bin"), (Bytes{'m', 'i', 'n', 'e'}));
  const Outcome forced = run({"demo-game", target.string(), "--force"});
  EXPECT_EQ(forced.exitCode, kExitSuccess) << forced.err;
  EXPECT_EQ(bytesOf("my-game/res/Mif_area.bin").size(), gamedata::kCatalogueFileSize);
}

TEST_F(FileSafety, MessagesSayWhatIsWrongAndNameTheFile) {
  Bytes damaged = bytesOf("good.sav");
  ASSERT_GT(damaged.size(), 400u);
  damaged.resize(damaged.size() - 200);  // the data section ends early
  ASSERT_TRUE(platform::writeFileAtomic(folder_ / "damaged.sav", damaged).ok());
  const std::vector<std::string> build{"build", "@w.json", "-o", "@out"};
  const std::vector<Case> cases = {
      {"AreaNameOutsideCp932", {"objects", "€の門"}, "no area named €の門 in the catalogue\n"},
      {"PreviewNameOutsideCp932",
       {"preview", "€の門", "-o", "@out"},
       "no area named €の門 in the catalogue\n"},
      {"PackNameOutsideCp932",
       {"pack", "@good.body", "@out", "--name", "€"},
       "the name € cannot be written in CP932"},
      {"BuildAreaNameOutsideCp932", build, "no area named €の門 in the catalogue",
       R"({"areas": [{"area": "€の門", "kind": "field", "x": 0, "y": 0}]})"},
      {"DamagedSave", {"info", "@damaged.sav"}, "@damaged.sav: error in decord"},
      {"EmptyCatalogueEntry", build,
       "area 4 has an empty name in the catalogue " + (folder_ / "game" / "res").string(),
       R"({"areas": [{"area": 4, "kind": "field", "x": 0, "y": 0}]})"},
      {"CoordinateOverflow", build, "@w.json: areas[0].x: 2147483647 is out of range",
       R"({"areas": [{"area": 8, "kind": "field", "x": 2147483647, "y": 0}]})"},
      {"HugeUnsignedCoordinate", build, "areas[0].y: 18446744073709551615 is out of range",
       R"({"areas": [{"area": 8, "kind": "field", "x": 0, "y": 18446744073709551615}]})"},
      {"RepeatedKey", build, "@w.json: areas[0].x: the key is given twice",
       R"({"areas": [{"area": 8, "kind": "field", "x": 0, "x": 64, "y": 0}]})"},
      {"RepeatedTopLevelKey", build, "@w.json: name: the key is given twice",
       R"({"name": "a", "areas": [], "name": "b"})"},
      {"BuildNameTooLong", build, "the name takes 32 bytes in CP932; at most 31 fit",
       R"({"name": "あいうえおかきくけこさしすせそた", "areas": []})"},
      {"BuildNameWithNul", build, "the name holds a NUL character",
       R"({"name": "a\u0000b", "areas": []})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.world.empty()) text("w.json", c.world);
    expectRefused(c);
  }
}

TEST_F(FileSafety, RegistryThatIsNoFileIsNeverWaitedOn) {
#ifdef _WIN32
  GTEST_SKIP() << "the Wine registry file is read on POSIX only";
#else
  // system.reg as a FIFO (a read would wait for a writer forever) and as a
  // device (a read would never end): no game folder, promptly.
  const platform::testing::TempFolder prefix("cli-registry");
  ASSERT_EQ(mkfifo((prefix.path() / "system.reg").c_str(), 0600), 0);
  fs::create_directory(prefix.path() / "device");
  fs::create_symlink("/dev/zero", prefix.path() / "device" / "system.reg");
  const platform::testing::ScopedEnv noGameDir("WORLDSMITH_GAME_DIR", std::nullopt);
  for (const fs::path& folder : {prefix.path(), prefix.path() / "device"}) {
    SCOPED_TRACE(folder.string());
    const platform::testing::ScopedEnv wine("WINEPREFIX", folder.string());
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"catalogue"}, {"objects", "1"}, {"preview", "1", "-o", "-"}}) {
      const Outcome outcome = runCommandLine(command);
      EXPECT_EQ(outcome.exitCode, kExitBadInput);
      EXPECT_EQ(outcome.err.rfind("worldsmith-cli: no game folder", 0), 0u) << outcome.err;
    }
  }
#endif
}

TEST_F(FileSafety, NamesFromFilesReachTheTerminalEscaped) {
  // Catalogue names and a world name with control characters, a backslash
  // and a byte that is no CP932; and a file name CP932 cannot spell.
  ASSERT_TRUE(demo::makeDemoGame(folder_ / "control-game").ok());
  const fs::path game = folder_ / "control-game";
  auto names = gamedata::LoadAreaCatalogue(game / "res" / "Mif_area.bin").value();
  names[2] = "\x1b]0;title\x07";
  names[3] = "two\nlines\\";
  names[5] =
      "bad\xA0"
      "byte";
  ASSERT_TRUE(
      platform::writeFileAtomic(game / "res" / "Mif_area.bin", demo::buildCatalogueFile(names))
          .ok());
  const Outcome listed = runCommandLine({"catalogue"}, game);
  ASSERT_EQ(listed.exitCode, kExitSuccess) << listed.err;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 200);
  EXPECT_EQ(listed.out.find('\x1b'), std::string::npos);
  text("esc.json", R"({"name": "\u001b]0;x\u0007", "areas": [
      {"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]}]})");
  ASSERT_EQ(run({"build", at("esc.json"), "-o", at("esc.sav")}).exitCode, kExitSuccess);
  const Outcome info = run({"info", at("esc.sav")});
  ASSERT_EQ(info.exitCode, kExitSuccess) << info.err;
  const Outcome infoJson = run({"info", at("esc.sav"), "--json"});
  // Typed as UTF-8 (UTF-16 on Windows), shown as typed.
  const std::string accented = pathToUtf8(folder_ / pathFromUtf8("é.sav"));
  const Outcome missing = run({"info", accented});
  // Each output, and what it must hold.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {listed.out, "2\t\\x1b]0;title\\x07\n"},
      {listed.out, "3\ttwo\\nlines\\\\\n"},
      {listed.out, "5\tbad\\xa0byte\n"},
      {info.out, "name: \\x1b]0;x\\x07\n"},
      {infoJson.out, R"("name": "\u001b]0;x\u0007")"},
      {missing.err, "worldsmith-cli: " + accented + ": cannot read ("},
  };
  for (const auto& [output, shown] : cases) {
    EXPECT_NE(output.find(shown), std::string::npos) << shown << " not in " << output;
  }
  EXPECT_EQ(info.out.find('\x1b'), std::string::npos);
}

TEST_F(FileSafety, EveryCommandSaysTheSameOfOneDamagedFile) {
  Bytes damaged = bytesOf("good.sav");
  damaged.resize(damaged.size() - 200);
  ASSERT_TRUE(platform::writeFileAtomic(folder_ / "cut.sav", damaged).ok());
  Bytes notSave = bytesOf("good.sav");
  notSave[0] = 'X';
  ASSERT_TRUE(platform::writeFileAtomic(folder_ / "notsave.sav", notSave).ok());
  for (const char* file : {"cut.sav", "notsave.sav", "absent.sav"}) {
    SCOPED_TRACE(file);
    std::vector<std::string> lines;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", at(file)},
                                                 {"unpack", at(file), at("out")},
                                                 {"render", at(file), "-o", at("out")}}) {
      const Outcome outcome = run(args);
      EXPECT_EQ(outcome.exitCode, kExitBadInput);
      lines.push_back(outcome.err);
    }
    EXPECT_NE(lines[0].find(" ("), std::string::npos) << lines[0];  // with its detail
    EXPECT_EQ(lines[0].rfind("worldsmith-cli: " + at(file) + ": ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], lines[0]);
    EXPECT_EQ(lines[2], lines[0]);
  }
}

#if !defined(_WIN32) && defined(WORLDSMITH_CLI_PATH)

// The program itself: the end of every run checks the standard output.
TEST_F(FileSafety, LostStandardOutputFailsTheRun) {
  const std::string cli = WORLDSMITH_CLI_PATH;
  for (const std::string& command :
       {"info " + at("good.sav"), "unpack " + at("good.sav") + " -", std::string("catalogue"),
        "render " + at("good.sav") + " -o -"}) {
    SCOPED_TRACE(command);
    const std::string line = cli + " --game-dir " + (folder_ / "game").string() + " " + command +
                             " >/dev/full 2>" + at("stderr.txt");
    const int status = std::system(line.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kExitBadInput);
    const Bytes err = bytesOf("stderr.txt");
    EXPECT_NE(std::string(err.begin(), err.end()).find("worldsmith-cli: <stdout>: cannot write"),
              std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);  // said once
  }
}

#endif

}  // namespace
}  // namespace ws::cli
