#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace ws {

// A failure. The message is the system's own text in CP932, exactly as a
// message box shows it; the window and the command line convert it for
// display. The detail says what exactly was wrong, for the command line and
// logs (which file, which offset or count): the window never shows it, so
// several faults may share one message and still be told apart. Bad input is
// ordinary: it comes back as an Error, never as an exception.
struct Error {
  Error() = default;
  explicit Error(std::string text, std::string why = {})
      : message(std::move(text)), detail(std::move(why)) {}

  std::string message;
  std::string detail;  // plain ASCII or CP932; empty when the message says it all
};

// The message followed by the detail, as the command line prints it:
// "MESSAGE (DETAIL)", or the message alone.
inline std::string withDetail(const Error& error) {
  if (error.detail.empty()) return error.message;
  return error.message + " (" + error.detail + ")";
}

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
  Result(Error error) : state_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const {
    assert(!ok());
    return std::get<1>(state_);
  }

 private:
  std::variant<T, Error> state_;
};

// The result of an operation that yields nothing but success or an Error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Error& error() const {
    assert(!ok());
    return *error_;
  }

 private:
  std::optional<Error> error_;
};

}  // namespace ws
