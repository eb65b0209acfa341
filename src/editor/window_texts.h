#pragma once

#include <string_view>

namespace ws::editor {

// The window's own captions, CP932 like every text of the editor.

// "Form1"
inline constexpr std::string_view kFormCaption = "Form1";
// "ＭＳ ゴシック", the window's font
inline constexpr std::string_view kFontFamily =
    "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
// "建物" (buildings), heads the object lists
inline constexpr std::string_view kLabel1Caption = "\x8c\x9a\x95\xa8";
// "リンクゲート" (link gate)
inline constexpr std::string_view kRadioButton1Caption =
    "\x83\x8a\x83\x93\x83\x4e\x83\x51\x81\x5b\x83\x67";
// "フィールド" (field)
inline constexpr std::string_view kRadioButton2Caption = "\x83\x74\x83\x42\x81\x5b\x83\x8b\x83\x68";
// "町" (town)
inline constexpr std::string_view kRadioButton3Caption = "\x92\xac";
// "ワールド名" (world name)
inline constexpr std::string_view kLabel2Caption = "\x83\x8f\x81\x5b\x83\x8b\x83\x68\x96\xbc";
inline constexpr std::string_view kButton1Caption = "LOAD";
inline constexpr std::string_view kButton2Caption = "SAVE";

// "ワールドマップを画像で保存…" (save the world map as a picture): the world
// map's context menu.
inline constexpr std::string_view kSaveWorldPictureCaption =
    "\x83\x8f\x81\x5b\x83\x8b\x83\x68\x83\x7d\x83\x62\x83\x76\x82\xf0\x89\xe6\x91\x9c\x82\xc5\x95"
    "\xdb\x91\xb6\x81\x63";

// The file types the LOAD and SAVE dialogs offer, each a description and
// its pattern: "セーブファイル (*.dat)" (save files), then
// "すべてのファイル (*.*)" (all files).
inline constexpr std::string_view kSaveFileTypeName =
    "\x83\x5a\x81\x5b\x83\x75\x83\x74\x83\x40\x83\x43\x83\x8b (*.dat)";
inline constexpr std::string_view kSaveFilePattern = "*.dat";
inline constexpr std::string_view kAllFilesTypeName =
    "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b (*.*)";
inline constexpr std::string_view kAllFilesPattern = "*.*";

// "バックアップから読み込む…" (load from a backup): the world map's context
// menu; LOAD with its dialog in the backup folder.
inline constexpr std::string_view kLoadBackupCaption =
    "\x83\x6f\x83\x62\x83\x4e\x83\x41\x83\x62\x83\x76\x82\xa9\x82\xe7\x93\xc7\x82\xdd\x8d"
    "\x9e\x82\xde\x81\x63";

}  // namespace ws::editor
