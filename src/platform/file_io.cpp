#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "platform/text.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ws::platform {
namespace {

// A name in the target's own folder that no other writer uses: the target's
// name, this process and a counter. It is opened exclusively, and removed on
// failure only by whoever created it.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const unsigned long process = GetCurrentProcessId();
#else
  const long process = static_cast<long>(getpid());
#endif
  std::filesystem::path name = target.filename();
  name += ".tmp-" + std::to_string(process) + "-" + std::to_string(counter++);
  return target.parent_path() / name;
}

Error writeError(const std::filesystem::path& target, const std::string& reason) {
  return Error{"cannot write " + pathForMessage(target) + ": " + reason};
}

std::string systemReason(int code) {
  return std::system_category().message(code);
}

#ifdef _WIN32

Status writeTemporary(const std::filesystem::path& temporary, const std::filesystem::path& target,
                      std::span<const std::uint8_t> bytes) {
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return writeError(target, systemReason(static_cast<int>(GetLastError())));
  }
  std::size_t done = 0;
  DWORD failure = 0;
  while (done < bytes.size() && failure == 0) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 30);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &written, nullptr) ||
        written == 0) {
      failure = GetLastError();
      if (failure == 0) failure = ERROR_WRITE_FAULT;
    }
    done += written;
  }
  if (failure == 0 && !FlushFileBuffers(file)) failure = GetLastError();
  if (!CloseHandle(file) && failure == 0) failure = GetLastError();
  if (failure != 0) {
    DeleteFileW(temporary.c_str());
    return writeError(target, systemReason(static_cast<int>(failure)));
  }
  return {};
}

Status replaceTarget(const std::filesystem::path& temporary, const std::filesystem::path& target) {
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return writeError(target, systemReason(static_cast<int>(GetLastError())));
  }
  return {};
}

#else

Status writeTemporary(const std::filesystem::path& temporary, const std::filesystem::path& target,
                      std::span<const std::uint8_t> bytes) {
  // The new file keeps the permissions of the one it replaces.
  mode_t mode = 0666;
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    mode = existing.st_mode & 07777;
  }
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return writeError(target, systemReason(errno));

  int failure = 0;
  std::size_t done = 0;
  while (done < bytes.size() && failure == 0) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
    } else if (written < 0 && errno != EINTR) {
      failure = errno;
    } else if (written == 0) {
      failure = EIO;
    }
  }
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) {
    unlink(temporary.c_str());
    return writeError(target, systemReason(failure));
  }
  return {};
}

Status replaceTarget(const std::filesystem::path& temporary, const std::filesystem::path& target) {
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    return writeError(target, systemReason(errno));
  }
  // Make the rename itself durable. Not every file system can sync a folder;
  // the new file is in place either way, so a failure here is not reported.
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)fsync(fd);
    close(fd);
  }
  return {};
}

#endif

}  // namespace

bool fileExists(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::optional<Bytes> readWholeFile(const std::filesystem::path& path) {
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  if (file == nullptr) return std::nullopt;
  Bytes content;
  std::uint8_t chunk[64 * 1024];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
    content.insert(content.end(), chunk, chunk + got);
    if (got < sizeof chunk) break;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return content;
}

Status writeFileAtomic(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  // The target is only ever touched by the final rename, so whatever fails
  // before it leaves an existing file as it was.
  const std::filesystem::path temporary = temporaryPathFor(target);
  if (Status written = writeTemporary(temporary, target, bytes); !written) return written;
  Status replaced = replaceTarget(temporary, target);
  if (!replaced) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return replaced;
}

std::string pathForMessage(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  const std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  // A name that CP932 cannot spell is shown as its raw bytes.
  if (auto cp932 = utf8ToCp932(text)) return *cp932;
  return std::string(text);
}

}  // namespace ws::platform
