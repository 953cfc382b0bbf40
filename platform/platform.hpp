// The operations the mode logic needs of the system: files, dialogs, processes. Win32
// implements them for the product; the native tests give the mode logic a folder in memory.
#pragma once

#include "platform/error.hpp"

#include <string_view>

namespace kelvarin {

enum class MessageIcon { None, Error };

class Platform {
public:
  // True exactly when the file can be opened for reading; it is opened and closed at once.
  virtual bool canOpenForReading(std::wstring_view name) = 0;

  // Creates or truncates the file and writes `line` as single-byte text followed by CR LF.
  // On failure nothing half-written remains: a file it created or truncated is removed.
  virtual Status writeLine(std::wstring_view name, std::string_view line) = 0;

  // Deletes the file; one that is already gone is no failure.
  virtual Status deleteFile(std::wstring_view name) = 0;

  // Modal; returns when the user has closed it. OK is the only button.
  virtual Status messageBox(std::wstring_view text, std::wstring_view caption,
                            MessageIcon icon) = 0;

  // Starts the named program of the current directory minimized with focus, with that
  // directory as its own, and returns without waiting.
  virtual Status startProgram(std::wstring_view name) = 0;

protected:
  ~Platform() = default;
};

} // namespace kelvarin
