// The driver on Win32: throw-away folders and their files, the program's process, windows and
// message boxes, real mouse input, the screen's pixels and the process's use of the system.
#include "tools/driver/driver.hpp"

#include "window/layout.hpp"

#include <commctrl.h>

#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kelvarin::e2e {

namespace {

constexpr auto kDeadline = std::chrono::seconds(10);
constexpr UINT kSendTimeoutMs = 5000;

[[noreturn]] void fail(const char* call) {
  const DWORD code = ::GetLastError();
  throw std::system_error(static_cast<int>(code), std::system_category(), call);
}

template <typename Done> bool poll(Done done) {
  return waitUntil(done, kDeadline);
}

std::wstring wide(std::string_view text) {
  const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) {
    fail("MultiByteToWideChar");
  }
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                            static_cast<int>(text.size()), out.data(), size) != size) {
    fail("MultiByteToWideChar");
  }
  return out;
}

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

// The whole screen's DC.
class ScreenDc : public win32::WindowDc {
public:
  ScreenDc() : WindowDc(nullptr) {
    if (!*this) {
      fail("GetDC");
    }
  }
};

int screenDpi() {
  return ::GetDeviceCaps(ScreenDc().get(), LOGPIXELSY);
}

void writeFile(const std::wstring& path, std::string_view bytes) {
  const win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    fail("CreateFileW");
  }
  DWORD written = 0;
  if (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ==
          0 ||
      written != bytes.size()) {
    fail("WriteFile");
  }
}

// WM_GETTEXT, not GetWindowText: only the message reaches another process's control.
std::wstring textOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

const layout::Control& controlNamed(std::string_view name) {
  for (const layout::Control& control : layout::kControls) {
    if (control.name == name) {
      return control;
    }
  }
  throw std::invalid_argument("no control named " + std::string(name));
}

// SendInput's absolute coordinates run from 0 to 65535 over the screen; rounding up lands on
// the pixel meant, rounding to nearest can land one before it.
LONG absolute(LONG pixel, int screenPixels) {
  return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenPixels - 1) /
                           screenPixels);
}

// Stored, so that other processes read it; nobody is told, since nothing running needs it.
bool setKeyboardCues(BOOL always) {
  return ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                                 reinterpret_cast<void*>(static_cast<std::uintptr_t>(always)),
                                 SPIF_UPDATEINIFILE) != 0;
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

layout::Rect pixelsOf(std::string_view control) {
  return pixelsOf(control, screenDpi());
}

layout::Rect pixelsOf(std::string_view control, int dpi) {
  return layout::toPixels(controlNamed(control).twips, dpi);
}

void saveBmp(const pictures::Canvas& picture, const std::wstring& path) {
  const int width = picture.width;
  const int height = picture.height;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  const std::size_t offset = sizeof file + sizeof header;
  file.bfType = 0x4D42; // "BM"
  file.bfSize = static_cast<DWORD>(offset + rowBytes * static_cast<std::size_t>(height));
  file.bfOffBits = static_cast<DWORD>(offset);
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height; // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::string bytes(file.bfSize, '\0');
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &header, sizeof header);
  for (int y = 0; y < height; ++y) {
    char* row = bytes.data() + offset + rowBytes * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      for (int channel = 0; channel < 3; ++channel) {
        row[x * 3 + channel] = static_cast<char>((pixel >> (8 * channel)) & 0xFF);
      }
    }
  }
  writeFile(path, bytes);
}

DibSection::DibSection(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_.reset(::CreateCompatibleDC(nullptr));
  bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!dc_ || !bitmap_) {
    fail("CreateDIBSection");
  }
  selected_.emplace(dc_.get(), bitmap_.get());
}

pictures::Canvas DibSection::pixels() const {
  ::GdiFlush(); // GDI may still be drawing into the bits
  const auto* first = static_cast<const std::uint32_t*>(bits_);
  pictures::Canvas out(width_, height_);
  std::transform(first, first + width_ * height_, out.pixels.begin(),
                 [](std::uint32_t pixel) { return pixel & 0x00FFFFFF; });
  return out;
}

// The build hands over paths of the build machine; Wine shows its root as drive Z:.
std::wstring windowsPath(std::string_view unixPath) {
  std::wstring path = L"Z:" + wide(unixPath);
  for (wchar_t& c : path) {
    if (c == L'/') {
      c = L'\\';
    }
  }
  return path;
}

std::string utf8(std::wstring_view text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    fail("WideCharToMultiByte");
  }
  std::string out(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr) != size) {
    fail("WideCharToMultiByte");
  }
  return out;
}

std::wstring kelvarinExe() {
  return windowsPath(KELVARIN_EXE);
}

std::wstring standinGameExe() {
  return windowsPath(KELVARIN_STANDIN_GAME);
}

GameFolder::GameFolder(Game game, std::wstring_view parent) {
  wchar_t temp[MAX_PATH + 1] = {};
  if (parent.empty() && ::GetTempPathW(MAX_PATH + 1, temp) == 0) {
    fail("GetTempPathW");
  }
  const std::wstring base = parent.empty() ? std::wstring(temp) : std::wstring(parent) + L"\\";
  const std::wstring stem = base + L"Kelvarin e2e \u00e9t\u00e9 \u0416 " +
                            std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (unsigned attempt = 0; path_.empty(); ++attempt) {
    const std::wstring candidate = stem + std::to_wstring(attempt);
    if (::CreateDirectoryW(candidate.c_str(), nullptr) != 0) {
      path_ = candidate;
    } else if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      fail("CreateDirectoryW");
    }
  }
  if (game == Game::Installed) {
    copyIn(standinGameExe(), L"icytower.exe");
  }
}

GameFolder::~GameFolder() {
  std::error_code ignored; // a failed clean-up must not hide the test's own result
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::wstring GameFolder::pathOf(std::wstring_view name) const {
  return path_ + L"\\" + std::wstring(name);
}

void GameFolder::write(std::wstring_view name, std::string_view bytes) const {
  writeFile(pathOf(name), bytes);
}

std::optional<std::string> GameFolder::read(std::wstring_view name) const {
  const std::wstring path = pathOf(name);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  // The program or the stand-in game may be writing it right now.
  const win32::UniqueFile file(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && ::GetLastError() == ERROR_FILE_NOT_FOUND) {
    return std::nullopt; // deleted since it was looked at
  }
  if (!file) {
    fail("CreateFileW");
  }
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) == 0) {
    fail("GetFileSizeEx");
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) == 0 ||
      got != bytes.size()) {
    fail("ReadFile");
  }
  return bytes;
}

bool GameFolder::exists(std::wstring_view name) const {
  return ::GetFileAttributesW(pathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void GameFolder::remove(std::wstring_view name) const {
  const std::wstring path = pathOf(name);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    fail("GetFileAttributesW");
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(path.c_str()) == 0
                                                   : ::DeleteFileW(path.c_str()) == 0) {
    fail("remove");
  }
}

void GameFolder::makeFolder(std::wstring_view name) const {
  if (::CreateDirectoryW(pathOf(name).c_str(), nullptr) == 0) {
    fail("CreateDirectoryW");
  }
}

void GameFolder::copyIn(const std::wstring& from, std::wstring_view name) const {
  if (::CopyFileW(from.c_str(), pathOf(name).c_str(), TRUE) == 0) {
    fail("CopyFileW");
  }
}

void GameFolder::setReadOnly(std::wstring_view name) const {
  if (::SetFileAttributesW(pathOf(name).c_str(), FILE_ATTRIBUTE_READONLY) == 0) {
    fail("SetFileAttributesW");
  }
}

win32::UniqueFile GameFolder::lock(std::wstring_view name) const {
  win32::UniqueFile file(::CreateFileW(pathOf(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    fail("CreateFileW");
  }
  return file;
}

std::vector<std::string> GameFolder::gameStarts() const {
  std::vector<std::string> lines;
  const std::string record = read(L"icytower.exe.started.txt").value_or("");
  // Only whole lines: the game may be half way through writing the last.
  for (std::size_t start = 0, end = 0; (end = record.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(record.substr(start, end - start));
  }
  return lines;
}

bool GameFolder::waitForGameStarts(std::size_t count) const {
  return poll([&] { return gameStarts().size() >= count; });
}

KeyboardCues::KeyboardCues(bool always) {
  if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &old_, 0) == 0 || !setKeyboardCues(always)) {
    fail("SystemParametersInfoW");
  }
}

KeyboardCues::~KeyboardCues() {
  setKeyboardCues(old_);
}

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

ProcessUsage usageOf(DWORD process) {
  std::vector<char> buffer(1 << 20);
  ULONG needed = 0;
  const NTSTATUS status = ::NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                                     static_cast<ULONG>(buffer.size()), &needed);
  if (status != 0) {
    ::SetLastError(::RtlNtStatusToDosError(status));
    fail("NtQuerySystemInformation");
  }
  for (std::size_t offset = 0;;) {
    SYSTEM_PROCESS_INFORMATION entry{};
    std::memcpy(&entry, buffer.data() + offset, sizeof entry);
    if (reinterpret_cast<std::uintptr_t>(entry.UniqueProcessId) == process) {
      return {entry.HandleCount, entry.VirtualMemoryCounters.WorkingSetSize,
              entry.VirtualMemoryCounters.VirtualSize, entry.VirtualMemoryCounters.PagefileUsage};
    }
    if (entry.NextEntryOffset == 0) {
      ::SetLastError(ERROR_NOT_FOUND);
      fail("NtQuerySystemInformation: the process is not listed");
    }
    offset += entry.NextEntryOffset;
  }
}

} // namespace kelvarin::e2e
