#include "world/recovery_record.h"

#include <algorithm>
#include <optional>

#include "gamedata/area_catalogue.h"
#include "world/save_body_layout.h"

namespace ws::world {
namespace {

constexpr std::string_view kRecoverySignature = "WSRECOVR";
constexpr std::uint32_t kRecoveryVersion = 1;
constexpr std::size_t kNameFieldSize = 32;

class RecordWriter {
 public:
  void bytes(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }
  void u8(std::uint32_t value) { out_.push_back(static_cast<std::uint8_t>(value)); }
  void u16(std::uint32_t value) {
    u8(value & 0xFF);
    u8((value >> 8) & 0xFF);
  }
  void u32(std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  }
  void i16(std::int16_t value) { u16(static_cast<std::uint16_t>(value)); }
  void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// Reads fields in order; the first one that runs past the end makes every
// later read fail too, so checking the last field of a group checks them all.
class RecordReader {
 public:
  explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint32_t> unsignedField(std::size_t size) {
    if (!fits(size)) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
      value |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += size;
    return value;
  }
  std::optional<std::string_view> text(std::size_t size) {
    if (!fits(size)) return std::nullopt;
    const auto* start = reinterpret_cast<const char*>(bytes_.data() + at_);
    at_ += size;
    return std::string_view(start, size);
  }
  std::size_t offset() const { return at_; }
  bool atEnd() const { return at_ == bytes_.size(); }

 private:
  bool fits(std::size_t size) {
    failed_ = failed_ || bytes_.size() - at_ < size;
    return !failed_;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

Error broken(const std::string& what, std::size_t offset) {
  return Error{"recovery record: " + what + " at offset " + std::to_string(offset)};
}

void writeSlot(RecordWriter& out, const AreaSlot& slot) {
  out.u8(slot.used ? 1 : 0);
  if (!slot.used) return;
  for (const std::int32_t value : {slot.areaNumber, slot.x, slot.y, slot.width, slot.height})
    out.i32(value);
  out.u8(static_cast<std::uint8_t>(slot.kind));
  out.u8(slot.specialId);
  out.i16(slot.specialX);
  out.i16(slot.specialY);
  out.u8(slot.objectCount);
  for (std::size_t j = 0; j < slot.objectCount; ++j) {
    out.u8(slot.objectIds[j]);
    out.i16(slot.objectX[j]);
    out.i16(slot.objectY[j]);
  }
}

Result<AreaSlot> readSlot(RecordReader& in) {
  const std::size_t start = in.offset();
  const auto used = in.unsignedField(1);
  if (!used) return broken("slot cut short", start);
  if (*used > 1) return broken("used flag " + std::to_string(*used), start);
  AreaSlot slot;
  if (*used == 0) return slot;
  slot.used = true;
  std::optional<std::uint32_t> fields[5];
  for (auto& field : fields)
    field = in.unsignedField(4);
  const auto kind = in.unsignedField(1);
  const auto special = in.unsignedField(1);
  const auto specialX = in.unsignedField(2);
  const auto specialY = in.unsignedField(2);
  const auto count = in.unsignedField(1);
  if (!count) return broken("slot cut short", start);
  slot.areaNumber = static_cast<std::int32_t>(*fields[0]);
  slot.x = static_cast<std::int32_t>(*fields[1]);
  slot.y = static_cast<std::int32_t>(*fields[2]);
  slot.width = static_cast<std::int32_t>(*fields[3]);
  slot.height = static_cast<std::int32_t>(*fields[4]);
  if (slot.areaNumber < 0 || slot.areaNumber >= gamedata::kCatalogueEntryCount) {
    return broken("area number " + std::to_string(slot.areaNumber), start);
  }
  if (*kind < 1 || *kind > 3) return broken("kind " + std::to_string(*kind), start);
  slot.kind = static_cast<AreaKind>(*kind);
  slot.specialId = static_cast<std::uint8_t>(*special);
  slot.specialX = static_cast<std::int16_t>(*specialX);
  slot.specialY = static_cast<std::int16_t>(*specialY);
  slot.objectCount = static_cast<std::uint8_t>(*count);
  for (std::size_t j = 0; j < slot.objectCount; ++j) {
    const auto id = in.unsignedField(1);
    const auto x = in.unsignedField(2);
    const auto y = in.unsignedField(2);
    if (!y) return broken("object list cut short", start);
    slot.objectIds[j] = static_cast<std::uint8_t>(*id);
    slot.objectX[j] = static_cast<std::int16_t>(*x);
    slot.objectY[j] = static_cast<std::int16_t>(*y);
  }
  return slot;
}

}  // namespace

std::vector<std::uint8_t> encodeRecoveryRecord(const AreaSlotTable& slots,
                                               std::string_view cp932WorldName) {
  RecordWriter out;
  out.bytes(kRecoverySignature);
  out.u32(kRecoveryVersion);
  std::string name(cp932WorldName.substr(0, kWorldNameMaxBytes));
  name.resize(kNameFieldSize, '\0');
  out.bytes(name);
  for (const AreaSlot& slot : slots.slots)
    writeSlot(out, slot);
  return out.take();
}

Result<RecoveryRecord> parseRecoveryRecord(std::span<const std::uint8_t> bytes) {
  RecordReader in(bytes);
  if (in.text(kRecoverySignature.size()) != kRecoverySignature) {
    return broken("no signature \"WSRECOVR\"", 0);
  }
  const std::size_t versionAt = in.offset();
  if (const auto version = in.unsignedField(4); version != kRecoveryVersion) {
    return broken(version ? "version " + std::to_string(*version) : "cut short", versionAt);
  }
  const std::size_t nameAt = in.offset();
  const auto field = in.text(kNameFieldSize);
  if (!field) return broken("name cut short", nameAt);
  RecoveryRecord record;
  record.worldName = std::string(field->substr(0, field->find('\0')));
  if (record.worldName.size() > kWorldNameMaxBytes) return broken("name not ended", nameAt);
  for (AreaSlot& slot : record.slots.slots) {
    Result<AreaSlot> read = readSlot(in);
    if (!read) return read.error();
    slot = *read;
  }
  if (!in.atEnd()) return broken("bytes after the last slot", in.offset());
  return record;
}

}  // namespace ws::world
