// The platform operations on POSIX, so the mode logic runs natively on real files. There
// is no desktop here: message boxes are recorded, not shown.
#pragma once

#include "platform/platform.hpp"

#include <string>
#include <vector>

namespace kelvarin::posix {

struct ShownMessage {
  std::wstring text;
  std::wstring caption;
  MessageIcon icon;
};

class PosixPlatform final : public Platform {
public:
  bool canOpenForReading(std::wstring_view name) override;
  Status writeLine(std::wstring_view name, std::string_view line) override;
  Status deleteFile(std::wstring_view name) override;
  Status messageBox(std::wstring_view text, std::wstring_view caption, MessageIcon icon) override;
  Status startProgram(std::wstring_view name) override;

  const std::vector<ShownMessage>& messages() const noexcept { return messages_; }

private:
  std::vector<ShownMessage> messages_;
};

} // namespace kelvarin::posix
