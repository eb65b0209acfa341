#pragma once

#include <string_view>

namespace ws::editor {

// Texts of the editor window, CP932.

// "rv7.exe" LF "のあるフォルダを指定してください": shown before the folder dialog
// when no area catalogue was found in the game folder.
inline constexpr std::string_view kChooseGameFolderMessage =
    "rv7.exe\n"
    "\x82\xcc\x82\xa0\x82\xe9\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x8e\x77\x92\xe8"
    "\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";

// "ワールドは変更されています。保存しますか？" (the world has changed; save it?): asked in a Yes /
// No / Cancel box before closing or loading over unsaved work.
inline constexpr std::string_view kSaveChangesQuestion =
    "\x83\x8f\x81\x5b\x83\x8b\x83\x68\x82\xcd\x95\xcf\x8d\x58\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82"
    "\xdc\x82\xb7\x81\x42\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";

}  // namespace ws::editor
