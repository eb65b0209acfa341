#include "demo/demo_folder.h"

#include <span>
#include <system_error>
#include <vector>

#include "platform/file_io.h"
#include "platform/sibling_names.h"

namespace ws::demo {

namespace {

namespace fs = std::filesystem;

std::string markerText(std::uint64_t seed) {
  return "worldsmith demo game\nformat 1\nseed " + std::to_string(seed) + "\n";
}

DemoWriteFailure failure(std::string_view what, const fs::path& path, std::error_code error) {
  return {platform::writeProblemOf(error),
          std::string(what) + " " + platform::pathForMessage(path) + ": " + error.message()};
}

// The whole demo below the new, empty `folder`, marker last.
std::optional<DemoWriteFailure> writeTree(const fs::path& folder, std::uint64_t seed,
                                          const std::vector<DemoFile>& files) {
  std::error_code error;
  for (const fs::path& sub : demoGameFolders()) {
    fs::create_directories(folder / sub, error);
    if (error) return failure("cannot create", folder / sub, error);
  }
  for (const DemoFile& file : files) {
    error = platform::writeNewFile(folder / file.relativePath, file.bytes);
    if (error) return failure("cannot write", folder / file.relativePath, error);
  }
  const std::string marker = markerText(seed);
  error = platform::writeNewFile(
      folder / kDemoMarkerFileName,
      std::span(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size()));
  if (error) return failure("cannot write", folder / kDemoMarkerFileName, error);
  return std::nullopt;
}

// Moves the saves the user kept in the old folder's "usr" (the save dialog
// starts there) into the new one. True when none is left behind.
bool carryOverSaves(const fs::path& oldFolder, const fs::path& newFolder) {
  std::error_code error;
  const fs::path oldSaves = oldFolder / "usr";
  if (!fs::is_directory(oldSaves, error)) return true;
  bool allMoved = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(oldSaves, error)) {
    std::error_code moved;
    fs::rename(entry.path(), newFolder / "usr" / entry.path().filename(), moved);
    allMoved = allMoved && !moved;
  }
  return allMoved && !error;
}

// Puts the finished `built` folder where `target` is: the old target goes
// aside first and comes back when the new one cannot take its place. The
// user's saves in the old folder move into the new one; the old folder is
// removed only when none was left behind.
std::optional<DemoWriteFailure> replaceFolder(const fs::path& built, const fs::path& target) {
  std::error_code error;
  if (fs::is_directory(target, error) && fs::is_empty(target, error)) fs::remove(target, error);
  if (!fs::exists(fs::symlink_status(target, error))) {
    fs::rename(built, target, error);
    if (error) return failure("cannot rename the demo game to", target, error);
    return std::nullopt;
  }
  const platform::MadeSibling aside =
      platform::makeFreshSibling(target, "old-", [&target](const fs::path& name) {
        std::error_code moved;
        if (fs::exists(fs::symlink_status(name, moved))) {
          return std::make_error_code(std::errc::file_exists);
        }
        fs::rename(target, name, moved);
        return moved;
      });
  if (!aside.ok()) return failure("cannot move aside", target, aside.error);
  fs::rename(built, target, error);
  if (error) {
    std::error_code restore;
    fs::rename(aside.path, target, restore);
    return failure("cannot rename the demo game to", target, error);
  }
  if (carryOverSaves(aside.path, target)) fs::remove_all(aside.path, error);
  return std::nullopt;
}

// Moves every file of the finished `built` folder into `target`, replacing
// files of the same names; the marker comes last, so a move that fails
// midway leaves the target marked incomplete.
std::optional<DemoWriteFailure> mergeFolder(const fs::path& built, const fs::path& target,
                                            const std::vector<DemoFile>& files) {
  std::error_code error;
  for (const fs::path& sub : demoGameFolders()) {
    fs::create_directories(target / sub, error);
    if (error) return failure("cannot create", target / sub, error);
  }
  fs::remove(target / kDemoMarkerFileName, error);
  for (const DemoFile& file : files) {
    fs::rename(built / file.relativePath, target / file.relativePath, error);
    if (error) return failure("cannot move into place", target / file.relativePath, error);
  }
  fs::rename(built / kDemoMarkerFileName, target / kDemoMarkerFileName, error);
  if (error) return failure("cannot move into place", target / kDemoMarkerFileName, error);
  return std::nullopt;
}

}  // namespace

bool isCompleteDemoFolder(const fs::path& folder, std::uint64_t seed) {
  const platform::FileRead marker =
      platform::readRegularFile(folder / kDemoMarkerFileName, markerText(seed).size() + 1);
  const std::string expected = markerText(seed);
  return marker.ok() && std::string(marker.bytes.begin(), marker.bytes.end()) == expected;
}

std::optional<DemoWriteFailure> writeDemoFolder(const fs::path& given, std::uint64_t seed,
                                                ExistingFolder existing) {
  const fs::path target = given.has_filename() ? given : given.parent_path();  // "dir/" is "dir"
  std::error_code error;
  if (!target.parent_path().empty()) {
    fs::create_directories(target.parent_path(), error);
    if (error) return failure("cannot create", target.parent_path(), error);
  }
  const platform::MadeSibling built = platform::makeTemporaryFolderBeside(target, "tmp-");
  if (!built.ok()) return failure("cannot create a folder beside", target, built.error);
  const std::vector<DemoFile> files = demoGameFiles(seed);
  std::optional<DemoWriteFailure> failed = writeTree(built.path, seed, files);
  if (!failed) {
    const bool merge = existing == ExistingFolder::Merge && fs::is_directory(target, error) &&
                       !fs::is_empty(target, error);
    failed = merge ? mergeFolder(built.path, target, files) : replaceFolder(built.path, target);
  }
  fs::remove_all(built.path, error);  // nothing of a failed write stays behind
  return failed;
}

std::optional<DemoWriteFailure> ensureDemoFolder(const fs::path& target) {
  if (isCompleteDemoFolder(target)) return std::nullopt;
  return writeDemoFolder(target);
}

}  // namespace ws::demo
