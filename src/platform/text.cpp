#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace ws::platform {
namespace {

// glibc's name for the Windows Japanese code page (Shift-JIS with the NEC and
// IBM extensions), the encoding of every text of the host game.
constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv_open reports failure as (iconv_t)-1.
  bool valid() const {
    return handle_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // Converts as much of [in, in + inLeft) as it can, appending to `out`.
  // Returns 0 when everything was converted, else the errno that stopped it
  // (EILSEQ: invalid or unrepresentable input at `in`; EINVAL: the input
  // ends inside a character).
  int convert(const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      // iconv's signature takes char** for the input; it never writes to it.
      const std::size_t done = iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (done == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;  // buffer full: flushed above, go on
        return errno;
      }
    }
    return 0;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  Converter converter(kUtf8, kCp932);
  if (!converter.valid()) {
    // Without the converter only plain ASCII can be shown as it is.
    for (const char c : cp932) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out += c;
      } else {
        out += kReplacementCharacter;
      }
    }
    return out;
  }
  const char* in = cp932.data();
  std::size_t inLeft = cp932.size();
  while (inLeft > 0) {
    const int error = converter.convert(in, inLeft, out);
    if (error == 0) break;
    out += kReplacementCharacter;
    if (error != EILSEQ) break;  // cut inside a double-byte character
    // Skip only the offending byte, so that a lead byte followed by a plain
    // character keeps that character.
    ++in;
    --inLeft;
  }
  return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  Converter converter(kCp932, kUtf8);
  if (!converter.valid()) return std::nullopt;
  std::string out;
  out.reserve(utf8.size());
  const char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  if (converter.convert(in, inLeft, out) != 0) return std::nullopt;
  // The converter maps a few characters outside the code page to look-alikes
  // (U+00A5 YEN SIGN to the backslash byte, U+203E OVERLINE to "~"). Those
  // would silently change a name or a path, so a text that does not come
  // back unchanged counts as unrepresentable.
  if (cp932ToUtf8(out) != utf8) return std::nullopt;
  return out;
}

}  // namespace ws::platform
