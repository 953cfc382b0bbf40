// A failed platform operation: the system's error number and its own description of it.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace kelvarin {

class Error : public std::exception {
public:
  Error(unsigned long code, std::wstring description)
      : code_(code), description_(std::move(description)) {}

  unsigned long code() const noexcept { return code_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "platform operation failed"; }

private:
  unsigned long code_;
  std::wstring description_;
};

} // namespace kelvarin
