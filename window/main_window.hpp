// frmMain on Win32: one top-level window whose labels and pictures are painted on its own
// surface, with the mode text box as its only child window.
#pragma once

#include "mode/frm_main.hpp"
#include "pictures/pictures.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/accessible.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace kelvarin::win32 {

class MainWindow final : public ModeDisplay, private AccessibleHost {
public:
  MainWindow(HINSTANCE instance, Win32Platform& platform);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Creates the window hidden, runs the Load handler, and shows the window unless that
  // ended the program.
  Status open(int showCommand);
  bool isOpen() const noexcept { return static_cast<bool>(window_); }

  Status setSwitchCaption(std::wstring_view caption) override;
  Status setModeText(std::wstring_view text) override;

private:
  HWND window() const noexcept override { return window_.get(); }
  HWND textBox() const noexcept override { return textBox_; }
  std::wstring_view textOf(std::size_t control) const noexcept override;
  RECT rectOf(std::size_t control) const noexcept override;
  std::optional<std::size_t> controlAt(POINT client) const noexcept override;
  void press(std::size_t control) noexcept override;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, Status& status);

  Status createControls();
  // On the first move onto a label with a tooltip, given as that WM_MOUSEMOVE's parameters.
  void createTooltips(WPARAM wParam, LPARAM lParam);
  void fitTooltips();
  Status loadPictures();
  Status createCursors();
  // Sizes everything that depends on the window's DPI: fonts, the text box, the tooltips'
  // rectangles, the pictures and the window itself (placed at `position`, or centred).
  Status applyDpi(int dpi, const RECT* position);
  Status onPaint();
  Status paint(HDC dc);
  bool hasTooltip(POINT client) const noexcept;
  bool onSetCursor();
  void onButtonDown(POINT point);
  Status onButtonUp(POINT point);
  Status run(layout::Command command);

  // After each handler: an error nothing caught ends in the unhandled-error report, and once
  // the program has ended the window goes at once, so no further event reaches a handler.
  void finish(const Status& status);

  layout::Rect pixels(const layout::Control& control) const noexcept;
  void invalidate(std::size_t control);
  HFONT fontFor(const layout::Font* font) const noexcept;

  HINSTANCE instance_;
  Win32Platform& platform_;
  FrmMain form_;
  // These outlive the window: its class holds the icons, and it destroys the tooltip.
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueModule commonControls_;
  UniqueWindow window_;
  HWND textBox_ = nullptr; // a child: the window destroys it
  HWND tooltip_ = nullptr; // owned by the window, which destroys it
  bool tooltipsTried_ = false;
  int dpi_ = layout::kBaseDpi;
  UniqueFont smallFont_;
  UniqueFont plateFont_;
  UniqueFont boxFont_;
  UniqueFont tooltipFont_;
  std::array<UniqueCursor, layout::kControls.size()> cursors_;
  pictures::Canvas scene_{0, 0};  // the pictures at 96 DPI
  pictures::Canvas scaled_{0, 0}; // the same at the window's DPI
  UniqueBitmap backBuffer_;
  void* backBits_ = nullptr;
  std::array<std::wstring, layout::kControls.size()> texts_;
  std::optional<std::size_t> pressed_;
  IAccessible* accessible_ = nullptr; // made when a screen reader first asks
  bool closing_ = false;
};

} // namespace kelvarin::win32
