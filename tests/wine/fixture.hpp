// The fixture most Wine tests share: a game folder of their own with the stand-in game
// installed, and kelvarin.exe started in it when the test says.
#pragma once

#include "tools/driver/game_folder.hpp"
#include "tools/driver/kelvarin.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace kelvarin::e2e {

class InGameFolder : public testing::Test {
protected:
  // Starts the program and waits for its window; a fatal failure if none appears.
  void start() {
    app_ = std::make_unique<Kelvarin>(folder_);
    window_ = app_->waitForWindow();
    ASSERT_NE(window_, nullptr) << "the window did not appear";
  }

  // Declared first, so the program has ended before its folder goes.
  GameFolder folder_{GameFolder::Game::Installed};
  std::unique_ptr<Kelvarin> app_;
  HWND window_ = nullptr;
};

} // namespace kelvarin::e2e
