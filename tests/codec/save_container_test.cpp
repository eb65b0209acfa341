#include "codec/save_container.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "codec/codec_header.h"
#include "codec/huffman_encoder.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "support/file_reading.h"
#include "support/file_size_limit.h"
#include "support/scoped_test_env.h"

namespace ws::codec {
namespace {

// A body shaped like a save body: a few header words, the world name at
// 16..47, then mostly zeros with records of small constants.
Bytes sampleBody(const std::string& worldName) {
  Bytes body(600, 0);
  for (std::size_t i = 0; i < 16; ++i)
    body[i] = static_cast<std::uint8_t>(i * 3 + 1);
  std::copy(worldName.begin(), worldName.end(), body.begin() + 16);
  for (std::size_t i = 48; i < body.size(); i += 37)
    body[i] = static_cast<std::uint8_t>(i % 5 + 1);
  return body;
}

std::string cp932(const char* utf8) {
  return platform::utf8ToCp932(utf8).value();
}

void writeRaw(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST(SaveContainer, HeaderHoldsMagicWordsNameCopyAndZeros) {
  const std::string name = cp932("テストワールド");
  ASSERT_EQ(name.size(), 14u);
  const Bytes body = sampleBody(name);
  const Bytes file = encodeSaveFile(body);

  const Bytes stream = encodeStream(body);
  ASSERT_EQ(file.size(), 120 + stream.size());
  EXPECT_TRUE(std::equal(stream.begin(), stream.end(), file.begin() + 120));
  EXPECT_EQ(readInt32(file.data() + 120), static_cast<std::int32_t>(stream.size()));

  const Bytes expectedStart = {'R', 'V', '7', '-', 0x05, 0x00, 0x02, 0x01,
                               0,   0,   0,   0,   0xFF, 0x0F, 0,    0};
  EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), file.begin()));
  EXPECT_EQ(std::string(file.begin() + 20, file.begin() + 34), name);
  for (std::size_t i = 34; i < 52; ++i)
    EXPECT_EQ(file[i], 0) << i;
  for (std::size_t i = 16; i < 20; ++i)
    EXPECT_EQ(file[i], 0) << i;
  for (std::size_t i = 52; i < 120; ++i)
    EXPECT_EQ(file[i], 0) << i;
}

TEST(SaveContainer, NameCopyTakesAll32BytesOfTheField) {
  Bytes body = sampleBody("");
  for (std::size_t i = 16; i < 48; ++i)
    body[i] = static_cast<std::uint8_t>(0x41 + i);
  const Bytes file = encodeSaveFile(body);
  EXPECT_TRUE(std::equal(body.begin() + 16, body.begin() + 48, file.begin() + 20));
  EXPECT_EQ(file[52], 0);
}

TEST(SaveContainer, NotASaveFileMessageIsTheNameALineBreakAndTheJapaneseText) {
  EXPECT_EQ(notASaveFileMessage("C:\\usr\\RVTSV1.dat"),
            "C:\\usr\\RVTSV1.dat\n" + cp932("はセーブファイルではありません"));
}

TEST(SaveContainer, DecodeGivesTheBodyBackWhateverTheUntestedWordsHold) {
  const Bytes body = sampleBody("abc");
  Bytes file = encodeSaveFile(body);
  for (std::size_t i = 4; i < 120; ++i)
    file[i] = static_cast<std::uint8_t>(i * 7);
  auto decoded = decodeSaveFile(file, "x");
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, body);
}

struct RejectCase {
  const char* name;
  std::function<void(Bytes&)> damage;
  const char* message;  // nullptr: the not-a-save-file message
};

TEST(SaveContainer, DecodeRejectsFilesThatAreNoSaveFiles) {
  const std::vector<RejectCase> cases = {
      {"WrongMagic", [](Bytes& f) { f[3] = '+'; }, nullptr},
      {"WrongSignature", [](Bytes& f) { f[128] = 0x49; }, nullptr},
      {"ShorterThanTheSignature", [](Bytes& f) { f.resize(131); }, nullptr},
      {"Empty", [](Bytes& f) { f.clear(); }, nullptr},
      {"DamagedStream", [](Bytes& f) { f.resize(f.size() - 1); }, "error in decord"},
  };
  const Bytes good = encodeSaveFile(sampleBody("abc"));
  for (const RejectCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file = good;
    c.damage(file);
    auto decoded = decodeSaveFile(file, "RVTSV1.dat");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().message,
              c.message != nullptr ? std::string(c.message) : notASaveFileMessage("RVTSV1.dat"));
  }
}

TEST(SaveContainer, WrittenFileReadsBackToTheBody) {
  const platform::testing::TempFolder folder;
  const Bytes body = sampleBody(cp932("テストワールド"));
  const auto path = folder.path() / "RVTSV1.dat";
  ASSERT_TRUE(writeSaveFile(path, body).ok());
  EXPECT_EQ(std::filesystem::file_size(path), encodeSaveFile(body).size());
  auto read = readSaveFile(path);
  ASSERT_TRUE(read.ok());
  ASSERT_TRUE(read->has_value());
  EXPECT_EQ(**read, body);
}

TEST(SaveContainer, ReadOfAMissingFileGivesNothingAndNoMessage) {
  const platform::testing::TempFolder folder;
  auto read = readSaveFile(folder.path() / "RVTSV1.dat");
  ASSERT_TRUE(read.ok());
  EXPECT_FALSE(read->has_value());
}

TEST(SaveContainer, ReadOfAnotherFileNamesItInTheMessage) {
  const platform::testing::TempFolder folder;
  const auto path = folder.path() / "notes.txt";
  writeRaw(path, Bytes(200, 'x'));
  auto read = readSaveFile(path);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().message, notASaveFileMessage(path.string()));
}

TEST(SaveContainer, FailedWriteLeavesTheExistingSaveUntouched) {
  if (!platform::testing::kCanLimitFileSize) GTEST_SKIP() << "no file size limit on this system";
  const platform::testing::TempFolder folder;
  const auto path = folder.path() / "RVTSV1.dat";
  const Bytes old = encodeSaveFile(sampleBody("old"));
  writeRaw(path, old);
  Bytes bigBody = sampleBody("new");
  for (std::size_t i = 0; i < 4000; ++i)
    bigBody.push_back(static_cast<std::uint8_t>(i * 31));

  Status written;
  {
    const platform::testing::FileSizeLimit limit(old.size() + 16);  // disk full midway
    ASSERT_TRUE(limit.active());
    written = writeSaveFile(path, bigBody);
  }
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().message.find("RVTSV1.dat"), std::string::npos);
  auto survivor = platform::testing::readWholeFile(path);
  ASSERT_TRUE(survivor.has_value());
  EXPECT_EQ(*survivor, old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace ws::codec
