// The code behind the window frmMain: its Load and Click handlers, and Butt and Tag, which
// they share. It knows the window only through FormHost, so it runs without one in tests. Each
// handler returns what nothing here expected, for the window's unhandled-error report.
#pragma once

#include "platform/error.hpp"
#include "platform/platform.hpp"

#include <string>
#include <string_view>

namespace kelvarin {

// What the form needs of the window that hosts it. The texts it shows are the built-in ones,
// which last as long as the program: the window keeps the views, not copies.
class FormHost {
public:
  virtual Status setSwitchCaption(std::wstring_view caption) = 0; // lblSwitch
  virtual Status setModeText(std::wstring_view text) = 0;         // txtMode
  // The form's one way to end: closes the window, which ends the program once the handler
  // that asked has returned.
  virtual void close() = 0;

protected:
  ~FormHost() = default;
};

class FrmMain {
public:
  FrmMain(Platform& platform, FormHost& host) noexcept : platform_(platform), host_(host) {}

  // Records the mode and shows it; touches no file.
  Status Butt(bool exist);

  // The Load handler: refuses to run outside the game directory, then learns the mode.
  Status Form_Load();

  Status lblSwitch_Click();
  Status lblRun_Click();
  Status lblExit_Click();

  // The window's Tag: the text form of the mode last recorded.
  const std::wstring& Tag() const noexcept { return tag_; }

private:
  Status switchFailed(std::wstring_view what, const Error& error);
  Status showError(std::wstring_view what, const Error& error);

  Platform& platform_;
  FormHost& host_;
  std::wstring tag_;
};

} // namespace kelvarin
