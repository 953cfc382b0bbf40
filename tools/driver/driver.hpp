// The harness of the Wine tests and the benchmarks: a throw-away game folder, and the real
// kelvarin.exe started in it and driven as a user would, through its windows and real mouse
// input. Failures of the harness itself throw; what the program does is left to its users to judge.
#pragma once

#include "pictures/pictures.hpp"
#include "platform/win32/handles.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kelvarin::e2e {

std::string utf8(std::wstring_view text);
std::wstring windowsPath(std::string_view unixPath);
// The programs as built, as Windows paths.
std::wstring kelvarinExe();
std::wstring standinGameExe();

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

// The control's rectangle in client pixels at the screen's DPI.
layout::Rect pixelsOf(std::string_view control);
// The same for a program started at another DPI.
layout::Rect pixelsOf(std::string_view control, int dpi);

// Writes the pixels as a 24-bit BMP file, to be looked at.
void saveBmp(const pictures::Canvas& picture, const std::wstring& path);

// A memory DC drawing into a 32-bit top-down DIB section of its own, to be read back.
class DibSection {
public:
  DibSection(int width, int height);
  HDC dc() const noexcept { return dc_.get(); }
  // What has been drawn so far.
  pictures::Canvas pixels() const;

private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  win32::UniqueDc dc_;
  win32::UniqueBitmap bitmap_;
  std::optional<win32::Selection> selected_; // goes first, so the bitmap is deselected
};

// What another process can learn of the program's use of the system. Under Wine the handle
// count comes from the wineserver and the memory figures from the Linux process's /proc.
struct ProcessUsage {
  ULONG handles = 0;
  SIZE_T workingSet = 0;
  SIZE_T virtualSize = 0;
  SIZE_T privateBytes = 0;
};

ProcessUsage usageOf(DWORD process);

// A unique folder under `parent` (the temporary folder if empty), named with spaces and
// non-ASCII letters, so that every path the program builds is tested with both. Removed with
// its contents at the end.
class GameFolder {
public:
  enum class Game { Missing, Installed }; // Installed: the stand-in game is icytower.exe

  explicit GameFolder(Game game, std::wstring_view parent = {});
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
  void copyIn(const std::wstring& from, std::wstring_view name) const;
  void setReadOnly(std::wstring_view name) const; // FILE_ATTRIBUTE_READONLY
  // Holds the file open without sharing, as another program may: until the handle goes,
  // nothing else can open, write or delete it.
  win32::UniqueFile lock(std::wstring_view name) const;

  // The stand-in game's record: one line per start, without the line end.
  std::vector<std::string> gameStarts() const;
  bool waitForGameStarts(std::size_t count) const;

private:
  std::wstring path_;
};

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

struct MessageBoxView {
  HWND window;
  std::wstring caption;
  std::wstring text;
  bool hasIcon;
  std::vector<int> buttons; // the control IDs of the visible buttons
};

// kelvarin.exe (or a copy of it) running with the game folder as its current directory and
// `pathFront` put in front of its PATH; ended at the latest when this goes.
class Kelvarin {
public:
  explicit Kelvarin(const GameFolder& folder, const std::wstring& exe = kelvarinExe(),
                    std::wstring_view pathFront = {});
  Kelvarin(const Kelvarin&) = delete;
  Kelvarin& operator=(const Kelvarin&) = delete;
  ~Kelvarin();

  // Each wait polls until what it waits for is there or a deadline has passed.
  HWND waitForWindow(); // the visible main window, or null
  std::optional<MessageBoxView> waitForMessageBox();
  bool waitForModeText(std::wstring_view text) const;
  bool waitForExit();

  bool running() const;
  DWORD processId() const noexcept { return id_; }
  // Whether any wait so far has seen the main window visible.
  bool windowEverShown() const noexcept { return shown_; }
  // Whether the process has a message box at all, shown yet or not.
  bool hasMessageBox() const;

  std::wstring modeText() const;
  // A real mouse click (move, press, release) in the middle of the control of that name.
  void click(std::string_view control) const;
  // The same at a point of the client area; moveTo only moves the mouse there.
  void clickAt(POINT client) const;
  void moveTo(POINT client) const;
  // Moves the mouse to the point and waits until `done` says so or `limit` has passed. Under
  // Wine, an event left over from the move before can reach the program after this move's own
  // and leave it acting on the point before until the mouse moves again. So the same move is
  // sent again every 1.5 s, three times the delay a tooltip takes to show, which each move
  // starts anew; sent to the same point, it brings no such leftover itself.
  template <typename Done>
  bool hover(POINT client, Done done, std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
      moveTo(client);
      if (waitUntil(done, std::chrono::milliseconds(1500))) {
        return true;
      }
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
  }
  // Real key strokes to the program's focused control, once its window is brought to the front:
  // `key` goes down `downs` times (more than once is a held key repeating) and, unless `release`
  // is false, up again, with `held` (Shift, say) down around it. With no downs it only comes up.
  void pressKey(WORD key, WORD held = 0, int downs = 1, bool release = true) const;
  // Where the program's keyboard focus and caret are.
  GUITHREADINFO inputState() const;
  // Makes the program's window the foreground one and waits until it has the keyboard focus.
  void bringToFront() const;
  // The pointer the program set, read with its window in front: Wine reports the foreground
  // thread's pointer, not the one on the screen, and a window that opened under another may
  // not be in front yet.
  HCURSOR cursor() const;
  // The text of the program's tooltip while one is visible.
  std::optional<std::wstring> tooltipText() const;
  // What the screen shows of the client area.
  pictures::Canvas clientPixels() const;
  void pressOk(const MessageBoxView& box) const;
  // Returns once the program has finished handling what it was handling, or waits modally.
  void settle() const;

private:
  HWND findWindow(const wchar_t* className, bool visibleOnly) const;
  void noteShown();
  void sendMouse(POINT client, std::initializer_list<DWORD> buttons) const;

  win32::UniqueHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
  bool shown_ = false;
};

} // namespace kelvarin::e2e
