#include "cli/utf8_arguments.h"

#include <CLI/CLI.hpp>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#endif

namespace ws::cli {
namespace {

#ifdef _WIN32
// The console's own output code page, put back at exit: the setting belongs
// to the console window, which outlives this program. 0 without a console.
UINT consoleOutputCodePage = 0;

void restoreConsoleOutputCodePage() {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  SetConsoleOutputCP(consoleOutputCodePage);
}

std::string wideToUtf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();  // the terminator that the -1 length counted
  return out;
}
#endif

}  // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
#ifdef _WIN32
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      arguments.push_back(wideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
  }
#endif
  arguments.reserve(static_cast<std::size_t>(argc));
  for (int i = 0; i < argc; ++i)
    arguments.emplace_back(argv[i]);
  return arguments;
}

void useUtf8Output() {
#ifdef _WIN32
  consoleOutputCodePage = GetConsoleOutputCP();
  if (consoleOutputCodePage != 0 && consoleOutputCodePage != CP_UTF8 &&
      SetConsoleOutputCP(CP_UTF8)) {
    std::atexit(restoreConsoleOutputCodePage);
  }
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // "-" as an input reads save files and streams byte for byte.
  _setmode(_fileno(stdin), _O_BINARY);
#endif
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string pathToUtf8(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

namespace {

// `Target` is a path or an optional path: both take a path by assignment.
template <typename Target>
CLI::Option* addUtf8PathOption(CLI::App& app, std::string name, Target& target,
                               std::string description) {
  return app.add_option_function<std::string>(
      std::move(name), [&target](const std::string& utf8) { target = pathFromUtf8(utf8); },
      std::move(description));
}

}  // namespace

CLI::Option* addPathOption(CLI::App& app, std::string name, std::filesystem::path& target,
                           std::string description) {
  return addUtf8PathOption(app, std::move(name), target, std::move(description));
}

CLI::Option* addPathOption(CLI::App& app, std::string name,
                           std::optional<std::filesystem::path>& target, std::string description) {
  return addUtf8PathOption(app, std::move(name), target, std::move(description));
}

}  // namespace ws::cli
