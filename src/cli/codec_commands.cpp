#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "codec/codec_header.h"
#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "codec/save_container.h"
#include "platform/file_io.h"
#include "platform/text.h"

namespace ws::cli {
namespace {

using codec::Bytes;

struct FilePair {
  std::filesystem::path in;
  std::filesystem::path out;
};

struct PackOptions {
  std::filesystem::path body;
  std::filesystem::path out;
  std::optional<std::string> name;  // UTF-8
};

Result<Bytes> readInput(const std::filesystem::path& path) {
  auto bytes = platform::readWholeFile(path);
  if (!bytes) return Error{"cannot read " + platform::pathForMessage(path)};
  return std::move(*bytes);
}

// One stream counts its bytes and bits in signed 32-bit fields.
Status checkStreamSize(const std::filesystem::path& path, std::size_t size) {
  if (size <= codec::kMaxOriginalSize) return {};
  return Error{platform::pathForMessage(path) +
               " is too large for one stream: " + std::to_string(size) + " bytes (at most " +
               std::to_string(codec::kMaxOriginalSize) + ")"};
}

int finish(const Status& status) {
  return status ? kExitSuccess : reportError(status.error());
}

int runEncode(const FilePair& files) {
  auto source = readInput(files.in);
  if (!source) return reportError(source.error());
  if (auto fits = checkStreamSize(files.in, source->size()); !fits)
    return reportError(fits.error());
  return finish(platform::writeFileAtomic(files.out, codec::encodeStream(*source)));
}

int runDecode(const FilePair& files) {
  auto stream = readInput(files.in);
  if (!stream) return reportError(stream.error());
  auto decoded = codec::decodeStream(*stream);
  if (!decoded) return reportError(decoded.error());
  return finish(platform::writeFileAtomic(files.out, *decoded));
}

// Puts the name into the body's 32-byte world-name field, NUL-terminated and
// zero-filled, as the editor's name field would.
Status setWorldName(Bytes& body, const std::filesystem::path& bodyPath, const std::string& utf8) {
  const auto name = platform::utf8ToCp932(utf8);
  if (!name) return Error{"the name " + utf8 + " cannot be written in CP932"};
  if (name->size() >= codec::kWorldNameSize) {
    return Error{"the name takes " + std::to_string(name->size()) + " bytes in CP932; at most " +
                 std::to_string(codec::kWorldNameSize - 1) + " fit"};
  }
  const std::size_t fieldEnd = codec::kBodyWorldNameOffset + codec::kWorldNameSize;
  if (body.size() < fieldEnd) {
    return Error{platform::pathForMessage(bodyPath) + " is too short to hold the world name (" +
                 std::to_string(body.size()) + " bytes; the name field ends at " +
                 std::to_string(fieldEnd) + ")"};
  }
  const auto field = body.begin() + static_cast<std::ptrdiff_t>(codec::kBodyWorldNameOffset);
  std::fill_n(field, codec::kWorldNameSize, std::uint8_t{0});
  std::copy(name->begin(), name->end(), field);
  return {};
}

int runPack(const PackOptions& options) {
  auto body = readInput(options.body);
  if (!body) return reportError(body.error());
  if (auto fits = checkStreamSize(options.body, body->size()); !fits) {
    return reportError(fits.error());
  }
  if (options.name) {
    if (auto named = setWorldName(*body, options.body, *options.name); !named) {
      return reportError(named.error());
    }
  }
  return finish(codec::writeSaveFile(options.out, *body));
}

int runUnpack(const FilePair& files) {
  auto body = codec::readSaveFile(files.in);
  if (!body) return reportError(body.error());
  if (!body->has_value()) {
    return reportError(Error{platform::pathForMessage(files.in) + ": no such file"});
  }
  return finish(platform::writeFileAtomic(files.out, **body));
}

CLI::App* addFileCommand(CLI::App& app, const char* name, const char* description,
                         const char* inHelp, const char* outHelp, FilePair& files) {
  CLI::App* command = app.add_subcommand(name, description);
  addPathOption(*command, "IN", files.in, inHelp)->required();
  addPathOption(*command, "OUT", files.out, outHelp)->required();
  return command;
}

}  // namespace

void addCodecCommands(CLI::App& app, Context& context) {
  auto encodeFiles = std::make_shared<FilePair>();
  addFileCommand(app, "encode", "Compress a file into a raw codec stream (no save file header)",
                 "The file to compress", "The stream to write", *encodeFiles)
      ->callback([encodeFiles, &context] { context.exitCode = runEncode(*encodeFiles); });

  auto decodeFiles = std::make_shared<FilePair>();
  addFileCommand(app, "decode", "Decode a raw codec stream", "The stream to decode",
                 "The decoded bytes to write", *decodeFiles)
      ->callback([decodeFiles, &context] { context.exitCode = runDecode(*decodeFiles); });

  auto pack = std::make_shared<PackOptions>();
  CLI::App* packCommand = app.add_subcommand(
      "pack",
      "Write a save file holding a save body; the header's name copy is the body's bytes 16..47");
  addPathOption(*packCommand, "BODY", pack->body, "The save body")->required();
  addPathOption(*packCommand, "OUT", pack->out, "The save file to write")->required();
  packCommand->add_option("--name", pack->name,
                          "World name (UTF-8, at most 31 bytes in CP932) written into the "
                          "body's name field first");
  packCommand->callback([pack, &context] { context.exitCode = runPack(*pack); });

  auto unpackFiles = std::make_shared<FilePair>();
  addFileCommand(app, "unpack", "Check a save file and write its decoded body", "The save file",
                 "The body to write", *unpackFiles)
      ->callback([unpackFiles, &context] { context.exitCode = runUnpack(*unpackFiles); });
}

}  // namespace ws::cli
