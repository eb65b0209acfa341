// Arbitrary bytes as a codec stream. The fast decoder and the bit-serial
// reference must agree on every input, error for error and byte for byte;
// whatever decodes must encode and decode back to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "codec/reference_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> stream(data, size);
  auto fast = ws::codec::decodeStream(stream);
  auto reference = ws::codec::reference::decodeStream(stream);
  if (fast.ok() != reference.ok()) std::abort();
  if (!fast.ok()) {
    if (fast.error().message != reference.error().message) std::abort();
    return 0;
  }
  if (*fast != *reference) std::abort();

  const ws::codec::Bytes again = ws::codec::encodeStream(*fast);
  auto roundTrip = ws::codec::decodeStream(again);
  if (!roundTrip.ok() || *roundTrip != *fast) std::abort();
  return 0;
}
