#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace ws::platform {
namespace {

struct TextCase {
  const char* utf8;
  std::string cp932;
};

// Texts that convert both ways unchanged.
const TextCase kRoundTrips[] = {
    {"", ""},
    {"RV7 save 0123~\\", "RV7 save 0123~\\"},
    {"洞窟(", "\x93\xB4\x8C\x41("},
    {"民家(", "\x96\xAF\x89\xC6("},
    {"ソ表", "\x83\x5C\x95\x5C"},  // second bytes equal "\"
    {"ｱｲｳ", "\xB1\xB2\xB3"},       // half-width katakana, one byte each
    {"①髙", "\x87\x40\xFB\xFC"},   // NEC and IBM extensions of the code page
    {"マップパーツは４つまでです！",
     "\x83\x7D\x83\x62\x83\x76\x83\x70\x81\x5B\x83\x63\x82\xCD\x82\x53\x82\xC2\x82\xDC\x82\xC5"
     "\x82\xC5\x82\xB7\x81\x49"},
};

TEST(TextTest, ConvertsBothWaysByteExact) {
  for (const TextCase& c : kRoundTrips) {
    const std::string utf8 = c.utf8;
    EXPECT_EQ(cp932ToUtf8(c.cp932), utf8);
    EXPECT_EQ(utf8ToCp932(utf8), c.cp932) << utf8;
  }
}

// The windows' UTF-16: the same texts, a character outside the basic plane
// as a surrogate pair, and half a pair refused like any unmappable character.
TEST(TextTest, Utf16ConvertsAsUtf8Does) {
  for (const TextCase& c : kRoundTrips)
    EXPECT_EQ(utf16ToCp932(cp932ToUtf16(c.cp932)), c.cp932) << c.utf8;
  EXPECT_EQ(cp932ToUtf16("\x83\x5C\x95\x5C"), u"ソ表");
  EXPECT_EQ(cp932ToUtf16("\x87\x40\xB1~"), u"①ｱ~");
  EXPECT_EQ(cp932ToUtf16("A\x80"), u"A\uFFFD");
  EXPECT_EQ(utf16ToCp932(u"洞窟("), "\x93\xB4\x8C\x41(");
  for (const std::u16string& text : {std::u16string(u"\U0001F600"), std::u16string(u"a\xD83D"),
                                     std::u16string(u"\xDE00"
                                                    u"b"),
                                     std::u16string(u"\xDE00\xD83D"), std::u16string(u"한")})
    EXPECT_EQ(utf16ToCp932(text), std::nullopt);
}

TEST(TextTest, KeepsEmbeddedNul) {
  const std::string text("a\0b", 3);
  EXPECT_EQ(cp932ToUtf8(text), text);
  EXPECT_EQ(utf8ToCp932(text), text);
}

TEST(TextTest, InvalidCp932BecomesReplacementCharacter) {
  const std::string kFffd = "\xEF\xBF\xBD";
  const struct {
    std::string cp932;
    std::string utf8;
  } cases[] = {
      {"\x80", kFffd},
      {"A\xA0"
       "B",
       "A" + kFffd + "B"},
      {"\xFD\xFE\xFF", kFffd + kFffd + kFffd},
      {"\x81", kFffd},  // cut after a lead byte
      {"ok\x83", "ok" + kFffd},
      {"\x81\x20Z", kFffd + " Z"},  // lead byte before a plain character
      {"\x83\x5C\x80\x83\x5C", "ソ" + kFffd + "ソ"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8);
}

TEST(TextTest, RefusesInvalidUtf8AndCharactersOutsideTheCodePage) {
  const char* cases[] = {
      "\xC3",  // cut sequence
      "a\xFF"
      "b",             // never valid
      "\xC0\xAF",      // overlong "/"
      "\xED\xA0\x80",  // surrogate
      "😀",             // outside the code page
      "¥",             // mapped only to a look-alike backslash
      "‾",             // mapped only to a look-alike tilde
      "\xEF\xBF\xBD",  // U+FFFD itself
      "ok 한국어",
  };
  for (const char* text : cases)
    EXPECT_EQ(utf8ToCp932(text), std::nullopt) << text;
}

}  // namespace
}  // namespace ws::platform
