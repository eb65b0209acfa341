#include "platform/sibling_names.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <type_traits>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace ws::platform {
namespace {

namespace fs = std::filesystem;

// The longest file name the usual file systems hold (bytes on POSIX, UTF-16
// units on Windows).
constexpr std::size_t kMaxFileNameLength = 255;
// Taken names in a row before giving up: with 62^6 names, only a folder
// being filled on purpose gets there.
constexpr int kAttempts = 100;

using Char = fs::path::value_type;

// `name` shortened to at most `room` units without splitting a character:
// never inside a UTF-8 sequence or between the halves of a UTF-16
// surrogate pair.
std::basic_string<Char> cutToFit(std::basic_string<Char> name, std::size_t room) {
  if (name.size() <= room) return name;
  std::size_t cut = room;
  if constexpr (sizeof(Char) == 1) {
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
      --cut;
  } else {
    const auto unit =
        static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(name[cut]));
    if (cut > 0 && unit >= 0xDC00 && unit <= 0xDFFF) --cut;
  }
  name.resize(cut);
  return name;
}

std::mt19937_64& generator() {
  static std::mt19937_64 instance = [] {
    std::random_device device;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                       static_cast<unsigned>(now >> 32)};
    return std::mt19937_64(seed);
  }();
  return instance;
}

// Whether creating failed only because the name is in use.
bool nameTaken(std::error_code error) {
#ifdef _WIN32
  if (error.category() == std::system_category() &&
      (error.value() == ERROR_FILE_EXISTS || error.value() == ERROR_ALREADY_EXISTS)) {
    return true;
  }
#endif
  return error == std::errc::file_exists;
}

}  // namespace

fs::path temporarySiblingName(const fs::path& target, std::string_view tag) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  const std::size_t fixed = 2 + tag.size() + kSiblingSuffixLength;  // the two dots, tag, XXXXXX
  const std::size_t room = kMaxFileNameLength > fixed ? kMaxFileNameLength - fixed : 0;
  std::basic_string<Char> name(1, Char('.'));
  name += cutToFit(target.filename().native(), room);
  name += Char('.');
  for (const char letter : tag)
    name += static_cast<Char>(letter);
  for (std::size_t i = 0; i < kSiblingSuffixLength; ++i)
    name += static_cast<Char>(kLetters[pick(generator())]);
  return target.parent_path() / name;
}

MadeSibling makeFreshSibling(const fs::path& target, std::string_view tag,
                             const std::function<std::error_code(const fs::path&)>& make) {
  MadeSibling made;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    made.path = temporarySiblingName(target, tag);
    made.error = make(made.path);
    if (!nameTaken(made.error)) break;
  }
  if (!made.ok()) made.path.clear();
  return made;
}

MadeSibling makeTemporaryFolderBeside(const fs::path& target, std::string_view tag) {
  return makeFreshSibling(target, tag, [](const fs::path& name) {
    std::error_code error;
    // An existing folder is no error to create_directory; here it is a
    // taken name.
    if (!fs::create_directory(name, error) && !error) {
      error = std::make_error_code(std::errc::file_exists);
    }
    return error;
  });
}

}  // namespace ws::platform
