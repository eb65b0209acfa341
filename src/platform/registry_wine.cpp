// The registry as Wine keeps it: the prefix's system.reg, a text file that
// holds the local machine root. Its layout:
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to \\Machine
//   #arch=win64
//
//   [Software\\TOLVERA\\RV7] 1700000000
//   #time=1da0c0ffee0000
//   "BootDirectory"="C:\\Games\\RV7\\"
//   "Expandable"=str(2):"%ProgramFiles%\\RV7"
//   "Count"=dword:00000001
//   @="the key's default value"
//
// Key names and strings are UTF-16 text written as ASCII with C-like escapes:
// \\ \" \[ \] stand for themselves, \a \b \e \f \n \r \t \v for control
// characters, \x with up to four hex digits and \ with up to three octal
// digits for any UTF-16 code unit. Strings that are empty or not properly
// terminated are written as hex(1): or hex(2): byte lists (UTF-16LE), which
// may continue over lines ending in a backslash.
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "platform/little_endian.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/unicode.h"

namespace ws::platform {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::u16string_view kSoftwarePrefix = u"software\\";
constexpr std::u16string_view kWow6432Node = u"Wow6432Node\\";
// A prefix's system.reg holds a few megabytes; far above that it is no
// registry, and a FIFO or device at its place is never waited on or drained.
constexpr std::uint64_t kMaxSystemRegSize = std::uint64_t{256} << 20;

char16_t foldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool equalFolded(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character a one-letter escape (a backslash and n, say) stands for;
// none for other letters.
std::optional<char16_t> letterEscape(char escape) {
  constexpr std::string_view kLetters = "abefnrtv";
  constexpr std::u16string_view kMeanings = u"\a\b\x1b\f\n\r\t\v";
  const std::size_t found = kLetters.find(escape);
  if (found == std::string_view::npos) return std::nullopt;
  return kMeanings[found];
}

// A backslash, x and up to four hex digits (`pos` is past the x); without
// digits it stands for x.
char16_t hexEscape(std::string_view line, std::size_t& pos) {
  unsigned value = 0;
  int digits = 0;
  while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
    value = value * 16 + static_cast<unsigned>(hexDigit(line[pos++]));
    ++digits;
  }
  return digits > 0 ? static_cast<char16_t>(value) : u'x';
}

// A backslash and up to three octal digits, the first of which is `first`.
char16_t octalEscape(char first, std::string_view line, std::size_t& pos) {
  unsigned value = static_cast<unsigned>(first - '0');
  for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7';
       ++digits) {
    value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
  }
  return static_cast<char16_t>(value);
}

// Reads an escaped string from `pos` up to the unescaped `terminator` and
// leaves `pos` after it. Nothing when the line ends first.
std::optional<std::u16string> parseEscaped(std::string_view line, std::size_t& pos,
                                           char terminator) {
  std::u16string out;
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == terminator) {
      ++pos;
      return out;
    }
    if (c != '\\') {
      appendUtf16(out, decodeUtf8(line, pos));
      continue;
    }
    if (++pos >= line.size()) return std::nullopt;
    const char escape = line[pos++];
    if (const std::optional<char16_t> letter = letterEscape(escape)) {
      out += *letter;
    } else if (escape == 'x') {
      out += hexEscape(line, pos);
    } else if (escape >= '0' && escape <= '7') {
      out += octalEscape(escape, line, pos);
    } else {
      --pos;  // any other escaped character stands for itself
      appendUtf16(out, decodeUtf8(line, pos));
    }
  }
  return std::nullopt;
}

// Appends the bytes of a "hex:" list ("43,00,3a,00") to `bytes`. Returns
// false on anything that is not such a list.
bool parseHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ',' || c == ' ' || c == '\t') {
      ++pos;
      continue;
    }
    if (pos + 1 >= text.size() || hexDigit(c) < 0 || hexDigit(text[pos + 1]) < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(hexDigit(c) * 16 + hexDigit(text[pos + 1])));
    pos += 2;
  }
  return true;
}

std::u16string utf16FromLittleEndian(const std::vector<std::uint8_t>& bytes) {
  std::u16string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(loadU16(bytes, i).value_or(0));
  }
  return out;
}

std::u16string trimSeparators(std::u16string text) {
  while (!text.empty() && text.front() == u'\\')
    text.erase(text.begin());
  while (!text.empty() && text.back() == u'\\')
    text.pop_back();
  return text;
}

// The key locations to look in, best first. A 32-bit program's keys below
// Software live in Software\Wow6432Node of a 64-bit prefix; a 32-bit prefix
// has them in place.
std::vector<std::u16string> keyLocations(std::string_view cp932Key) {
  const std::u16string key = trimSeparators(cp932ToUtf16(cp932Key));
  std::vector<std::u16string> locations;
  if (key.size() > kSoftwarePrefix.size() &&
      equalFolded(std::u16string_view(key).substr(0, kSoftwarePrefix.size()), kSoftwarePrefix)) {
    locations.push_back(key.substr(0, kSoftwarePrefix.size()) + std::u16string(kWow6432Node) +
                        key.substr(kSoftwarePrefix.size()));
  }
  locations.push_back(key);
  return locations;
}

// The value's UTF-16 text when `data` (everything after "=") is a string
// value: "..." (REG_SZ) or str(2):"..." (REG_EXPAND_SZ). Hex forms are
// handled by the caller.
std::optional<std::u16string> parseStringData(std::string_view data) {
  std::size_t pos = 0;
  if (data.starts_with("str(1):") || data.starts_with("str(2):")) pos = 7;
  if (pos >= data.size() || data[pos] != '"') return std::nullopt;
  ++pos;
  return parseEscaped(data, pos, '"');
}

bool isHexStringType(std::string_view data) {
  return data.starts_with("hex(1):") || data.starts_with("hex(2):");
}

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
    line.remove_suffix(1);
  return line;
}

}  // namespace

namespace {

// One pass over the lines of system.reg, looking for the value `wantedName`
// below any of the key's locations; the first location that holds it wins.
class RegistryScan {
 public:
  RegistryScan(std::vector<std::u16string> locations, std::u16string wantedName)
      : locations_(std::move(locations)),
        wantedName_(std::move(wantedName)),
        found_(locations_.size()) {}

  void line(std::string_view line) {
    if (continuation_) {
      continuedLine(line);
    } else if (line.starts_with('[')) {
      keyLine(line);
    } else if (current_ != kNoLocation && (line.starts_with('"') || line.starts_with('@'))) {
      valueLine(line);
    }
    if (hexLocation_ != kNoLocation && !continuation_) finishHex();
  }

  // The value found, cut at its first NUL as the registry call returns it.
  std::optional<std::string> result() {
    if (hexLocation_ != kNoLocation) finishHex();
    for (const auto& value : found_) {
      if (!value) continue;
      std::u16string_view text = *value;
      text = text.substr(0, text.find(u'\0'));
      return utf16ToCp932(text);
    }
    return std::nullopt;
  }

 private:
  // Optional indices made GCC's -O3 flow analysis report false "maybe
  // uninitialized" warnings; kNoLocation stands for "none" instead.
  static constexpr std::size_t kNoLocation = static_cast<std::size_t>(-1);

  // A line after one that ended in a backslash: more of a hex value.
  void continuedLine(std::string_view line) {
    continuation_ = line.ends_with('\\');
    if (hexLocation_ != kNoLocation) {
      hexValid_ = hexValid_ &&
                  parseHexBytes(continuation_ ? line.substr(0, line.size() - 1) : line, hexBytes_);
    }
  }

  // "[KEY] ...": the section we are in, when it is one of the locations.
  void keyLine(std::string_view line) {
    current_ = kNoLocation;
    std::size_t pos = 1;
    if (const auto name = parseEscaped(line, pos, ']')) {
      const std::u16string keyName = trimSeparators(*name);
      for (std::size_t i = 0; i < locations_.size(); ++i) {
        if (equalFolded(keyName, locations_[i])) current_ = i;
      }
    }
  }

  // "NAME"=DATA or @=DATA inside a wanted section.
  void valueLine(std::string_view line) {
    std::optional<std::u16string> name;
    std::size_t pos = 1;
    if (line.front() == '@') {
      name = std::u16string();
    } else {
      name = parseEscaped(line, pos, '"');
    }
    if (!name || pos >= line.size() || line[pos] != '=') return;
    const std::string_view data = line.substr(pos + 1);
    continuation_ = data.ends_with('\\');
    if (!equalFolded(*name, wantedName_) || found_[current_]) return;
    if (isHexStringType(data)) {
      hexLocation_ = current_;
      hexBytes_.clear();
      const std::string_view bytes = data.substr(7);
      hexValid_ =
          parseHexBytes(continuation_ ? bytes.substr(0, bytes.size() - 1) : bytes, hexBytes_);
    } else {
      found_[current_] = parseStringData(data);
    }
  }

  // A hex(1)/hex(2) value collected over its lines is complete.
  void finishHex() {
    if (hexValid_) found_[hexLocation_] = utf16FromLittleEndian(hexBytes_);
    hexLocation_ = kNoLocation;
  }

  std::vector<std::u16string> locations_;
  std::u16string wantedName_;
  std::vector<std::optional<std::u16string>> found_;
  std::size_t current_ = kNoLocation;      // the section we are in, when it is wanted
  std::size_t hexLocation_ = kNoLocation;  // a hex value of the wanted name being collected
  std::vector<std::uint8_t> hexBytes_;
  bool hexValid_ = true;
  bool continuation_ = false;  // the previous line ended in a backslash
};

}  // namespace

std::optional<std::string> findWineRegistryString(std::string_view systemRegText,
                                                  std::string_view key,
                                                  std::string_view valueName) {
  if (systemRegText.starts_with("\xEF\xBB\xBF")) systemRegText.remove_prefix(3);
  if (!systemRegText.starts_with(kHeader)) return std::nullopt;

  RegistryScan scan(keyLocations(key), cp932ToUtf16(valueName));
  std::size_t lineStart = 0;
  while (lineStart < systemRegText.size()) {
    std::size_t lineEnd = systemRegText.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = systemRegText.size();
    scan.line(withoutLineEnd(systemRegText.substr(lineStart, lineEnd - lineStart)));
    lineStart = lineEnd + 1;
  }
  return scan.result();
}

std::optional<std::string> readWineRegistryString(const std::filesystem::path& systemReg,
                                                  std::string_view key,
                                                  std::string_view valueName) {
  const FileRead file = readRegularFile(systemReg, kMaxSystemRegSize);
  if (!file.ok()) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  return findWineRegistryString(text, key, valueName);
}

std::optional<std::filesystem::path> winePrefixFolder() {
#ifdef _WIN32
  return std::nullopt;  // the game runs natively there
#else
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
    return std::filesystem::path(prefix);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".wine";
  }
  return std::nullopt;
#endif
}

#ifndef _WIN32
std::string RegReadString(RegistryRoot root, std::string_view key, std::string_view valueName,
                          std::string_view defaultValue) {
  if (root != RegistryRoot::LocalMachine) return std::string(defaultValue);
  const auto prefix = winePrefixFolder();
  if (!prefix) return std::string(defaultValue);
  if (auto value = readWineRegistryString(*prefix / "system.reg", key, valueName)) return *value;
  return std::string(defaultValue);
}
#endif

}  // namespace ws::platform
