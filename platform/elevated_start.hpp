// Starting a program that is set to run as administrator. A program that runs without
// elevation cannot create such a process itself; the shell can, once the user agrees.
#pragma once

#include "platform/error.hpp"

namespace kelvarin {

// ERROR_ELEVATION_REQUIRED: the program to be started asks for more rights than ours.
inline constexpr unsigned long kElevationRequired = 740;

// Starts directly; only where that needs elevation, through the shell, whose outcome (the
// user declining its prompt among them) is then the one told. Each step returns a Status.
template <typename Direct, typename ThroughShell>
Status startElevatedIfAsked(Direct direct, ThroughShell throughShell) {
  Status started = direct();
  if (!started.ok() && started.error().code == kElevationRequired) {
    return throughShell();
  }
  return started;
}

} // namespace kelvarin
