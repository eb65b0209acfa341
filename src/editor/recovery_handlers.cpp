// What keeps work from being lost: the recovery file that follows every
// change of the world and is offered back at the next start, and the backup
// that SAVE keeps of a save file before replacing it.
#include <cstdint>
#include <string>
#include <system_error>

#include "codec/save_backup.h"
#include "editor/editor_messages.h"
#include "editor/editor_model.h"
#include "platform/file_io.h"
#include "platform/state_folder.h"
#include "world/recovery_record.h"

namespace ws::editor {
namespace {

namespace fs = std::filesystem;

// Far above the largest record (four slots of 255 objects take about 5 KB).
constexpr std::uint64_t kMaxRecoveryFileSize = std::uint64_t{1} << 20;

// One recovery file per game folder: its name carries a 64-bit FNV-1a hash
// of the folder's absolute path, so that two games (the demo game and the
// real one, say) never restore each other's worlds.
fs::path recoveryFileFor(const fs::path& stateFolder, const fs::path& gameFolder) {
  std::error_code error;
  fs::path absolute = fs::absolute(gameFolder, error);
  if (error) absolute = gameFolder;
  const std::u8string text = absolute.lexically_normal().generic_u8string();
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char8_t c : text) {
    char8_t folded = c;
#ifdef _WIN32
    if (c >= u8'A' && c <= u8'Z') folded = static_cast<char8_t>(c - u8'A' + u8'a');
#endif
    hash = (hash ^ folded) * 0x100000001b3u;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = "recovery-";
  for (int shift = 60; shift >= 0; shift -= 4)
    name += kHex[(hash >> shift) & 0xF];
  return stateFolder / (name + ".dat");
}

}  // namespace

void EditorModel::markModified() {
  modified_ = true;
  keepRecovery();
}

void EditorModel::keepRecovery() {
  if (recoveryFile_.empty()) return;
  std::vector<std::uint8_t> bytes = world::encodeRecoveryRecord(areaSlots_, edit1_);
  if (bytes == recoveryWritten_) return;
  std::error_code error;
  fs::create_directories(recoveryFile_.parent_path(), error);
  const Status written = platform::writeFileAtomic(recoveryFile_, bytes);
  if (!written) {
    dialogs_.logLine("cannot keep the recovery file: " + written.error().message);
    return;
  }
  recoveryWritten_ = std::move(bytes);
}

void EditorModel::offerRecovery() {
  if (!options_.stateFolder) return;
  recoveryFile_ = recoveryFileFor(*options_.stateFolder, gameFolder_);
  const platform::FileRead file = platform::readRegularFile(recoveryFile_, kMaxRecoveryFileSize);
  if (file.failure == platform::ReadFailure::NotFound) return;
  std::error_code error;
  if (!dialogs_.askYesNo(kRestoreRecoveryQuestion)) {
    fs::remove(recoveryFile_, error);
    return;
  }
  const Status restored = file.ok() ? restoreRecovery(file.bytes) : Status(Error{file.message});
  if (restored) return;
  // Kept aside rather than removed: the world may come back once the game's
  // files are there again.
  fs::path aside = recoveryFile_;
  aside += ".unrestored";
  fs::rename(recoveryFile_, aside, error);
  dialogs_.showError(
      Error{std::string(kRecoveryFailedMessage),
            restored.error().message + "; kept as " + platform::pathForMessage(aside)});
}

Status EditorModel::restoreRecovery(std::span<const std::uint8_t> bytes) {
  Result<world::RecoveryRecord> record = world::parseRecoveryRecord(bytes);
  if (!record) return record.error();
  Result<std::vector<gamedata::AreaMapFile>> mapFiles = readMapFilesOf(record->slots);
  if (!mapFiles) return mapFiles.error();
  showLoadedWorld(record->slots, *mapFiles);
  // Unlike a save, the world may not hold its link gate yet.
  bool hasLinkGate = false;
  record->slots.forEachUsed([&](int, const world::AreaSlot& slot) {
    hasLinkGate = hasLinkGate || slot.kind == world::AreaKind::LinkGate;
  });
  radioButtons_.setEnabled(world::AreaKind::LinkGate, !hasLinkGate);
  edit1_ = record->worldName;
  // A step like LOAD, but the world is not in any file: it counts as
  // modified until saved.
  recordStep();
  return {};
}

void EditorModel::FormClose() {
  if (recoveryFile_.empty()) return;
  std::error_code error;
  fs::remove(recoveryFile_, error);
  recoveryWritten_.clear();
}

void EditorModel::loadBackup() {
  if (!FormCloseQuery()) return;
  fs::path folder = openDialogFolder_;
  if (options_.stateFolder) {
    folder = platform::backupFolderOf(*options_.stateFolder);
    std::error_code error;
    fs::create_directories(folder, error);
  }
  const std::optional<fs::path> path = dialogs_.chooseOpenFile(folder);
  if (!path) return;
  loadFile(*path);
}

bool EditorModel::backUpBeforeReplacing(const fs::path& path) {
  if (!options_.stateFolder) return true;
  const auto kept = codec::backUpSaveFile(path, platform::backupFolderOf(*options_.stateFolder));
  if (!kept) {
    dialogs_.showError(Error{std::string(kBackupFailedMessage), kept.error().message});
    return false;
  }
  if (*kept) dialogs_.logLine("kept the replaced save as " + platform::pathForMessage(**kept));
  return true;
}

}  // namespace ws::editor
