// The platform operations on POSIX files and processes, for the native tests of the mode logic.
#include "platform/posix/posix_platform.hpp"

#include "platform/error.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace kelvarin::posix {

namespace {

// UTF-8 from the wide names (wchar_t is UTF-32 here).
std::string narrow(std::wstring_view text) {
  std::string out;
  for (const wchar_t wide : text) {
    const auto c = static_cast<char32_t>(wide);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Error errnoError(int code) {
  const std::string text = std::strerror(code);
  return Error{static_cast<unsigned long>(code), std::wstring(text.begin(), text.end())};
}

class Fd {
public:
  explicit Fd(int fd) noexcept : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const noexcept { return fd_; }
  int release() noexcept { return std::exchange(fd_, -1); }

private:
  int fd_;
};

} // namespace

bool PosixPlatform::canOpenForReading(std::wstring_view name) {
  const Fd fd(::open(narrow(name).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  // A folder opens for reading here, but not on Windows: it counts as absent.
  return fd.get() >= 0 && ::fstat(fd.get(), &info) == 0 && !S_ISDIR(info.st_mode);
}

Status PosixPlatform::writeLine(std::wstring_view name, std::string_view line) {
  const std::string path = narrow(name);
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    return errnoError(errno);
  }
  std::string bytes(line);
  bytes += "\r\n";
  const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
  int failure = written < 0 ? errno : (static_cast<size_t>(written) != bytes.size() ? ENOSPC : 0);
  if (::close(fd.release()) != 0 && failure == 0) {
    failure = errno;
  }
  if (failure != 0) {
    ::unlink(path.c_str());
    return errnoError(failure);
  }
  return {};
}

Status PosixPlatform::deleteFile(std::wstring_view name) {
  if (::unlink(narrow(name).c_str()) == 0 || errno == ENOENT) {
    return {};
  }
  return errnoError(errno);
}

Status PosixPlatform::messageBox(std::wstring_view text, std::wstring_view caption,
                                 MessageIcon icon) {
  messages_.push_back({std::wstring(text), std::wstring(caption), icon});
  return {};
}

Status PosixPlatform::startProgram(std::wstring_view name) {
  char resolved[PATH_MAX];
  if (::realpath(narrow(name).c_str(), resolved) == nullptr) {
    return errnoError(errno);
  }
  char* argv[] = {resolved, nullptr};
  pid_t child = 0;
  const int failure = ::posix_spawn(&child, resolved, nullptr, nullptr, argv, environ);
  return failure == 0 ? Status{} : Status{errnoError(failure)};
}

} // namespace kelvarin::posix
