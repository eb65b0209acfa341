#include "codec/huffman_tables.h"

namespace ws::codec {

std::int64_t codeBitSum(const CodeLengthTable& lengths) {
  std::int64_t sum = 0;
  for (const std::uint8_t length : lengths)
    sum += length;
  return sum;
}

}  // namespace ws::codec
