// A failed platform operation: the system's error number and its own description of it.
// The program is built without exceptions (they would double its size), so failures travel
// as values.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kelvarin {

struct Error {
  unsigned long code;
  std::wstring description;
};

// The outcome of an operation that gives nothing back: success, or the error that stopped it.
class [[nodiscard]] Status {
public:
  Status() noexcept = default;
  Status(Error error) : error_(std::move(error)) {}

  bool ok() const noexcept { return !error_.has_value(); }
  const Error& error() const noexcept { return *error_; }

private:
  std::optional<Error> error_;
};

// Runs the steps one after another, each a callable returning a Status, and stops at the
// first that fails: its failure, or success when all went well.
template <typename... Steps> Status inOrder(Steps&&... steps) {
  Status status;
  static_cast<void>(((status = steps()).ok() && ...));
  return status;
}

} // namespace kelvarin
