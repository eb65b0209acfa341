#pragma once

#include <stdlib.h>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace ws::platform::testing {

// A new, empty folder named after `stem`, unique to this process and call,
// below $WORLDSMITH_TEST_TMP when set, else the system's temporary folder.
// ctest runs test processes in parallel, so fixed names would collide.
inline std::filesystem::path uniqueTestFolder(const std::string& stem) {
  static std::atomic<int> counter{0};
#ifdef _WIN32
  const int pid = ::_getpid();
#else
  const int pid = static_cast<int>(::getpid());
#endif
  const char* base = std::getenv("WORLDSMITH_TEST_TMP");
  const std::filesystem::path root = (base != nullptr && *base != '\0')
                                         ? std::filesystem::path(base)
                                         : std::filesystem::temp_directory_path();
  const std::filesystem::path folder =
      root / (stem + "-" + std::to_string(pid) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem = "test") : path_(uniqueTestFolder(stem)) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Sets (or, with nothing, unsets) an environment variable and puts the old
// value back when it goes out of scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    put(name, value);
  }
  ~ScopedEnv() { put(name_, old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  static void put(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // The C runtime passes the change on to the process environment, which
    // GetEnvironmentVariableW reads; an empty value removes the variable.
    ::_putenv_s(name, value ? value->c_str() : "");
#else
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
#endif
  }

  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace ws::platform::testing
