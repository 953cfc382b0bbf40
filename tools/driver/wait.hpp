// Waiting for what the program does: a look every few milliseconds up to a deadline.
#pragma once

#include <chrono>
#include <thread>

namespace kelvarin::e2e {

// Calls `done` every `step` until it says so or `limit` has passed.
template <typename Done>
bool waitUntil(Done done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step = std::chrono::milliseconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(step);
  }
  return true;
}

// Long enough for anything the program does; reached only when something is wrong.
constexpr auto kDeadline = std::chrono::seconds(10);

template <typename Done> bool poll(Done done) {
  return waitUntil(done, kDeadline);
}

} // namespace kelvarin::e2e
