#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <fstream>

#include "cli/commands.h"
#include "codec/huffman_encoder.h"
#include "codec/save_container.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

using codec::Bytes;

struct CliRun {
  int exitCode;
  std::string errors;  // stderr, UTF-8
};

// Runs the codec commands as worldsmith-cli would, in this process.
CliRun runCli(std::vector<std::string> args) {
  CLI::App app{"worldsmith-cli"};
  app.require_subcommand(1);
  Context context;
  addCodecCommands(app, context);
  args.insert(args.begin(), "worldsmith-cli");
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());

  ::testing::internal::CaptureStderr();
  int exitCode = kExitSuccess;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
    exitCode = context.exitCode;
  } catch (const CLI::ParseError& error) {
    exitCode = app.exit(error) == 0 ? kExitSuccess : kExitUsage;
  }
  return {exitCode, ::testing::internal::GetCapturedStderr()};
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
    return platform::readWholeFile(folder_.path() / name).value_or(Bytes{0xEE});
  }
  platform::testing::TempFolder folder_;
};

TEST_F(CodecCommands, EncodeAndDecodeRoundTripARawStream) {
  writePlain(at("body"), sampleBody());
  ASSERT_EQ(runCli({"encode", at("body"), at("stream")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("stream"), codec::encodeStream(sampleBody()));
  ASSERT_EQ(runCli({"decode", at("stream"), at("decoded")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("decoded"), sampleBody());
}

TEST_F(CodecCommands, PackAndUnpackRoundTripASaveFile) {
  writePlain(at("body"), sampleBody());
  ASSERT_EQ(runCli({"pack", at("body"), at("save.dat")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("save.dat"), codec::encodeSaveFile(sampleBody()));
  ASSERT_EQ(runCli({"unpack", at("save.dat"), at("out")}).exitCode, kExitSuccess);
  EXPECT_EQ(contentOf("out"), sampleBody());
}

TEST_F(CodecCommands, PackNameOverwritesTheBodysNameField) {
  Bytes body = sampleBody();
  std::fill(body.begin() + 16, body.begin() + 48, std::uint8_t{0x55});
  writePlain(at("body"), body);
  ASSERT_EQ(runCli({"pack", at("body"), at("save.dat"), "--name", "テストワールド"}).exitCode,
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
  const std::string notASave = at("body") + "\nはセーブファイルではありません";
  const std::vector<FailureCase> cases = {
      {"DecodeOfNoStream", {"decode", "@body", "@out"}, kExitBadInput, "error in decord"},
      {"UnpackOfNoSaveFile", {"unpack", "@body", "@out"}, kExitBadInput, notASave},
      {"UnpackOfAMissingFile", {"unpack", "@absent", "@out"}, kExitBadInput, "no such file"},
      {"EncodeOfAMissingFile", {"encode", "@absent", "@out"}, kExitBadInput, "cannot read"},
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
      {"OutputFolderMissing", {"encode", "@body", "@none/out"}, kExitBadInput, "cannot write"},
      {"MissingOperand", {"encode", "@body"}, kExitUsage, "OUT is required"},
      {"UnknownCommand", {"squash", "@body"}, kExitUsage, ""},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args;
    for (const auto& arg : c.args)
      args.push_back(arg[0] == '@' ? at(arg.c_str() + 1) : arg);
    const CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "out"));
  }
}

}  // namespace
}  // namespace ws::cli
