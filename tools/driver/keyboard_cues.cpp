// The system's keyboard cues setting, set for as long as a test needs it.
#include "tools/driver/keyboard_cues.hpp"

#include "tools/driver/failure.hpp"

#include <cstdint>

namespace kelvarin::e2e {

namespace {

// Stored, so that other processes read it; nobody is told, since nothing running needs it.
bool setKeyboardCues(BOOL always) {
  return ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                                 reinterpret_cast<void*>(static_cast<std::uintptr_t>(always)),
                                 SPIF_UPDATEINIFILE) != 0;
}

} // namespace

KeyboardCues::KeyboardCues(bool always) {
  if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &old_, 0) == 0 || !setKeyboardCues(always)) {
    fail("SystemParametersInfoW");
  }
}

KeyboardCues::~KeyboardCues() {
  setKeyboardCues(old_);
}

} // namespace kelvarin::e2e
