// The system's keyboard cues setting, set for as long as a test needs it.
#pragma once

#include <windows.h>

namespace kelvarin::e2e {

// The system's "always show keyboard cues" setting as given, for the programs started while this
// lives; then as it was. Wine's own default is on, Windows' off.
class KeyboardCues {
public:
  explicit KeyboardCues(bool always);
  KeyboardCues(const KeyboardCues&) = delete;
  KeyboardCues& operator=(const KeyboardCues&) = delete;
  ~KeyboardCues();

private:
  BOOL old_ = FALSE;
};

} // namespace kelvarin::e2e
