// The registry reader on Windows: the real registry, read only.
#include <windows.h>

#include <vector>

#include "platform/registry.h"
#include "platform/text.h"

namespace ws::platform {
namespace {

std::wstring cp932ToWide(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int size =
      MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), size);
  return wide;
}

std::optional<std::string> wideToCp932(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int wideSize = static_cast<int>(wide.size());
  // No best-fit look-alikes and no "?": a folder name that CP932 cannot spell
  // would otherwise turn into the name of another folder, or of none.
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0,
                                       nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out.data(), size, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

class OpenKey {
 public:
  explicit OpenKey(HKEY key) : key_(key) {}
  ~OpenKey() { RegCloseKey(key_); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

}  // namespace

std::string RegReadString(RegistryRoot root, std::string_view key, std::string_view valueName,
                          std::string_view defaultValue) {
  std::string result(defaultValue);
  if (root != RegistryRoot::LocalMachine) return result;

  // Read access only: full access is refused to standard users below the
  // local machine root. The host game is a 32-bit program, so its key lives
  // in the 32-bit view even when this program is built for 64 bits.
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, cp932ToWide(key).c_str(), 0, KEY_READ | KEY_WOW64_32KEY,
                    &handle) != ERROR_SUCCESS) {
    return result;
  }
  OpenKey opened(handle);

  const std::wstring name = cp932ToWide(valueName);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return result;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return result;  // another type counts as missing

  // One spare character so that a value stored without its terminator still
  // ends inside the buffer.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bufferSize = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &bufferSize) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return result;
  }
  // The stored value, cut at its first NUL; size 0 gives the empty text.
  std::wstring value(buffer.data(), bufferSize / sizeof(wchar_t));
  if (const auto nul = value.find(L'\0'); nul != std::wstring::npos) value.resize(nul);
  if (auto cp932 = wideToCp932(value)) return *cp932;
  return result;
}

}  // namespace ws::platform
