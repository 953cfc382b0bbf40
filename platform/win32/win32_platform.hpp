// The platform operations on Win32: the product's implementation.
#pragma once

#include "platform/platform.hpp"
#include "platform/win32/handles.hpp"

#include <windows.h>

#include <string>

namespace kelvarin::win32 {

class Win32Platform final : public Platform {
public:
  // Message boxes are modal to this window once it is shown.
  void setOwner(HWND owner) noexcept { owner_ = owner; }

  bool canOpenForReading(std::wstring_view name) override;
  Status writeLine(std::wstring_view name, std::string_view line) override;
  Status deleteFile(std::wstring_view name) override;
  Status messageBox(std::wstring_view text, std::wstring_view caption, MessageIcon icon) override;
  Status startProgram(std::wstring_view name) override;

private:
  Status startThroughShell(const std::wstring& path, const std::wstring& folder);

  HWND owner_ = nullptr;
  UniqueModule shell_;
};

} // namespace kelvarin::win32
