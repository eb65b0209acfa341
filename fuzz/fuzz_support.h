#pragma once

// What several fuzz targets share: a check that stops the run, and a
// temporary folder of the process's own.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace ws::fuzz {

// A broken promise: libFuzzer reports the abort with the input that led to it.
inline void check(bool condition) {
  if (!condition) std::abort();
}

// A folder of this process's own (a fuzzer and the corpus test may run at
// once), removed at exit. One per process.
inline std::filesystem::path privateFolder(const std::string& stem) {
  static std::filesystem::path folder;
  folder = std::filesystem::temp_directory_path() /
           (stem + "-" + std::to_string(std::random_device{}()));
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return folder;
}

}  // namespace ws::fuzz
