// The registry reader against the real Windows registry. Off Windows the
// reader reads a Wine prefix instead (registry_wine_test.cpp).
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/game_folder_store.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace ws::platform {
namespace {

// "C:\Games\ゲーム表\rv7.exe": 表 (95 5C) ends in the byte of "\".
constexpr std::string_view kJapaneseBootCp932 =
    "C:\\Games\\\x83\x51\x81\x5B\x83\x80\x95\x5C\\rv7.exe";
constexpr const wchar_t* kJapaneseBootWide = L"C:\\Games\\\u30B2\u30FC\u30E0\u8868\\rv7.exe";

// A key of its own below the local machine root, in one registry view,
// removed with its values afterwards.
class TestKey {
 public:
  TestKey(const std::wstring& path, REGSAM view) : path_(path), view_(view) {
    status_ = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | view, nullptr, &key_, nullptr);
  }
  ~TestKey() {
    if (status_ != ERROR_SUCCESS) return;
    RegCloseKey(key_);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0);
  }
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;

  bool created() const { return status_ == ERROR_SUCCESS; }

  // Stores `byteCount` bytes of `data` as they are, terminator or not.
  void set(const wchar_t* name, DWORD type, const void* data, std::size_t byteCount) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(byteCount)),
              ERROR_SUCCESS);
  }
  void setText(const wchar_t* name, DWORD type, const std::wstring& text) {
    set(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }

 private:
  std::wstring path_;
  REGSAM view_;
  HKEY key_ = nullptr;
  LSTATUS status_ = ERROR_INVALID_HANDLE;
};

std::wstring testKeyPath() {
  return L"SOFTWARE\\WorldsmithTest" + std::to_wstring(GetCurrentProcessId());
}

std::string testKeyPathCp932() {
  return "SOFTWARE\\WorldsmithTest" + std::to_string(GetCurrentProcessId());
}

std::string read(std::string_view valueName) {
  return RegReadString(RegistryRoot::LocalMachine, testKeyPathCp932(), valueName, "fallback");
}

TEST(RegistryWin32Test, JapaneseBootDirectoryBytesMatchTheConverter) {
  EXPECT_EQ(utf8ToCp932("C:\\Games\\ゲーム表\\rv7.exe"), std::string(kJapaneseBootCp932));
}

TEST(RegistryWin32Test, ReadsStringValuesOfThe32BitViewAsCp932) {
  TestKey key(testKeyPath(), KEY_WOW64_32KEY);
  if (!key.created()) GTEST_SKIP() << "no write access below HKEY_LOCAL_MACHINE";

  key.setText(L"BootDirectory", REG_SZ, kJapaneseBootWide);
  key.setText(L"Expandable", REG_EXPAND_SZ, L"%ProgramFiles%\\RV7\\");
  key.set(L"Empty", REG_SZ, L"", 0);
  const std::wstring unterminated = L"C:\\Unterminated";
  key.set(L"Unterminated", REG_SZ, unterminated.data(), unterminated.size() * sizeof(wchar_t));
  const wchar_t embedded[] = L"C:\\A\0C:\\B";
  key.set(L"EmbeddedNul", REG_SZ, embedded, sizeof embedded);
  const DWORD count = 2;
  key.set(L"Count", REG_DWORD, &count, sizeof count);
  key.set(L"Binary", REG_BINARY, "C:\\", 3);
  key.setText(L"Unspellable", REG_SZ, L"C:\\Caf\u00E9");

  const struct {
    const char* name;
    std::string expected;
  } cases[] = {
      {"BootDirectory", std::string(kJapaneseBootCp932)},
      {"bootdirectory", std::string(kJapaneseBootCp932)},  // names ignore case
      {"Expandable", "%ProgramFiles%\\RV7\\"},             // taken as stored
      {"Empty", ""},
      {"Unterminated", "C:\\Unterminated"},
      {"EmbeddedNul", "C:\\A"},
      {"Count", "fallback"},        // not a string: missing
      {"Binary", "fallback"},       // not a string: missing
      {"Unspellable", "fallback"},  // no CP932 spelling: no look-alike folder
      {"Missing", "fallback"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.name), c.expected) << c.name;
  }
}

TEST(RegistryWin32Test, Reads32BitViewWhereThe32BitGameWrote) {
  TestKey key32(testKeyPath(), KEY_WOW64_32KEY);
  TestKey key64(testKeyPath(), KEY_WOW64_64KEY);
  if (!key32.created() || !key64.created()) GTEST_SKIP() << "no write access";
  key32.setText(L"BootDirectory", REG_SZ, L"C:\\View32\\rv7.exe");
  key64.setText(L"BootDirectory", REG_SZ, L"C:\\View64\\rv7.exe");
  EXPECT_EQ(read("BootDirectory"), "C:\\View32\\rv7.exe");
}

TEST(RegistryWin32Test, MissingKeyGivesTheDefaultAndIsNotCreated) {
  const std::string path = testKeyPathCp932() + "Absent";
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, path, "BootDirectory", "fallback"),
            "fallback");
  EXPECT_EQ(RegReadString(RegistryRoot::LocalMachine, path, "BootDirectory", ""), "");
  for (const auto view :
       {static_cast<REGSAM>(KEY_WOW64_32KEY), static_cast<REGSAM>(KEY_WOW64_64KEY)}) {
    HKEY key = nullptr;
    const std::wstring wide = testKeyPath() + L"Absent";
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, KEY_READ | view, &key),
              ERROR_FILE_NOT_FOUND);
  }
}

// The folder the user chose survives in HKEY_CURRENT_USER, Japanese names
// and all, until it is forgotten. A folder remembered before the test is put
// back afterwards.
TEST(RegistryGameFolderStore, RemembersAndForgetsTheChosenFolder) {
  RegistryGameFolderStore store;
  const std::optional<std::filesystem::path> before = store.rememberedGameFolder();
  const std::filesystem::path chosen(L"C:\\Games\\\u30B2\u30FC\u30E0\u8868");
  store.rememberGameFolder(chosen);
  EXPECT_EQ(store.rememberedGameFolder(), chosen);
  store.forgetGameFolder();
  EXPECT_EQ(store.rememberedGameFolder(), std::nullopt);
  if (before) store.rememberGameFolder(*before);
}

}  // namespace
}  // namespace ws::platform

#endif
