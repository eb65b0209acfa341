#include <gtest/gtest.h>

#include <fstream>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "codec/huffman_encoder.h"
#include "codec/save_container.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "support/file_reading.h"
#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

using codec::Bytes;

struct CliRun {
  int exitCode;
  std::string errors;  // stderr, UTF-8
};

// Runs the codec commands as worldsmith-cli would, in this process.
CliRun runCodecCommand(std::vector<std::string> args) {
  const Outcome outcome = runCommandLine(std::move(args));
  return {outcome.exitCode, outcome.err};
}

void writePlain(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes sampleBody() {
  Bytes body(300, 0);
  for (std::size_t i = 0; i < body.size(); i += 7)
    body[i] = static_cast<std::uint8_t>(i % 11);
  return body;
}

class CodecCommands : public ::testing::Test {
 protected:
  std::string at(const char* name) const { return (folder_.path() / name).string(); }
  Bytes contentOf(const char* name) const {
    return platform::testing::readWholeFile(folder_.path() / name).value_or(Bytes{0xEE});
  }
  platform::testing::TempFolder folder_;
};

TEST_F(CodecCommands, EncodeAndDecodeRoundTripARawStream) {
  writePlain(at("body"), sampleBody());
  ASSERT_EQ(runCodecCommand({"encode", at("body"), at("stream")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("stream"), codec::encodeStream(sampleBody()));
  ASSERT_EQ(runCodecCommand({"decode", at("stream"), at("decoded")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("decoded"), sampleBody());
}

TEST_F(CodecCommands, PackAndUnpackRoundTripASaveFile) {
  writePlain(at("body"), sampleBody());
  ASSERT_EQ(runCodecCommand({"pack", at("body"), at("save.dat")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("save.dat"), codec::encodeSaveFile(sampleBody()));
  ASSERT_EQ(runCodecCommand({"unpack", at("save.dat"), at("out")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("out"), sampleBody());
}

TEST_F(CodecCommands, PackNameOverwritesTheBodysNameField) {
  Bytes body = sampleBody();
  std::fill(body.begin() + 16, body.begin() + 48, std::uint8_t{0x55});
  writePlain(at("body"), body);
  ASSERT_EQ(
      runCodecCommand({"pack", at("body"), at("save.dat"), "--name", "テストワールド"}).exitCode,
      kExitSuccess);

  const std::string name = platform::utf8ToCp932("テストワールド").value();
  std::copy(name.begin(), name.end(), body.begin() + 16);
  std::fill(body.begin() + 16 + static_cast<std::ptrdiff_t>(name.size()), body.begin() + 48,
            std::uint8_t{0});
  EXPECT_EQ(contentOf("save.dat"), codec::encodeSaveFile(body));
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;  // "@x" is file x in the test folder
  int exitCode;
  std::string message;  // part of stderr
};

TEST_F(CodecCommands, BadInputAndUsageErrorsSetTheExitStatus) {
  writePlain(at("body"), sampleBody());
  writePlain(at("short"), Bytes(20, 1));
  const std::string notASave = at("body") + ": はセーブファイルではありません (";
  const std::string missing = "worldsmith-cli: " + at("absent") + ": cannot read (";
  const std::vector<FailureCase> cases = {
      {"DecodeOfNoStream", {"decode", "@body", "@out"}, kExitBadInput, "error in decord"},
      {"UnpackOfNoSaveFile", {"unpack", "@body", "@out"}, kExitBadInput, notASave},
      // A missing file is said alike by every command.
      {"UnpackOfAMissingFile", {"unpack", "@absent", "@out"}, kExitBadInput, missing},
      {"EncodeOfAMissingFile", {"encode", "@absent", "@out"}, kExitBadInput, missing},
      {"DecodeOfAMissingFile", {"decode", "@absent", "@out"}, kExitBadInput, missing},
      {"PackOfAMissingFile", {"pack", "@absent", "@out"}, kExitBadInput, missing},
      {"NameTooLong",
       {"pack", "@body", "@out", "--name", "あいうえおかきくけこさしすせそた"},
       kExitBadInput,
       "at most 31 fit"},
      {"NameOutsideCp932",
       {"pack", "@body", "@out", "--name", "\xF0\x9F\x98\x80"},
       kExitBadInput,
       "cannot be written in CP932"},
      {"NameOnATooShortBody",
       {"pack", "@short", "@out", "--name", "x"},
       kExitBadInput,
       "too short"},
      {"OutputFolderMissing",
       {"encode", "@body", "@none/out"},
       kExitBadInput,
       "worldsmith-cli: " + at("none/out") + ": cannot write ("},
      {"MissingOperand", {"encode", "@body"}, kExitUsage, "OUT is required"},
      {"UnknownCommand", {"squash", "@body"}, kExitUsage, ""},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args;
    for (const auto& arg : c.args)
      args.push_back(arg[0] == '@' ? at(arg.c_str() + 1) : arg);
    const CliRun run = runCodecCommand(args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "out"));
  }
}

}  // namespace
}  // namespace ws::cli
