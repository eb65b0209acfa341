#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "platform/sibling_names.h"
#include "platform/text.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ws::platform {
namespace {

namespace fs = std::filesystem;

// Symbolic links deeper than this count as a loop, as the systems' own limit.
constexpr int kMaxLinkHops = 40;

std::string systemReason(int code) {
  return std::system_category().message(code);
}

Error writeError(const fs::path& target, const std::string& reason) {
  return Error{"cannot write " + pathForMessage(target) + ": " + reason};
}

FileRead readFailure(const fs::path& path, ReadFailure failure, const std::string& reason) {
  FileRead read;
  read.failure = failure;
  read.message = "cannot read " + pathForMessage(path) + ": " + reason;
  read.reason = reason;
  return read;
}

std::string tooLargeReason(std::uint64_t size, std::uint64_t ceiling) {
  return "too large (" + std::to_string(size) + " bytes; at most " + std::to_string(ceiling) +
         " expected)";
}

// Follows symbolic links from `target` to the path that names the file
// itself, which need not exist yet (a dangling link names the file to make).
Result<fs::path> followLinks(const fs::path& target) {
  fs::path current = target;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error)) || error) return current;
    const fs::path link = fs::read_symlink(current, error);
    if (error) return writeError(target, error.message());
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  return writeError(target, systemReason(ELOOP));
}

// The temporary file of the write in progress, for the interrupt handler: a
// fixed buffer, since a handler may not allocate.
#ifdef _WIN32
using NativeChar = wchar_t;
constexpr std::size_t kTemporaryBufferSize = 32768;
#else
using NativeChar = char;
constexpr std::size_t kTemporaryBufferSize = 4096;
#endif
NativeChar temporaryInProgress[kTemporaryBufferSize];
volatile std::sig_atomic_t temporaryActive = 0;

void registerTemporary(const fs::path& temporary) {
  const auto& native = temporary.native();
  if (native.size() >= kTemporaryBufferSize) return;
  std::copy(native.begin(), native.end(), temporaryInProgress);
  temporaryInProgress[native.size()] = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  temporaryActive = 1;
}

void unregisterTemporary() {
  temporaryActive = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

#ifdef _WIN32

ReadFailure failureOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ReadFailure::NotFound;
    case ERROR_ACCESS_DENIED:
      return ReadFailure::Denied;
    case ERROR_CANT_RESOLVE_FILENAME:  // a loop of symbolic links
      return ReadFailure::NotAFile;
    default:
      return ReadFailure::ReadFailed;
  }
}

std::string lastReason() {
  return systemReason(static_cast<int>(GetLastError()));
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now and tells whether closing succeeded.
  bool close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

DWORD writeAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 30);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &written, nullptr) ||
        written == 0) {
      const DWORD failure = GetLastError();
      return failure != 0 ? failure : ERROR_WRITE_FAULT;
    }
    done += written;
  }
  return 0;
}

// Writes all of `bytes`, flushes them to disk and closes the file: the code
// of the first step that failed, the closing included, or 0.
DWORD writeFlushClose(Handle& file, std::span<const std::uint8_t> bytes) {
  DWORD failure = writeAll(file.get(), bytes);
  if (failure == 0 && !FlushFileBuffers(file.get())) failure = GetLastError();
  if (!file.close() && failure == 0) failure = GetLastError();
  return failure;
}

std::error_code lastError() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

#else

ReadFailure failureOf(int code) {
  switch (code) {
    case ENOENT:
    case ENOTDIR:
      return ReadFailure::NotFound;
    case ELOOP:
    case ENXIO:  // a socket
      return ReadFailure::NotAFile;
    case EACCES:
    case EPERM:
      return ReadFailure::Denied;
    default:
      return ReadFailure::ReadFailed;
  }
}

int writeAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
    } else if (written == 0) {
      return EIO;
    } else if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

// Writes all of `bytes`, flushes them to disk and closes `fd`: the errno of
// the first step that failed, the closing included, or 0.
int writeSyncClose(int fd, std::span<const std::uint8_t> bytes) {
  int failure = writeAll(fd, bytes);
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  return failure;
}

extern "C" void onInterrupt(int signal) {
  if (temporaryActive != 0) unlink(temporaryInProgress);
  _exit(128 + signal);
}

#endif

}  // namespace

#ifdef _WIN32

FileRead readRegularFile(const fs::path& path, std::uint64_t ceiling, OverCeiling overCeiling) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    return readFailure(path, failureOf(code), systemReason(static_cast<int>(code)));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return readFailure(path, ReadFailure::NotAFile, "is a folder");
  }
  Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD code = GetLastError();
    return readFailure(path, failureOf(code), systemReason(static_cast<int>(code)));
  }
  // Devices ("NUL", "CON", ports) and pipes are no files.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    return readFailure(path, ReadFailure::NotAFile, "is not a regular file");
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    return readFailure(path, ReadFailure::ReadFailed, lastReason());
  }
  const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
  if (fileSize > ceiling && overCeiling == OverCeiling::Refuse) {
    return readFailure(path, ReadFailure::TooLarge, tooLargeReason(fileSize, ceiling));
  }
  // One byte beyond the ceiling tells a file that grew meanwhile.
  const std::uint64_t cap = overCeiling == OverCeiling::Refuse ? ceiling + 1 : ceiling;
  FileRead read;
  read.bytes.reserve(static_cast<std::size_t>(std::min(fileSize, ceiling)));
  std::uint8_t chunk[64 * 1024];
  while (read.bytes.size() < cap) {
    const auto wanted =
        static_cast<DWORD>(std::min<std::uint64_t>(sizeof chunk, cap - read.bytes.size()));
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, wanted, &got, nullptr)) {
      return readFailure(path, ReadFailure::ReadFailed, lastReason());
    }
    if (got == 0) break;
    read.bytes.insert(read.bytes.end(), chunk, chunk + got);
  }
  if (read.bytes.size() > ceiling) {
    return readFailure(path, ReadFailure::TooLarge, tooLargeReason(read.bytes.size(), ceiling));
  }
  return read;
}

#else

FileRead readRegularFile(const fs::path& path, std::uint64_t ceiling, OverCeiling overCeiling) {
  // A FIFO, device or socket is refused before it is opened: opening some
  // of them waits or has effects of its own.
  struct stat before {};
  if (stat(path.c_str(), &before) != 0) {
    const int code = errno;
    return readFailure(path, failureOf(code), systemReason(code));
  }
  if (S_ISDIR(before.st_mode)) return readFailure(path, ReadFailure::NotAFile, "is a folder");
  if (!S_ISREG(before.st_mode)) {
    return readFailure(path, ReadFailure::NotAFile, "is not a regular file");
  }
  // Opened without waiting, and checked again: the name may have been
  // pointed elsewhere since.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    return readFailure(path, failureOf(code), systemReason(code));
  }
  struct stat opened {};
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    close(fd);
    return readFailure(path, ReadFailure::NotAFile, "is not a regular file");
  }
  const auto fileSize = static_cast<std::uint64_t>(opened.st_size);
  if (fileSize > ceiling && overCeiling == OverCeiling::Refuse) {
    close(fd);
    return readFailure(path, ReadFailure::TooLarge, tooLargeReason(fileSize, ceiling));
  }
  // One byte beyond the ceiling tells a file that grew meanwhile.
  const std::uint64_t cap = overCeiling == OverCeiling::Refuse ? ceiling + 1 : ceiling;
  FileRead read;
  read.bytes.reserve(static_cast<std::size_t>(std::min(fileSize, ceiling)));
  std::uint8_t chunk[64 * 1024];
  int failure = 0;
  while (read.bytes.size() < cap) {
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, cap - read.bytes.size()));
    const ssize_t got = ::read(fd, chunk, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failure = errno;
      break;
    }
    if (got == 0) break;
    read.bytes.insert(read.bytes.end(), chunk, chunk + got);
  }
  close(fd);
  if (failure != 0) return readFailure(path, ReadFailure::ReadFailed, systemReason(failure));
  if (read.bytes.size() > ceiling) {
    return readFailure(path, ReadFailure::TooLarge, tooLargeReason(read.bytes.size(), ceiling));
  }
  return read;
}

#endif

#ifdef _WIN32

namespace {

// Writes straight into a device or pipe that is already open.
Status writeDirectly(HANDLE file, const fs::path& target, std::span<const std::uint8_t> bytes) {
  if (const DWORD failure = writeAll(file, bytes); failure != 0) {
    return writeError(target, systemReason(static_cast<int>(failure)));
  }
  return {};
}

Status replaceAtomically(const fs::path& file, const fs::path& target,
                         std::span<const std::uint8_t> bytes) {
  HANDLE created = INVALID_HANDLE_VALUE;
  const MadeSibling temporary = makeFreshSibling(file, {}, [&](const fs::path& name) {
    // Shared for deletion, so that an interrupt can remove it while open.
    // Noted before it exists: the console handler runs on a thread of its
    // own, at any moment.
    registerTemporary(name);
    created = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) return std::error_code{};
    const std::error_code error = lastError();
    unregisterTemporary();
    return error;
  });
  if (!temporary.ok()) return writeError(target, temporary.error.message());
  Handle handle(created);
  DWORD failure = writeFlushClose(handle, bytes);
  if (failure == 0 && !MoveFileExW(temporary.path.c_str(), file.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = GetLastError();
  }
  if (failure != 0) DeleteFileW(temporary.path.c_str());
  unregisterTemporary();
  if (failure != 0) return writeError(target, systemReason(static_cast<int>(failure)));
  return {};
}

BOOL WINAPI onConsoleEvent(DWORD event) {
  UINT code = 0;
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      code = 130;
      break;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      code = 129;
      break;
    default:
      return FALSE;
  }
  // The file is open for sharing deletion: it goes when its handle closes.
  if (temporaryActive != 0) DeleteFileW(temporaryInProgress);
  ExitProcess(code);
}

}  // namespace

Status writeFileAtomic(const fs::path& target, std::span<const std::uint8_t> bytes) {
  auto followed = followLinks(target);
  if (!followed) return followed.error();
  const fs::path& file = *followed;
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return writeError(target, "is a folder");
    // Opening for writing is the check the system itself makes: a read-only
    // or locked file is refused here and never replaced.
    Handle existing(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.valid()) return writeError(target, lastReason());
    if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
      return writeDirectly(existing.get(), target, bytes);
    }
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    // Devices such as "NUL" have no attributes but open as files.
    Handle device(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (device.valid() && GetFileType(device.get()) != FILE_TYPE_DISK) {
      return writeDirectly(device.get(), target, bytes);
    }
  }
  return replaceAtomically(file, target, bytes);
}

std::error_code writeNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return lastError();
  const DWORD failure = writeFlushClose(file, bytes);
  if (failure == 0) return {};
  DeleteFileW(path.c_str());
  return {static_cast<int>(failure), std::system_category()};
}

void removeTemporaryFileOnInterrupt() {
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

#else

namespace {

Status writeDirectly(const fs::path& file, const fs::path& target,
                     std::span<const std::uint8_t> bytes) {
  const int fd = open(file.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return writeError(target, systemReason(errno));
  int failure = writeAll(fd, bytes);
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) return writeError(target, systemReason(failure));
  return {};
}

// Makes the rename itself durable. Not every file system can sync a folder;
// the new file is in place either way, so a failure here is not reported.
void syncFolderOf(const fs::path& file) {
  fs::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)fsync(fd);
    close(fd);
  }
}

// A new temporary file beside `file`, open for writing and noted for the
// interrupt handler. The interrupts wait meanwhile, so that none can come
// between making the file and noting it and leave the file behind.
MadeSibling createTemporaryFor(const fs::path& file, int& fd) {
  sigset_t interrupts;
  sigset_t previous;
  sigemptyset(&interrupts);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    sigaddset(&interrupts, signal);
  pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
  MadeSibling temporary = makeFreshSibling(file, {}, [&fd](const fs::path& name) {
    fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    return fd < 0 ? std::error_code{errno, std::generic_category()} : std::error_code{};
  });
  if (temporary.ok()) registerTemporary(temporary.path);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return temporary;
}

// Gives the new file the old one's owner and group where the process may
// (the group alone when only that is allowed), then its permissions: a
// change of owner clears the set-id bits. The errno of setting the
// permissions, or 0.
int takeOwnerAndMode(int fd, const struct stat& existing) {
  if (fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
      fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
    // Neither is allowed: the file keeps the process's owner and group.
  }
  return fchmod(fd, existing.st_mode & 07777) != 0 ? errno : 0;
}

Status replaceAtomically(const fs::path& file, const fs::path& target,
                         std::span<const std::uint8_t> bytes, const struct stat* existing) {
  int fd = -1;
  const MadeSibling temporary = createTemporaryFor(file, fd);
  if (!temporary.ok()) return writeError(target, temporary.error.message());
  int failure = existing != nullptr ? takeOwnerAndMode(fd, *existing) : 0;
  if (failure == 0) {
    failure = writeSyncClose(fd, bytes);
  } else {
    close(fd);
  }
  if (failure == 0 && rename(temporary.path.c_str(), file.c_str()) != 0) failure = errno;
  if (failure != 0) unlink(temporary.path.c_str());
  unregisterTemporary();
  if (failure != 0) return writeError(target, systemReason(failure));
  syncFolderOf(file);
  return {};
}

}  // namespace

Status writeFileAtomic(const fs::path& target, std::span<const std::uint8_t> bytes) {
  auto followed = followLinks(target);
  if (!followed) return followed.error();
  const fs::path& file = *followed;
  struct stat existing {};
  if (stat(file.c_str(), &existing) != 0) {
    if (errno != ENOENT) return writeError(target, systemReason(errno));
    return replaceAtomically(file, target, bytes, nullptr);
  }
  if (S_ISDIR(existing.st_mode)) return writeError(target, "is a folder");
  if (!S_ISREG(existing.st_mode)) return writeDirectly(file, target, bytes);
  // Opening for writing is the check the system itself makes (permissions,
  // read-only file systems, immutable files): a file that would refuse it is
  // not replaced behind its back. Nothing is written through this opening.
  const int probe = open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (probe < 0) return writeError(target, systemReason(errno));
  close(probe);
  return replaceAtomically(file, target, bytes, &existing);
}

std::error_code writeNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return {errno, std::generic_category()};
  const int failure = writeSyncClose(fd, bytes);
  if (failure == 0) return {};
  unlink(path.c_str());
  return {failure, std::generic_category()};
}

void removeTemporaryFileOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

#endif

#ifdef _WIN32
namespace {

// The system's own codes, as the file functions report them on Windows.
std::optional<WriteProblem> windowsProblemOf(std::error_code error) {
  if (error.category() != std::system_category()) return std::nullopt;
  switch (static_cast<DWORD>(error.value())) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteProblem::NoSpace;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return WriteProblem::Denied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return WriteProblem::BadName;
    default:
      return WriteProblem::Other;
  }
}

}  // namespace
#endif

WriteProblem writeProblemOf(std::error_code error) {
#ifdef _WIN32
  if (const auto problem = windowsProblemOf(error)) return *problem;
#endif
  if (error == std::errc::no_space_on_device || error == std::errc::file_too_large) {
    return WriteProblem::NoSpace;
  }
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
      error == std::errc::read_only_file_system) {
    return WriteProblem::Denied;
  }
  if (error == std::errc::invalid_argument || error == std::errc::filename_too_long ||
      error == std::errc::illegal_byte_sequence) {
    return WriteProblem::BadName;
  }
  return WriteProblem::Other;
}

std::string pathForMessage(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  const std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  // A name that CP932 cannot spell is shown as its raw bytes.
  if (auto cp932 = utf8ToCp932(text)) return *cp932;
  return std::string(text);
}

}  // namespace ws::platform
