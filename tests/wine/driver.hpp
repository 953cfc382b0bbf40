// The end-to-end harness: a throw-away game folder, and the real kelvarin.exe started in it and
// driven as a user would, through its windows and real mouse input. Failures of the harness
// itself throw; what the program does is left to the tests to judge.
#pragma once

#include "platform/win32/handles.hpp"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarin::e2e {

std::string utf8(std::wstring_view text);
std::wstring windowsPath(std::string_view unixPath);

// A unique folder under the temporary folder, named with spaces and non-ASCII letters, so that
// every path the program builds is tested with both. Removed with its contents at the end.
class GameFolder {
public:
  enum class Game { Missing, Installed }; // Installed: the stand-in game is icytower.exe

  explicit GameFolder(Game game);
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;
  ~GameFolder();

  const std::wstring& path() const noexcept { return path_; }
  std::wstring pathOf(std::wstring_view name) const;

  void write(std::wstring_view name, std::string_view bytes) const;
  // The file's bytes; nothing where there is no file of that name.
  std::optional<std::string> read(std::wstring_view name) const;
  bool exists(std::wstring_view name) const;
  void remove(std::wstring_view name) const; // a file or an empty folder
  void makeFolder(std::wstring_view name) const;

  // The stand-in game's record: one line per start, without the line end.
  std::vector<std::string> gameStarts() const;
  bool waitForGameStarts(std::size_t count) const;

private:
  std::wstring path_;
};

struct MessageBoxView {
  HWND window;
  std::wstring caption;
  std::wstring text;
  bool hasIcon;
  std::vector<int> buttons; // the control IDs of the visible buttons
};

// kelvarin.exe running with the game folder as its current directory; ended at the latest
// when this goes.
class Kelvarin {
public:
  explicit Kelvarin(const GameFolder& folder);
  Kelvarin(const Kelvarin&) = delete;
  Kelvarin& operator=(const Kelvarin&) = delete;
  ~Kelvarin();

  // Each wait polls until what it waits for is there or a deadline has passed.
  HWND waitForWindow(); // the visible main window, or null
  std::optional<MessageBoxView> waitForMessageBox();
  bool waitForModeText(std::wstring_view text) const;
  bool waitForExit();

  bool running() const;
  // Whether any wait so far has seen the main window visible.
  bool windowEverShown() const noexcept { return shown_; }
  // Whether the process has a message box at all, shown yet or not.
  bool hasMessageBox() const;

  std::wstring modeText() const;
  // A real mouse click (move, press, release) in the middle of the control of that name.
  void click(std::string_view control) const;
  void pressOk(const MessageBoxView& box) const;
  // Returns once the program has finished handling what it was handling, or waits modally.
  void settle() const;

private:
  HWND findWindow(const wchar_t* className, bool visibleOnly) const;
  void noteShown();

  win32::UniqueHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
  bool shown_ = false;
};

} // namespace kelvarin::e2e
