#pragma once

#ifdef _WIN32

#include <cstdint>

namespace ws::platform::testing {

// Windows has no per-process cap on file sizes, so a full disk cannot be
// imitated; tests that need one skip there.
inline constexpr bool kCanLimitFileSize = false;

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t /*bytes*/) {}
  bool active() const { return false; }
};

}  // namespace ws::platform::testing

#else

#include <signal.h>
#include <sys/resource.h>

namespace ws::platform::testing {

inline constexpr bool kCanLimitFileSize = true;

// Caps the size of every file this process writes, the way a full disk
// would stop a write: past the cap write() fails with EFBIG (SIGXFSZ is
// ignored meanwhile, so the process lives on). Running as root, permissions
// cannot make a write fail; this can. Restores both on destruction.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool active() const { return active_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
  bool active_ = false;
};

}  // namespace ws::platform::testing

#endif
