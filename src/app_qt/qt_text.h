#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace ws::app {

// The core keeps every game text as CP932 bytes; the widgets show Unicode.
QString fromCp932(std::string_view cp932);

// Paths cross between std::filesystem and Qt as UTF-16, which keeps every
// character on every platform.
QString fromPath(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& text);

}  // namespace ws::app
