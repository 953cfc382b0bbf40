// The real kelvarin.exe started in a game folder and driven as a user would: through its
// windows, message boxes, real mouse input and key strokes.
#include "tools/driver/kelvarin.hpp"

#include "tools/driver/failure.hpp"
#include "tools/driver/pixels.hpp"
#include "tools/driver/screen.hpp"
#include "window/layout.hpp"

#include <commctrl.h>

namespace kelvarin::e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

// False also for a window that went away meanwhile.
bool hasClass(HWND window, std::wstring_view wanted) {
  wchar_t name[64] = {};
  const int length = ::GetClassNameW(window, name, 64);
  return length > 0 && std::wstring_view(name, static_cast<std::size_t>(length)) == wanted;
}

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                            &result) == 0) {
    fail("SendMessageTimeoutW");
  }
  return static_cast<LRESULT>(result);
}

// Only collects: no exception may cross user32 (running out of memory here ends the tests).
BOOL CALLBACK collect(HWND window, LPARAM windows) noexcept {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD process) {
  std::vector<HWND> all;
  if (::EnumWindows(collect, reinterpret_cast<LPARAM>(&all)) == 0) {
    fail("EnumWindows");
  }
  std::vector<HWND> found;
  for (const HWND window : all) {
    DWORD owner = 0;
    if (::GetWindowThreadProcessId(window, &owner) != 0 && owner == process) {
      found.push_back(window);
    }
  }
  return found;
}

std::vector<HWND> childWindows(HWND parent) {
  std::vector<HWND> found;
  ::EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&found)); // its result means nothing
  return found;
}

// WM_GETTEXT, not GetWindowText: only the message reaches another process's control.
std::wstring textOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// SendInput's absolute coordinates run from 0 to 65535 over the screen; rounding up lands on
// the pixel meant, rounding to nearest can land one before it.
LONG absolute(LONG pixel, int screenPixels) {
  return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenPixels - 1) /
                           screenPixels);
}

// The new process inherits this one's environment: PATH is changed only while it starts.
class PathFront {
public:
  explicit PathFront(std::wstring_view front) {
    if (front.empty()) {
      return;
    }
    const DWORD size = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring old(size, L'\0');
    if (size != 0) {
      old.resize(::GetEnvironmentVariableW(L"PATH", old.data(), size));
    }
    const std::wstring changed = std::wstring(front) + L";" + old;
    if (::SetEnvironmentVariableW(L"PATH", changed.c_str()) == 0) {
      fail("SetEnvironmentVariableW");
    }
    old_ = old;
  }
  PathFront(const PathFront&) = delete;
  PathFront& operator=(const PathFront&) = delete;
  ~PathFront() {
    if (old_) {
      ::SetEnvironmentVariableW(L"PATH", old_->c_str());
    }
  }

private:
  std::optional<std::wstring> old_;
};

} // namespace

Kelvarin::Kelvarin(const GameFolder& folder, const std::wstring& exe, std::wstring_view pathFront) {
  const PathFront path(pathFront);
  std::wstring commandLine = L"\"" + exe + L"\""; // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.path().c_str(), &startup, &started) == 0) {
    fail("CreateProcessW");
  }
  process_.reset(started.hProcess);
  const win32::UniqueHandle thread(started.hThread);
  id_ = started.dwProcessId;
}

Kelvarin::~Kelvarin() {
  if (running() && ::TerminateProcess(process_.get(), 1) != 0) {
    ::WaitForSingleObject(process_.get(), kSendTimeoutMs);
  }
}

HWND Kelvarin::findWindow(const wchar_t* className, bool visibleOnly) const {
  for (const HWND window : topLevelWindows(id_)) {
    if ((!visibleOnly || ::IsWindowVisible(window) != 0) && hasClass(window, className)) {
      return window;
    }
  }
  return nullptr;
}

void Kelvarin::noteShown() {
  if (!shown_ && findWindow(L"KelvarinMain", true) != nullptr) {
    shown_ = true;
  }
}

HWND Kelvarin::waitForWindow() {
  poll([&] { return (window_ = findWindow(L"KelvarinMain", true)) != nullptr || !running(); });
  noteShown();
  return window_;
}

std::optional<MessageBoxView> Kelvarin::waitForMessageBox() {
  HWND box = nullptr;
  if (!poll([&] {
        noteShown();
        return (box = findWindow(L"#32770", true)) != nullptr || !running();
      }) ||
      box == nullptr) {
    return std::nullopt;
  }
  MessageBoxView view{box, {}, {}, false, {}};
  wchar_t caption[256] = {};
  if (::GetWindowTextW(box, caption, 256) == 0) {
    fail("GetWindowTextW");
  }
  view.caption = caption;
  // The message box's text is the static control with the ID 0xFFFF.
  std::wstring text(4096, L'\0');
  text.resize(::GetDlgItemTextW(box, 0xFFFF, text.data(), static_cast<int>(text.size())));
  view.text = text;
  for (const HWND child : childWindows(box)) {
    if (::IsWindowVisible(child) == 0) {
      continue;
    }
    if (hasClass(child, L"Button")) {
      view.buttons.push_back(::GetDlgCtrlID(child));
    } else if (hasClass(child, L"Static") &&
               (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
               send(child, STM_GETICON, 0, 0) != 0) {
      view.hasIcon = true;
    }
  }
  return view;
}

bool Kelvarin::waitForModeText(std::wstring_view text) const {
  // Looked at every millisecond: a switch takes about two, and a long run of switches would
  // otherwise measure this wait's step rather than the program.
  return waitUntil([&] { return modeText() == text; }, kDeadline, std::chrono::milliseconds(1));
}

bool Kelvarin::waitForExit() {
  return poll([&] {
    noteShown();
    return !running();
  });
}

bool Kelvarin::running() const {
  const DWORD state = ::WaitForSingleObject(process_.get(), 0);
  if (state == WAIT_FAILED) {
    fail("WaitForSingleObject");
  }
  return state == WAIT_TIMEOUT;
}

bool Kelvarin::hasMessageBox() const {
  return findWindow(L"#32770", false) != nullptr;
}

std::wstring Kelvarin::modeText() const {
  const HWND edit = ::FindWindowExW(window_, nullptr, L"Edit", nullptr);
  if (edit == nullptr) {
    fail("FindWindowExW");
  }
  return textOf(edit);
}

void Kelvarin::click(std::string_view control) const {
  const layout::Rect r = pixelsOf(control);
  clickAt({r.left + r.width / 2, r.top + r.height / 2});
}

void Kelvarin::clickAt(POINT client) const {
  sendMouse(client, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void Kelvarin::moveTo(POINT client) const {
  sendMouse(client, {});
}

void Kelvarin::sendMouse(POINT client, std::initializer_list<DWORD> buttons) const {
  POINT point = client;
  if (::ClientToScreen(window_, &point) == 0) {
    fail("ClientToScreen");
  }
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs(buttons.size() + 1);
  std::vector<DWORD> flags{MOUSEEVENTF_MOVE};
  flags.insert(flags.end(), buttons);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = absolute(point.x, width);
    inputs[i].mi.dy = absolute(point.y, height);
    inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  // One call: nothing else can come between the move, the press and the release.
  if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) !=
      inputs.size()) {
    fail("SendInput");
  }
}

void Kelvarin::pressKey(WORD key, WORD held, int downs, bool release) const {
  bringToFront();
  std::vector<INPUT> inputs;
  const auto stroke = [&](WORD which, DWORD flags) {
    if (which != 0) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = which;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  };
  stroke(held, 0);
  for (int i = 0; i < downs; ++i) {
    stroke(key, 0);
  }
  stroke(release ? key : WORD{0}, KEYEVENTF_KEYUP);
  stroke(held, KEYEVENTF_KEYUP);
  if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) !=
      inputs.size()) {
    fail("SendInput");
  }
}

void Kelvarin::bringToFront() const {
  // The program sets its focus a moment after its window shows.
  if (::SetForegroundWindow(window_) == 0 || !poll([&] {
        return ::GetForegroundWindow() == window_ && inputState().hwndFocus != nullptr;
      })) {
    fail("SetForegroundWindow");
  }
}

HCURSOR Kelvarin::cursor() const {
  bringToFront();
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (::GetCursorInfo(&info) == 0) {
    fail("GetCursorInfo");
  }
  return info.hCursor;
}

GUITHREADINFO Kelvarin::inputState() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &info) == 0) {
    fail("GetGUIThreadInfo");
  }
  return info;
}

std::optional<std::wstring> Kelvarin::tooltipText() const {
  const HWND tooltip = findWindow(TOOLTIPS_CLASSW, true);
  if (tooltip == nullptr) {
    return std::nullopt;
  }
  return textOf(tooltip);
}

pictures::Canvas Kelvarin::clientPixels() const {
  RECT client{};
  POINT origin{0, 0};
  if (::GetClientRect(window_, &client) == 0 || ::ClientToScreen(window_, &origin) == 0) {
    fail("GetClientRect");
  }
  const DibSection shot(client.right, client.bottom);
  if (::BitBlt(shot.dc(), 0, 0, client.right, client.bottom, ScreenDc().get(), origin.x, origin.y,
               SRCCOPY) == 0) {
    fail("BitBlt");
  }
  return shot.pixels();
}

void Kelvarin::pressOk(const MessageBoxView& box) const {
  const HWND ok = ::GetDlgItem(box.window, IDOK);
  if (ok == nullptr) {
    fail("GetDlgItem");
  }
  send(ok, BM_CLICK, 0, 0);
  // The box ends when its modal loop next runs, a moment after the click.
  if (!poll([&] { return ::IsWindow(box.window) == 0; })) {
    fail("the message box did not close");
  }
}

void Kelvarin::settle() const {
  // A sent message is handled only between handlers (or inside a modal loop), so its answer
  // means the handler that was running has returned or shown a box.
  send(window_, WM_NULL, 0, 0);
}

} // namespace kelvarin::e2e
