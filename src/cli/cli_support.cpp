#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/commands.h"
#include "cli/failure.h"
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

Result<int> areaNamed(const gamedata::AreaCatalogue& catalogue, std::string_view utf8Name) {
  const auto cp932 = platform::utf8ToCp932(utf8Name);
  if (cp932 && !cp932->empty()) {
    const auto found = std::find(catalogue.begin(), catalogue.end(), *cp932);
    if (found != catalogue.end()) return static_cast<int>(found - catalogue.begin());
  }
  return Error{"no area named " + quoteAsGiven(utf8Name) + " in the catalogue"};
}

int reportError(const Error& error) {
  return reportFailure({}, error);
}

Result<std::filesystem::path> gameFolder(const Context& context) {
  if (auto folder = platform::locateGameFolder(context.gameDir)) return *folder;
  return Error{"no game folder: give --game-dir DIR, set WORLDSMITH_GAME_DIR, or install the game"};
}

namespace {

// Standard input read whole, refused once it holds more than `ceiling` bytes.
Result<std::vector<std::uint8_t>> readStandardInput(std::uint64_t ceiling) {
  std::vector<std::uint8_t> bytes;
  std::array<char, 1 << 16> chunk{};
  while (std::cin.read(chunk.data(), chunk.size()) || std::cin.gcount() > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + std::cin.gcount());
    if (bytes.size() > ceiling) {
      return Error{"cannot read",
                   "too large (more than " + std::to_string(ceiling) + " bytes expected)"};
    }
  }
  if (std::cin.bad()) return Error{"cannot read", "reading the standard input failed"};
  std::cin.clear();
  return bytes;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

Result<std::vector<std::uint8_t>> readInput(const std::filesystem::path& path,
                                            std::uint64_t ceiling) {
  if (isStandardOutput(path)) return readStandardInput(ceiling);
  platform::FileRead read = platform::readRegularFile(path, ceiling);
  if (!read.ok()) return Error{"cannot read", read.reason};
  return std::move(read.bytes);
}

Error withoutFileName(const Error& error, const std::filesystem::path& path) {
  const std::string name = platform::pathForMessage(path);
  const std::string_view message = error.message;
  const auto reworded = [&](std::string_view text, std::string_view reason) {
    std::string detail(reason);
    if (!error.detail.empty()) detail += (detail.empty() ? "" : "; ") + error.detail;
    return Error{std::string(text), detail};
  };
  for (const std::string_view verb : {"cannot read", "cannot write"}) {
    const std::string prefix = std::string(verb) + " " + name;
    if (startsWith(message, prefix + ": ")) {
      return reworded(verb, message.substr(prefix.size() + 2));
    }
    if (message == prefix) return reworded(verb, "");
  }
  // "NAME: error in decord", and the game's "NAME\nはセーブファイルではありません".
  for (const std::string_view separator : {": ", "\n"}) {
    if (startsWith(message, name + std::string(separator))) {
      return Error{std::string(message.substr(name.size() + separator.size())), error.detail};
    }
  }
  return error;
}

Result<std::vector<std::uint8_t>> readSaveInput(const std::filesystem::path& path) {
  auto file = readInput(path, codec::kMaxSaveFileSize);
  if (!file) return file.error();
  // The game's message names the file on a line of its own; here the file
  // comes first on the line instead.
  auto body = codec::decodeSaveFile(*file, "");
  if (!body) return withoutFileName(body.error(), "");
  return body;
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
  errno = 0;
  std::cout.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  const int reason = errno;
  if (!std::cout) {
    return Error{"cannot write", reason != 0 ? std::generic_category().message(reason) : ""};
  }
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
  // What was written may fail only now, when the buffers are flushed.
  errno = 0;
  std::cout.flush();
  const bool flushed = std::fflush(stdout) == 0;
  const int reason = errno;
  if (flushed && std::cout && std::ferror(stdout) == 0) return exitCode;
  // A command that failed has said why already: a write to "-" that failed
  // is that failure, and is not reported twice.
  if (exitCode != kExitSuccess) return exitCode;
  return reportFailure(
      "<stdout>",
      Error{"cannot write", reason != 0 ? std::generic_category().message(reason) : std::string()});
}

}  // namespace ws::cli
