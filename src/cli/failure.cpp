#include "cli/failure.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "codec/save_container.h"
#include "platform/text.h"
#include "world/world_messages.h"

namespace ws::cli {

namespace {

// Marks both ends of a quote in a message (see quoteAsGiven).
constexpr char kQuoteMark = '\x1B';
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void appendHexEscape(std::string& out, unsigned char byte) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

// The length of the valid UTF-8 sequence at the start of `text`, 0 when
// there is none; `codePoint` receives its value.
std::size_t utf8Sequence(std::string_view text, std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

void appendControl(std::string& out, std::uint32_t codePoint) {
  switch (codePoint) {
    case '\n':
      out += "\\n";
      return;
    case '\t':
      out += "\\t";
      return;
    case '\r':
      out += "\\r";
      return;
    default:
      break;
  }
  if (codePoint < 0x100) {
    appendHexEscape(out, static_cast<unsigned char>(codePoint));
    return;
  }
  out += "\\u{" + std::to_string(codePoint) + "}";
}

// Control characters: C0, DEL and C1 (a terminal may act on U+009B as on
// ESC [), and the marks that reorder text on screen.
bool isControl(std::uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F) ||
         (codePoint >= 0x202A && codePoint <= 0x202E) ||
         (codePoint >= 0x2066 && codePoint <= 0x2069);
}

std::string escaped(std::string_view utf8, bool backslash) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    std::uint32_t codePoint = 0;
    const std::size_t length = utf8Sequence(utf8, codePoint);
    if (length == 0) {
      appendHexEscape(out, static_cast<unsigned char>(utf8[0]));
      utf8.remove_prefix(1);
      continue;
    }
    if (isControl(codePoint)) {
      appendControl(out, codePoint);
    } else if (codePoint == '\\' && backslash) {
      out += "\\\\";
    } else {
      out.append(utf8.substr(0, length));
    }
    utf8.remove_prefix(length);
  }
  return out;
}

// CP932 text as UTF-8, each character converted on its own so that a byte
// that spells nothing is kept (as \xNN) instead of becoming U+FFFD.
std::string cp932Text(std::string_view cp932, bool backslash) {
  std::string out;
  while (!cp932.empty()) {
    const auto lead = static_cast<unsigned char>(cp932[0]);
    const std::size_t length = platform::isCp932LeadByte(lead) && cp932.size() >= 2 ? 2 : 1;
    const std::string utf8 =
        lead < 0x80 ? std::string(1, cp932[0]) : platform::cp932ToUtf8(cp932.substr(0, length));
    if (utf8.find(kReplacement) != std::string::npos || utf8.empty()) {
      for (std::size_t i = 0; i < length; ++i)
        appendHexEscape(out, static_cast<unsigned char>(cp932[i]));
    } else {
      out += escaped(utf8, backslash);
    }
    cp932.remove_prefix(length);
  }
  return out;
}

// A message: CP932 outside the quote marks, UTF-8 as the user gave it inside.
std::string messageText(std::string_view message) {
  std::string text;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= message.size(); ++i) {
    if (i < message.size() && message[i] != kQuoteMark) continue;
    const std::string_view part = message.substr(start, i - start);
    if (quoted) {
      text += escapeText(part);
    } else {
      // The game puts a file's name on the line above its message; one line
      // here, so the two are joined as "NAME: MESSAGE".
      std::string joined(part);
      for (std::size_t at = joined.find('\n'); at != std::string::npos;
           at = joined.find('\n', at)) {
        joined.replace(at, 1, ": ");
      }
      text += cp932Text(joined, false);
    }
    quoted = !quoted;
    start = i + 1;
  }
  return text;
}

// The game's own messages say what is wrong in Japanese alone; the command
// line follows them with the same in English, unless a detail says more.
std::string_view englishFor(std::string_view message) {
  struct Translation {
    std::string_view japanese;
    std::string_view english;
  };
  static constexpr Translation kTranslations[] = {
      {world::kNoLinkGateMessage, "the world has no link gate area"},
      {world::kTownNeedsThreeHousesMessage, "a town needs at least 3 houses chosen"},
      {world::kLinkGateNeedsDungeonMessage, "a link gate area needs at least 1 dungeon chosen"},
      {world::kAtMostFourDungeonsMessage, "at most 4 dungeons, a tower counting as one"},
      {world::kAtMostFourAreasMessage, "at most 4 areas"},
      {world::kLinkGateObjectMissingMessage, "the area's map holds no link gate object"},
      {world::kTownChurchMissingMessage, "the area's map holds no church"},
      {world::kFileNotFoundSuffix, "no such file"},
      {world::kFileUnreadableSuffix, "the file cannot be read"},
      {codec::kNotASaveFileText, "not a save file"},
  };
  for (const Translation& translation : kTranslations) {
    if (message.ends_with(translation.japanese)) return translation.english;
  }
  return {};
}

}  // namespace

std::string quoteAsGiven(std::string_view utf8) {
  // An escape never occurs in CP932 text; one in the user's own text is
  // written out as the escape it would be printed as anyway.
  std::string quoted(1, kQuoteMark);
  for (const char c : utf8) {
    if (c == kQuoteMark) {
      quoted += "\\x1b";
    } else {
      quoted += c;
    }
  }
  quoted += kQuoteMark;
  return quoted;
}

std::string_view nearestName(std::string_view name, const std::vector<std::string_view>& known) {
  // Levenshtein distance; a slip is one edit away in a short name, two in
  // a name of four letters or more.
  const auto distance = [](std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
      row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
      std::size_t diagonal = row[0];
      row[0] = i;
      for (std::size_t j = 1; j <= b.size(); ++j) {
        const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                          std::tolower(static_cast<unsigned char>(b[j - 1]));
        const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
        diagonal = row[j];
        row[j] = next;
      }
    }
    return row[b.size()];
  };
  std::string_view best;
  std::size_t bestDistance = (name.size() >= 4 ? 2 : 1) + 1;
  for (const std::string_view candidate : known) {
    const std::size_t d = distance(name, candidate);
    if (d < bestDistance) {
      best = candidate;
      bestDistance = d;
    }
  }
  return best;
}

std::string escapeText(std::string_view utf8) {
  return escaped(utf8, false);
}

std::string escapeName(std::string_view utf8) {
  return escaped(utf8, true);
}

std::string cp932Name(std::string_view cp932) {
  return cp932Text(cp932, true);
}

std::string inputName(const std::filesystem::path& path) {
  return isStandardOutput(path) ? "<stdin>" : escapeText(pathToUtf8(path));
}

std::string outputName(const std::filesystem::path& path) {
  return isStandardOutput(path) ? "<stdout>" : escapeText(pathToUtf8(path));
}

std::string formatFailure(std::string_view where, const Error& error) {
  std::string line = "worldsmith-cli: ";
  if (!where.empty()) line += std::string(where) + ": ";
  line += messageText(error.message);
  const std::string_view detail = error.detail.empty() ? englishFor(error.message) : error.detail;
  if (!detail.empty()) line += " (" + messageText(detail) + ")";
  return line;
}

int reportFailure(std::string_view where, const Error& error) {
  std::cerr << formatFailure(where, error) << '\n';
  return kExitBadInput;
}

}  // namespace ws::cli
