// The unhandled-error report: its text and the box.
#include "platform/report.hpp"

#include "platform/text.hpp"

namespace kelvarin {

std::wstring unhandledErrorText(const Error& error) {
  return L"Run-time error " + decimal(error.code) + L":\n\n" + error.description +
         L"\n\nThe program will now end.";
}

void reportUnhandled(Platform& platform, const Error& error, std::wstring_view caption) {
  // If not even this box can be shown, ending is all that is left.
  static_cast<void>(platform.messageBox(unhandledErrorText(error), caption, MessageIcon::Error));
}

} // namespace kelvarin
