#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "codec/codec_header.h"
#include "codec/save_backup.h"
#include "codec/save_container.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/state_folder.h"
#include "platform/text.h"
#include "world/save_body_layout.h"

namespace ws::cli {

namespace {

// Marks both ends of a quote in a message. An escape never occurs in CP932
// text, nor in a name the user typed (it is replaced there).
constexpr char kQuoteMark = '\x1B';

}  // namespace

std::string quoteAsGiven(std::string_view utf8) {
  std::string quoted(1, kQuoteMark);
  for (const char c : utf8)
    quoted += c == kQuoteMark ? '?' : c;
  quoted += kQuoteMark;
  return quoted;
}

Result<int> areaNamed(const gamedata::AreaCatalogue& catalogue, std::string_view utf8Name) {
  const auto cp932 = platform::utf8ToCp932(utf8Name);
  if (cp932 && !cp932->empty()) {
    const auto found = std::find(catalogue.begin(), catalogue.end(), *cp932);
    if (found != catalogue.end()) return static_cast<int>(found - catalogue.begin());
  }
  return Error{"no area named " + quoteAsGiven(utf8Name) + " in the catalogue"};
}

int reportError(const Error& error) {
  // CP932 outside the quotes, UTF-8 as the user gave it inside.
  std::string text;
  bool quoted = false;
  std::size_t start = 0;
  // What exactly went wrong follows the system's message.
  const std::string message = withDetail(error);
  for (std::size_t i = 0; i <= message.size(); ++i) {
    if (i < message.size() && message[i] != kQuoteMark) continue;
    const std::string_view part(message.data() + start, i - start);
    text += quoted ? std::string(part) : platform::cp932ToUtf8(part);
    quoted = !quoted;
    start = i + 1;
  }
  std::cerr << text << '\n';
  return kExitBadInput;
}

Result<std::filesystem::path> gameFolder(const Context& context) {
  if (auto folder = platform::locateGameFolder(context.gameDir)) return *folder;
  return Error{"no game folder: give --game-dir DIR, set WORLDSMITH_GAME_DIR, or install the game"};
}

Result<std::vector<std::uint8_t>> readInput(const std::filesystem::path& path,
                                            std::uint64_t ceiling) {
  platform::FileRead read = platform::readRegularFile(path, ceiling);
  if (!read.ok()) return Error{read.message};
  return std::move(read.bytes);
}

Error namingDamagedFile(const std::filesystem::path& path, const Error& error) {
  if (error.message != codec::kDecodeErrorMessage) return error;
  return Error{platform::pathForMessage(path) + ": " + error.message, error.detail};
}

namespace {

bool keepBackups = true;

Status backUpReplacedSave(const std::filesystem::path& path) {
  if (!keepBackups) return {};
  const std::optional<std::filesystem::path> state = platform::userStateFolder();
  if (!state) {
    return Error{"cannot back up " + platform::pathForMessage(path) +
                 ": no state folder (set HOME or XDG_STATE_HOME, or give --no-backup)"};
  }
  const auto kept = codec::backUpSaveFile(path, platform::backupFolderOf(*state));
  if (!kept) return Error{kept.error().message + "; nothing written (--no-backup skips the copy)"};
  if (*kept) std::cerr << "kept the replaced save as " << pathToUtf8(**kept) << '\n';
  return {};
}

}  // namespace

void keepBackupsOfReplacedSaves(bool keep) {
  keepBackups = keep;
}

bool isStandardOutput(const std::filesystem::path& path) {
  return path == std::filesystem::path("-");
}

Status writeOutput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  if (!isStandardOutput(path)) {
    if (Status kept = backUpReplacedSave(path); !kept) return kept;
    return platform::writeFileAtomic(path, bytes);
  }
  std::cout.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  if (!std::cout) return Error{"cannot write the standard output"};
  return {};
}

Status writeSaveOutput(const std::filesystem::path& path, std::span<const std::uint8_t> body) {
  if (!isStandardOutput(path)) {
    if (auto size = codec::checkSaveBodySize(body); !size) return size;
    if (Status kept = backUpReplacedSave(path); !kept) return kept;
    return codec::writeSaveFile(path, body);
  }
  if (auto size = codec::checkSaveBodySize(body); !size) return size;
  return writeOutput(path, codec::encodeSaveFile(body));
}

Result<std::string> worldNameFromUtf8(std::string_view utf8) {
  const auto name = platform::utf8ToCp932(utf8);
  if (!name) return Error{"the name " + quoteAsGiven(utf8) + " cannot be written in CP932"};
  // The body's field ends at the first NUL: a name holding one would be cut.
  if (name->find('\0') != std::string::npos) {
    return Error{"the name holds a NUL character, which would end it early"};
  }
  if (name->size() > world::kWorldNameMaxBytes) {
    return Error{"the name takes " + std::to_string(name->size()) + " bytes in CP932; at most " +
                 std::to_string(world::kWorldNameMaxBytes) + " fit"};
  }
  return *name;
}

int finishStandardOutput(int exitCode) {
  std::cout.flush();
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int reason = errno;
  if (flushed && std::cout && std::ferror(stdout) == 0) return exitCode;
  std::cerr << "worldsmith-cli: cannot write the standard output";
  if (reason != 0) std::cerr << ": " << std::generic_category().message(reason);
  std::cerr << '\n';
  return exitCode == kExitSuccess ? kExitBadInput : exitCode;
}

}  // namespace ws::cli
