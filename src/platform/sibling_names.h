#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace ws::platform {

// Whatever stands in for a file or folder while it is being written sits
// beside it, in the same folder: one rename then puts it in place, on the
// same file system. Its name is hidden and random, ".NAME.TAGXXXXXX", with
// NAME cut so that the whole name still fits the file system's limit.

// How many random letters end a temporary name (the XXXXXX).
inline constexpr std::size_t kSiblingSuffixLength = 6;

// One fresh name beside `target`, not checked against the folder. The
// random part comes from a generator seeded once per process.
std::filesystem::path temporarySiblingName(const std::filesystem::path& target,
                                           std::string_view tag = {});

// A file or folder made under a fresh name, or the system's error of the
// attempt that ended the search.
struct MadeSibling {
  std::filesystem::path path;
  std::error_code error;
  bool ok() const { return !error; }
};

// Makes something under a fresh name beside `target`. `make` creates it at
// the name it is given, exclusively (it never opens, replaces or follows
// what is already there), and returns the system's error. A name that is
// taken is tried again with another, a bounded number of times; any other
// error ends the search at once.
MadeSibling makeFreshSibling(
    const std::filesystem::path& target, std::string_view tag,
    const std::function<std::error_code(const std::filesystem::path&)>& make);

// A new empty folder beside `target`.
MadeSibling makeTemporaryFolderBeside(const std::filesystem::path& target, std::string_view tag);

}  // namespace ws::platform
