#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/failure.h"
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

// A raw stream holds its header, the code length table, at most 255 bits of
// code for each byte value, and a data section no longer than its input.
constexpr std::uint64_t kMaxStreamFileSize =
    codec::kCodeSectionOffset + 256 * 255 / 8 + 1 + codec::kMaxOriginalSize;

// A written output, or its failure named after the output file.
int finish(const Status& status, const std::filesystem::path& out) {
  if (status) return kExitSuccess;
  return reportFailure(outputName(out), withoutFileName(status.error(), out));
}

// One stream counts its bytes and bits in signed 32-bit fields: a larger
// input is refused before it is read.
int runEncode(const FilePair& files) {
  auto source = readInput(files.in, codec::kMaxOriginalSize);
  if (!source) return reportFailure(inputName(files.in), source.error());
  return finish(writeOutput(files.out, codec::encodeStream(*source)), files.out);
}

int runDecode(const FilePair& files) {
  auto stream = readInput(files.in, kMaxStreamFileSize);
  if (!stream) return reportFailure(inputName(files.in), stream.error());
  auto decoded = codec::decodeStream(*stream);
  if (!decoded) return reportFailure(inputName(files.in), decoded.error());
  return finish(writeOutput(files.out, *decoded), files.out);
}

// Puts the name into the body's 32-byte world-name field, NUL-terminated and
// zero-filled, as the editor's name field would.
Status setWorldName(Bytes& body, const std::string& utf8) {
  const auto name = worldNameFromUtf8(utf8);
  if (!name) return name.error();
  const std::size_t fieldEnd = codec::kBodyWorldNameOffset + codec::kWorldNameSize;
  if (body.size() < fieldEnd) {
    return Error{
        "too short to hold the world name",
        std::to_string(body.size()) + " bytes; the name field ends at " + std::to_string(fieldEnd)};
  }
  const auto field = body.begin() + static_cast<std::ptrdiff_t>(codec::kBodyWorldNameOffset);
  std::fill_n(field, codec::kWorldNameSize, std::uint8_t{0});
  std::copy(name->begin(), name->end(), field);
  return {};
}

int runPack(const PackOptions& options) {
  // A body that no save file may hold is refused before it is read.
  auto body = readInput(options.body, codec::kMaxSaveBodySize);
  if (!body) return reportFailure(inputName(options.body), body.error());
  if (options.name) {
    if (auto named = setWorldName(*body, *options.name); !named) {
      return reportFailure(inputName(options.body), named.error());
    }
  }
  return finish(writeSaveOutput(options.out, *body), options.out);
}

int runUnpack(const FilePair& files) {
  auto body = readSaveInput(files.in);
  if (!body) return reportFailure(inputName(files.in), body.error());
  return finish(writeOutput(files.out, *body), files.out);
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
                 "The file to compress", "The stream to write (\"-\": standard output)",
                 *encodeFiles)
      ->callback([encodeFiles, &context] { context.exitCode = runEncode(*encodeFiles); });

  auto decodeFiles = std::make_shared<FilePair>();
  addFileCommand(app, "decode", "Decode a raw codec stream", "The stream to decode",
                 "The decoded bytes to write (\"-\": standard output)", *decodeFiles)
      ->callback([decodeFiles, &context] { context.exitCode = runDecode(*decodeFiles); });

  auto pack = std::make_shared<PackOptions>();
  CLI::App* packCommand = app.add_subcommand(
      "pack",
      "Write a save file holding a save body; the header's name copy is the body's bytes 16..47");
  addPathOption(*packCommand, "BODY", pack->body, "The save body")->required();
  addPathOption(*packCommand, "OUT", pack->out, "The save file to write (\"-\": standard output)")
      ->required();
  packCommand->add_option("--name", pack->name,
                          "World name (UTF-8, at most 31 bytes in CP932) written into the "
                          "body's name field first");
  packCommand->callback([pack, &context] { context.exitCode = runPack(*pack); });

  auto unpackFiles = std::make_shared<FilePair>();
  addFileCommand(app, "unpack", "Check a save file and write its decoded body", "The save file",
                 "The body to write (\"-\": standard output)", *unpackFiles)
      ->callback([unpackFiles, &context] { context.exitCode = runUnpack(*unpackFiles); });
}

}  // namespace ws::cli
