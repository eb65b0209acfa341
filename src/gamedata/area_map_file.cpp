#include "gamedata/area_map_file.h"

#include <string>

#include "platform/file_io.h"
#include "platform/little_endian.h"

namespace ws::gamedata {

namespace {

int headerByte(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return platform::loadU8(bytes, offset).value_or(0);
}

}  // namespace

int AreaMapFile::gridWidth() const {
  return headerByte(bytes, kGridWidthOffset);
}
int AreaMapFile::gridHeight() const {
  return headerByte(bytes, kGridHeightOffset);
}
int AreaMapFile::recordCount() const {
  return headerByte(bytes, kRecordCountOffset);
}
int AreaMapFile::spotCapacity() const {
  return headerByte(bytes, kSpotCapacityOffset);
}
int AreaMapFile::placeCount() const {
  return headerByte(bytes, kPlaceCountOffset);
}

std::size_t AreaMapFile::objectTableOffset() const {
  return kAreaMapHeaderSize + kMapCellSize * static_cast<std::size_t>(gridWidth()) *
                                  static_cast<std::size_t>(gridHeight());
}

namespace {

// The bytes the header promises: the header, the grid and the object table.
std::size_t promisedSize(const AreaMapFile& file) {
  return file.objectTableOffset() +
         kObjectRecordSize * static_cast<std::size_t>(file.recordCount());
}

}  // namespace

bool AreaMapFile::isComplete() const {
  return bytes.size() >= promisedSize(*this);
}

bool AreaMapFile::isValid() const {
  return invalidReason().empty();
}

std::string AreaMapFile::invalidReason() const {
  const auto wordAt = [this](std::size_t offset) {
    const auto word = platform::loadU32(bytes, offset);
    return word ? std::to_string(*word) : std::string("missing");
  };
  if (platform::loadU32(bytes, kHeaderSizeWordOffset) != kAreaMapHeaderSize) {
    return "the header word at offset " + std::to_string(kHeaderSizeWordOffset) + " is " +
           wordAt(kHeaderSizeWordOffset) + ", not " + std::to_string(kAreaMapHeaderSize);
  }
  if (platform::loadU32(bytes, kZeroWordOffset) != 0u) {
    return "the header word at offset " + std::to_string(kZeroWordOffset) + " is " +
           wordAt(kZeroWordOffset) + ", not 0";
  }
  if (!isComplete()) {
    return "the header promises " + std::to_string(promisedSize(*this)) + " bytes for " +
           std::to_string(gridWidth()) + " x " + std::to_string(gridHeight()) + " cells and " +
           std::to_string(recordCount()) + " objects; the file holds " +
           std::to_string(bytes.size());
  }
  return {};
}

std::uint8_t AreaMapFile::attribute(int row, int column) const {
  if (row < 0 || column < 0 || column >= gridWidth()) return 0;
  const std::size_t cell = static_cast<std::size_t>(row) * static_cast<std::size_t>(gridWidth()) +
                           static_cast<std::size_t>(column);
  return platform::loadU8(bytes, kAreaMapHeaderSize + kMapCellSize * cell + kCellAttributeOffset)
      .value_or(0);
}

Result<AreaMapFile> LoadAreaMapFile(const std::filesystem::path& path) {
  platform::FileRead read = platform::readRegularFile(path, kMaxAreaMapFileSize);
  if (!read.ok()) return Error{read.message};
  return AreaMapFile{std::move(read.bytes)};
}

Error notMsgFileError(const AreaMapFile& file) {
  return Error{std::string(kNotMsgFile), file.invalidReason()};
}

std::vector<AreaObjectRef> QueryAreaObjects(const AreaMapFile& file, std::uint16_t key,
                                            std::size_t room) {
  std::vector<AreaObjectRef> results;
  // A file shorter than its header promises has no trustworthy table; the
  // header words at 0 and 8 are left to the drawing, as the editor always did.
  if (!file.isComplete() || room == 0) return results;
  const int recordCount = file.recordCount();
  const int placeCount = file.placeCount();
  const std::size_t table = file.objectTableOffset();
  for (int i = 0; i < recordCount && results.size() < room; ++i) {
    const std::size_t record = table + kObjectRecordSize * static_cast<std::size_t>(i);
    if (platform::loadU16(file.bytes, record + kRecordKeyOffset) != key) continue;
    const int x = platform::loadI16(file.bytes, record + kRecordXOffset).value_or(0);
    const int y = platform::loadI16(file.bytes, record + kRecordYOffset).value_or(0);
    // An odd row sits half a cell to the right; the remainder keeps y's sign,
    // so an odd negative row moves half a cell to the left instead.
    results.push_back(AreaObjectRef{i + placeCount - recordCount, 2 * x + y % 2, y});
  }
  return results;
}

}  // namespace ws::gamedata
