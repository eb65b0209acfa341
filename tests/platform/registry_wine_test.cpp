#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/registry.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"

namespace ws::platform {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

constexpr std::string_view kKey = "SOFTWARE\\TOLVERA\\RV7";
constexpr std::string_view kValue = "BootDirectory";

std::string systemReg(const std::string& body) {
  return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + body;
}

struct ReadCase {
  const char* name;
  std::string body;
  std::optional<std::string> expected;
};

TEST(RegistryWineTest, ReadsStringValuesThroughEscapesAndKeyLocations) {
  const ReadCase cases[] = {
      {"plain key",
       "[Software\\\\TOLVERA\\\\RV7] 1700000000\n\"BootDirectory\"=\"C:\\\\Games\\\\X\\\\\"\n",
       "C:\\Games\\X\\"},
      {"32-bit view of a 64-bit prefix",
       "[Software\\\\Wow6432Node\\\\TOLVERA\\\\RV7] 1700000000\n#time=1d9\n"
       "\"BootDirectory\"=\"D:\\\\RV7\\\\rv7.exe\"\n",
       "D:\\RV7\\rv7.exe"},
      {"32-bit view wins over the 64-bit one",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\Native\"\n"
       "[Software\\\\Wow6432Node\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\Wow\"\n",
       "C:\\Wow"},
      {"names regardless of case",
       "[software\\\\tolvera\\\\rv7] 1\n\"bootdirectory\"=\"C:\\\\x\"\n", "C:\\x"},
      {"expandable string",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=str(2):\"%GAMES%\\\\RV7\"\n",
       "%GAMES%\\RV7"},
      {"quote and control escapes",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"a\\\"b\\tc\\nd\\101\\x42\"\n",
       "a\"b\tc\ndAB"},
      {"UTF-16 escapes to CP932",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\\\x30bd\\x8868\\x0031\"\n",
       "C:\\\x83\x5C\x95\x5C"
       "1"},
      {"cut at the first NUL",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\x\\0junk\"\n", "C:\\x"},
      {"empty value written as hex", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=hex(1):\n",
       ""},
      {"expandable string as hex over lines",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"Other\"=hex:01,02,\\\n  03\n"
       "\"BootDirectory\"=hex(2):43,00,3a,00,\\\n  5c,00,00,00,41,00\n\"Next\"=\"x\"\n",
       "C:\\"},
      {"escaped key name brackets",
       "[Software\\\\TOLVERA\\\\RV7\\]x] 1\n\"BootDirectory\"=\"no\"\n", std::nullopt},
      {"raw UTF-8 in a hand-edited file",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\ソフト\"\n",
       "C:\\\x83\x5C\x83\x74\x83\x67"},
      {"CRLF line ends", "[Software\\\\TOLVERA\\\\RV7] 1\r\n\"BootDirectory\"=\"C:\\\\x\"\r\n",
       "C:\\x"},
      // Missing pieces.
      {"missing key", "[Software\\\\Other\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\x\"\n",
       std::nullopt},
      {"missing value", "[Software\\\\TOLVERA\\\\RV7] 1\n\"Boot\"=\"C:\\\\x\"\n", std::nullopt},
      {"subkey is another key", "[Software\\\\TOLVERA\\\\RV7\\\\Sub] 1\n\"BootDirectory\"=\"x\"\n",
       std::nullopt},
      {"value of a later key",
       "[Software\\\\TOLVERA\\\\RV7] 1\n[Software\\\\X] 1\n\"BootDirectory\"=\"x\"\n",
       std::nullopt},
      // Other types count as missing.
      {"dword", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=dword:00000001\n", std::nullopt},
      {"binary", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=hex:43,00\n", std::nullopt},
      {"multi-string", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=str(7):\"a\\0b\\0\"\n",
       std::nullopt},
      {"unterminated string", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\x\n",
       std::nullopt},
      {"bad hex", "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=hex(1):4z,00\n", std::nullopt},
      {"not representable in CP932",
       "[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\\\xd83d\\xde00\"\n",
       std::nullopt},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(findWineRegistryString(systemReg(c.body), kKey, kValue), c.expected) << c.name;
  }
}

TEST(RegistryWineTest, DefaultValueIsTheAtSign) {
  const std::string text =
      systemReg("[Software\\\\TOLVERA\\\\RV7] 1\n@=\"default\"\n\"x\"=\"y\"\n");
  EXPECT_EQ(findWineRegistryString(text, kKey, ""), "default");
  EXPECT_EQ(findWineRegistryString(text, kKey, "x"), "y");
}

TEST(RegistryWineTest, RefusesTextWithoutHeader) {
  EXPECT_EQ(findWineRegistryString("[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"x\"\n",
                                   kKey, kValue),
            std::nullopt);
  EXPECT_EQ(findWineRegistryString("", kKey, kValue), std::nullopt);
}

TEST(RegistryWineTest, JapaneseValueMatchesConverter) {
  const std::string text =
      systemReg("[Software\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\\\x6d1e\\x7a9f\"\n");
  EXPECT_EQ(findWineRegistryString(text, kKey, kValue), utf8ToCp932("C:\\洞窟"));
}

// RegReadString reads the Wine prefix only off Windows; on Windows it reads
// the real registry (registry_win32_test.cpp).
#ifndef _WIN32
TEST(RegistryWineTest, RegReadStringReadsThePrefixOrGivesTheDefault) {
  TempFolder prefix;
  ScopedEnv winePrefix("WINEPREFIX", prefix.path().string());
  // No system.reg yet.
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, kKey, kValue, "fallback"), "fallback");
  EXPECT_EQ(readWineRegistryString(prefix.path() / "system.reg", kKey, kValue), std::nullopt);

  std::ofstream(prefix.path() / "system.reg") << systemReg(
      "[Software\\\\Wow6432Node\\\\TOLVERA\\\\RV7] 1\n\"BootDirectory\"=\"C:\\\\G\\\\\"\n"
      "\"Empty\"=hex(1):\n\"Count\"=dword:00000002\n");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, kKey, kValue, "fallback"), "C:\\G\\");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, kKey, "Empty", "fallback"), "");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, kKey, "Count", "fallback"), "fallback");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, kKey, "Missing", "fallback"), "fallback");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, "SOFTWARE\\Nobody", kValue, ""), "");
}

TEST(RegistryWineTest, PrefixDefaultsToHomeWine) {
  ScopedEnv winePrefix("WINEPREFIX", std::nullopt);
  ScopedEnv home("HOME", "/home/player");
  EXPECT_EQ(winePrefixFolder(), std::filesystem::path("/home/player/.wine"));
  ScopedEnv noHome("HOME", std::nullopt);
  EXPECT_EQ(winePrefixFolder(), std::nullopt);
}
#endif

}  // namespace
}  // namespace ws::platform
