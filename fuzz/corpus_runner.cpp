// A main for a fuzz target without libFuzzer: runs the target once over
// every file of the folders (or files) given, as libFuzzer does with its
// seed corpus, so that each seed stays a regression test in every build.
// A target that finds a fault aborts, which fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Every regular file below `root` (or `root` itself), in a fixed order.
std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  if (std::filesystem::is_regular_file(root, error)) return {root};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
    return 2;
  }
  int ran = 0;
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::filesystem::path> inputs = inputsOf(argv[i]);
    if (inputs.empty()) {
      // A mistyped or emptied corpus must not pass as tested.
      std::fprintf(stderr, "no inputs in %s\n", argv[i]);
      return 1;
    }
    for (const std::filesystem::path& input : inputs) {
      std::ifstream file(input, std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>()};
      if (!file.good() && !file.eof()) {
        std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
        return 1;
      }
      // A buffer of exactly the input's size, as libFuzzer passes it, so
      // that a sanitizer sees a read one past its end.
      const auto data = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(bytes.size(), 1));
      std::copy(bytes.begin(), bytes.end(), data.get());
      std::printf("%s\n", input.filename().string().c_str());
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(data.get(), bytes.size());
      ++ran;
    }
  }
  std::printf("%d inputs passed\n", ran);
  return 0;
}
