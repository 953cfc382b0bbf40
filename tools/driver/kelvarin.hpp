// The real kelvarin.exe started in a game folder and driven as a user would: through its
// windows, message boxes, real mouse input and key strokes.
#pragma once

#include "pictures/pictures.hpp"
#include "platform/win32/handles.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/wait.hpp"

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarin::e2e {

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
  // Wine the program now and then goes on acting on the point before, with the pointer already
  // here, until the mouse moves again; and a move to where the pointer already is brings
  // nothing. So, every 1.5 s (three times a tooltip's delay, which each move starts anew), the
  // mouse goes a pixel down and back. The pixel below the point must lie in the same control.
  template <typename Done>
  bool hover(POINT client, Done done, std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    moveTo(client);
    while (!waitUntil(done, std::chrono::milliseconds(1500))) {
      if (std::chrono::steady_clock::now() >= deadline) {
        return false;
      }
      moveTo({client.x, client.y + 1});
      moveTo(client);
    }
    return true;
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
