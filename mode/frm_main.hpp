// frmMain's own logic: the mode state, the start-up check and the three commands. It knows
// the window only as the two controls that show the mode, so it runs without one in tests.
#pragma once

#include "platform/error.hpp"
#include "platform/platform.hpp"

#include <string>
#include <string_view>

namespace kelvarin {

class ModeDisplay {
public:
  virtual void setSwitchCaption(std::wstring_view caption) = 0; // lblSwitch
  virtual void setModeText(std::wstring_view text) = 0;         // txtMode

protected:
  ~ModeDisplay() = default;
};

class FrmMain {
public:
  FrmMain(Platform& platform, ModeDisplay& display) noexcept
      : platform_(platform), display_(display) {}

  // Records the mode and shows it; touches no file.
  void Butt(bool exist);

  // The Load handler: refuses to run outside the game directory, then learns the mode.
  void Form_Load();

  void lblSwitch_Click();
  void lblRun_Click();
  void lblExit_Click();

  // The window's Tag: the text form of the mode last recorded.
  const std::wstring& Tag() const noexcept { return tag_; }

  // Once the program has been ended, no handler runs any more.
  bool ended() const noexcept { return ended_; }

private:
  void End();
  void switchFailed(std::wstring_view what, const Error& error);
  void showError(std::wstring_view what, const Error& error);

  Platform& platform_;
  ModeDisplay& display_;
  std::wstring tag_;
  bool ended_ = false;
};

} // namespace kelvarin
