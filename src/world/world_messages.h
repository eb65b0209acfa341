#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ws::world {

// The messages of saving and placing, CP932 bytes as the message box shows
// them.

// "リンクゲートがありません": saving a world without a link gate area.
inline constexpr std::string_view kNoLinkGateMessage =
    "\x83\x8A\x83\x93\x83\x4E\x83\x51\x81\x5B\x83\x67\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9"
    "\x82\xF1";

// "町は最低3つの建物が必要です": a town with fewer than three houses chosen.
inline constexpr std::string_view kTownNeedsThreeHousesMessage =
    "\x92\xAC\x82\xCD\x8D\xC5\x92\xE1\x33\x82\xC2\x82\xCC\x8C\x9A\x95\xA8\x82\xAA\x95\x4B\x97"
    "\x76\x82\xC5\x82\xB7";

// "リンクゲートエリアは最低１つのダンジョンが必要です": a link gate area
// without a chosen dungeon.
inline constexpr std::string_view kLinkGateNeedsDungeonMessage =
    "\x83\x8A\x83\x93\x83\x4E\x83\x51\x81\x5B\x83\x67\x83\x47\x83\x8A\x83\x41\x82\xCD\x8D\xC5"
    "\x92\xE1\x82\x50\x82\xC2\x82\xCC\x83\x5F\x83\x93\x83\x57\x83\x87\x83\x93\x82\xAA\x95\x4B"
    "\x97\x76\x82\xC5\x82\xB7";

// "ダンジョンは４つまでです！": more dungeons (a tower counting as one) than
// a link gate or field holds.
inline constexpr std::string_view kAtMostFourDungeonsMessage =
    "\x83\x5F\x83\x93\x83\x57\x83\x87\x83\x93\x82\xCD\x82\x53\x82\xC2\x82\xDC\x82\xC5\x82\xC5"
    "\x82\xB7\x81\x49";

// "マップパーツは４つまでです！": all four slots are taken.
inline constexpr std::string_view kAtMostFourAreasMessage =
    "\x83\x7D\x83\x62\x83\x76\x83\x70\x81\x5B\x83\x63\x82\xCD\x82\x53\x82\xC2\x82\xDC\x82\xC5"
    "\x82\xC5\x82\xB7\x81\x49";

// "リンクゲートエリアにはリンクゲートが必要です": the link gate kind for an
// area whose map holds no link gate object; its gate record would have no
// object to name.
inline constexpr std::string_view kLinkGateObjectMissingMessage =
    "\x83\x8A\x83\x93\x83\x4E\x83\x51\x81\x5B\x83\x67\x83\x47\x83\x8A\x83\x41\x82\xC9\x82\xCD"
    "\x83\x8A\x83\x93\x83\x4E\x83\x51\x81\x5B\x83\x67\x82\xAA\x95\x4B\x97\x76\x82\xC5\x82\xB7";

// "町エリアには教会が必要です": the town kind for an area whose map holds no
// church; the cleric would have no church to stand at.
inline constexpr std::string_view kTownChurchMissingMessage =
    "\x92\xAC\x83\x47\x83\x8A\x83\x41\x82\xC9\x82\xCD\x8B\xB3\x89\xEF\x82\xAA\x95\x4B\x97\x76"
    "\x82\xC5\x82\xB7";

// "が見つかりません" and "を読み込めません", put after a file's name on the
// line below it.
inline constexpr std::string_view kFileNotFoundSuffix =
    "\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kFileUnreadableSuffix =
    "\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";

// "<path>\nが見つかりません" for a file that does not exist, or
// "<path>\nを読み込めません" for one that exists but cannot be read (a
// folder, device or link loop included): an area map file, or a save file
// named on the command line.
std::string fileNotReadMessage(const std::filesystem::path& path);
std::string fileMissingMessage(const std::filesystem::path& path);
std::string fileUnreadableMessage(const std::filesystem::path& path);

// An area number that names no area map file: out of the catalogue's range,
// or an empty catalogue entry. Names the catalogue file.
std::string noAreaNameMessage(int areaNumber, std::size_t catalogueSize,
                              const std::filesystem::path& cataloguePath);

}  // namespace ws::world
