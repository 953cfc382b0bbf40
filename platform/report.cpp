#include "platform/report.hpp"

namespace kelvarin {

std::wstring unhandledErrorText(const Error& error) {
  return L"Run-time error " + std::to_wstring(error.code()) + L":\n\n" + error.description() +
         L"\n\nThe program will now end.";
}

void reportUnhandled(Platform& platform, const Error& error, std::wstring_view caption) noexcept {
  try {
    platform.messageBox(unhandledErrorText(error), caption, MessageIcon::Error);
  } catch (...) {
    // Out of memory while building the text, or no dialog to be had: ending is all that is left.
  }
  platform.endProgram();
}

} // namespace kelvarin
