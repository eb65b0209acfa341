// Arbitrary bytes as a save file held in memory: either the body comes back,
// and then writing it again gives a file that reads back to the same body, or
// one of the two errors does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "codec/save_container.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  auto body = ws::codec::decodeSaveFile(file, "RVTSV1.dat");
  if (!body.ok()) {
    const std::string& message = body.error().message;
    if (message != "error in decord" && message != ws::codec::notASaveFileMessage("RVTSV1.dat")) {
      std::abort();
    }
    return 0;
  }
  const ws::codec::Bytes again = ws::codec::encodeSaveFile(*body);
  auto reread = ws::codec::decodeSaveFile(again, "RVTSV1.dat");
  if (!reread.ok() || *reread != *body) std::abort();
  return 0;
}
