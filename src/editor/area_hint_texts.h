#pragma once

#include <string_view>

namespace ws::editor {

// Texts of the catalogue's area hints, CP932. A hint reads, line by line:
//   ワールドマップ上の大きさ: 128 x 64
//   ダンジョン: 3  民家: 0
//   教会: なし  塔: あり  リンクゲート: なし
//   町人の位置: 0
//   置ける種類:
//   リンクゲート: × リンクゲートがありません
//   フィールド: ○
//   町: × 教会と3軒以上の民家が必要です

// "ワールドマップ上の大きさ: "
inline constexpr std::string_view kHintSize =
    "\x83\x8f\x81\x5b\x83\x8b\x83\x68\x83\x7d\x83\x62\x83\x76\x8f\xe3\x82\xcc\x91\xe5\x82\xab\x82"
    "\xb3: ";
// "ダンジョン: "
inline constexpr std::string_view kHintDungeons = "\x83\x5f\x83\x93\x83\x57\x83\x87\x83\x93: ";
// "  民家: "
inline constexpr std::string_view kHintHouses = "  \x96\xaf\x89\xc6: ";
// "教会: "
inline constexpr std::string_view kHintChurch = "\x8b\xb3\x89\xef: ";
// "  塔: "
inline constexpr std::string_view kHintTower = "  \x93\x83: ";
// "  リンクゲート: "
inline constexpr std::string_view kHintLinkGate =
    "  \x83\x8a\x83\x93\x83\x4e\x83\x51\x81\x5b\x83\x67: ";
// "町人の位置: "
inline constexpr std::string_view kHintTownsfolkSpots =
    "\x92\xac\x90\x6c\x82\xcc\x88\xca\x92\x75: ";
// "あり"
inline constexpr std::string_view kHintPresent = "\x82\xa0\x82\xe8";
// "なし"
inline constexpr std::string_view kHintAbsent = "\x82\xc8\x82\xb5";
// "置ける種類:"
inline constexpr std::string_view kHintKindsHeader = "\x92\x75\x82\xaf\x82\xe9\x8e\xed\x97\xde:";
// "○"
inline constexpr std::string_view kHintCanTake = "\x81\x9b";
// "× "
inline constexpr std::string_view kHintCannotTake = "\x81\x7e ";
// "リンクゲートがありません"
inline constexpr std::string_view kHintNoLinkGate =
    "\x83\x8a\x83\x93\x83\x4e\x83\x51\x81\x5b\x83\x67\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82"
    "\xf1";
// "ダンジョンがありません"
inline constexpr std::string_view kHintNoDungeon =
    "\x83\x5f\x83\x93\x83\x57\x83\x87\x83\x93\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// "教会がありません"
inline constexpr std::string_view kHintNoChurch =
    "\x8b\xb3\x89\xef\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// "民家が3軒以上必要です"
inline constexpr std::string_view kHintTooFewHouses =
    "\x96\xaf\x89\xc6\x82\xaa"
    "3\x8c\xac\x88\xc8\x8f\xe3\x95\x4b\x97\x76\x82\xc5\x82\xb7";
// "教会と3軒以上の民家が必要です"
inline constexpr std::string_view kHintNoChurchOrHouses =
    "\x8b\xb3\x89\xef\x82\xc6"
    "3\x8c\xac\x88\xc8\x8f\xe3\x82\xcc\x96\xaf\x89\xc6\x82\xaa\x95\x4b\x97\x76\x82\xc5\x82\xb7";
// "名前のない項目です"
inline constexpr std::string_view kHintEmptyName =
    "\x96\xbc\x91\x4f\x82\xcc\x82\xc8\x82\xa2\x8d\x80\x96\xda\x82\xc5\x82\xb7";
// "マップファイルがありません"
inline constexpr std::string_view kHintMissingFile =
    "\x83\x7d\x83\x62\x83\x76\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82"
    "\xb9\x82\xf1";
// "使えないマップファイルです (not msg file)"
inline constexpr std::string_view kHintRefusedFile =
    "\x8e\x67\x82\xa6\x82\xc8\x82\xa2\x83\x7d\x83\x62\x83\x76\x83\x74\x83\x40\x83\x43\x83\x8b\x82"
    "\xc5\x82\xb7 (not msg file)";

}  // namespace ws::editor
