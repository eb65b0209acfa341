#include <windows.h>

#include <string>
#include <vector>

#include "platform/game_folder_store.h"

namespace ws::platform {

namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Worldsmith";
constexpr wchar_t kStoreValue[] = L"GameFolder";

}  // namespace

std::optional<std::filesystem::path> RegistryGameFolderStore::rememberedGameFolder() {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kStoreKey, kStoreValue, RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS ||
      size < sizeof(wchar_t)) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kStoreKey, kStoreValue, RRF_RT_REG_SZ, nullptr, text.data(),
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring folder(text.data());
  if (folder.empty()) return std::nullopt;
  return std::filesystem::path(folder);
}

void RegistryGameFolderStore::rememberGameFolder(const std::filesystem::path& folder) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;  // not remembered: the question comes again next time
  }
  const std::wstring text = folder.wstring();
  RegSetValueExW(key, kStoreValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void RegistryGameFolderStore::forgetGameFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, kStoreValue);
  RegCloseKey(key);
}

}  // namespace ws::platform
