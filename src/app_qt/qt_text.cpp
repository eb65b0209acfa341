#include "app_qt/qt_text.h"

#include "platform/text.h"

namespace ws::app {

QString fromCp932(std::string_view cp932) {
  return QString::fromStdString(platform::cp932ToUtf8(cp932));
}

QString fromPath(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

std::filesystem::path toPath(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}

}  // namespace ws::app
