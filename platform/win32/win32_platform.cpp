// The platform operations on Win32: the files of the current folder, message boxes and starting
// the game.
#include "platform/win32/win32_platform.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/system_error.hpp"
#include "platform/win32/system_function.hpp"

#include <shellapi.h>

#include <string>

namespace kelvarin::win32 {

namespace {

// Another program may have the file open for anything; only an exclusive lock keeps us out.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// ERROR_ELEVATION_REQUIRED, which MinGW's headers lack: the program asks for more rights than
// ours.
constexpr unsigned long kElevationRequired = 740;

// Asks a Win32 call that fills a buffer for the size it needs, then for the text.
template <typename Call> Status askForText(Call call, std::wstring& text) {
  const DWORD needed = call(0, nullptr);
  if (needed == 0) {
    return lastError();
  }
  text.assign(needed, L'\0');
  const DWORD written = call(needed, text.data());
  if (written == 0 || written >= needed) {
    return written == 0 ? lastError() : systemError(ERROR_INSUFFICIENT_BUFFER);
  }
  text.resize(written);
  return {};
}

Status writeAll(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  if (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == 0) {
    return lastError();
  }
  // A short write without an error is how a full disk shows on some file systems.
  return written == bytes.size() ? Status{} : Status{systemError(ERROR_DISK_FULL)};
}

// The program alone, with no arguments, in `folder`.
Status createProcess(const std::wstring& path, const std::wstring& folder) {
  std::wstring commandLine = L"\"" + path + L"\""; // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED; // minimized with focus
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &started) == 0) {
    return lastError();
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  return {};
}

} // namespace

bool Win32Platform::canOpenForReading(std::wstring_view name) {
  // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS, so it counts as absent.
  const UniqueFile file(::CreateFileW(std::wstring(name).c_str(), GENERIC_READ, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

Status Win32Platform::writeLine(std::wstring_view name, std::string_view line) {
  const std::wstring path(name);
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return lastError();
  }
  std::string bytes(line);
  bytes += "\r\n";
  Status written = writeAll(file.get(), bytes);
  if (written.ok() && !file.close()) {
    written = lastError();
  }
  if (!written.ok()) {
    file.reset();
    ::DeleteFileW(path.c_str());
  }
  return written;
}

Status Win32Platform::deleteFile(std::wstring_view name) {
  if (::DeleteFileW(std::wstring(name).c_str()) != 0 || ::GetLastError() == ERROR_FILE_NOT_FOUND) {
    return {};
  }
  return lastError();
}

Status Win32Platform::messageBox(std::wstring_view text, std::wstring_view caption,
                                 MessageIcon icon) {
  const UINT type = MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : 0U);
  return check(
      ::MessageBoxW(owner_, std::wstring(text).c_str(), std::wstring(caption).c_str(), type) != 0);
}

Status Win32Platform::startProgram(std::wstring_view name) {
  // The full path of the current folder's file: never one found along the search path.
  const std::wstring relative(name);
  std::wstring path;
  std::wstring folder;
  Status found = askForText(
      [&](DWORD size, wchar_t* buffer) {
        return ::GetFullPathNameW(relative.c_str(), size, buffer, nullptr);
      },
      path);
  if (found.ok()) {
    found = askForText(::GetCurrentDirectoryW, folder);
  }
  if (!found.ok()) {
    return found;
  }
  // Without elevation we cannot create a program set to run as administrator; the shell can,
  // once the user agrees, and its outcome (the user's "no" among them) is then the one told.
  Status started = createProcess(path, folder);
  if (!started.ok() && started.error().code == kElevationRequired) {
    return startThroughShell(path, folder);
  }
  return started;
}

// The shell asks the user to let a program run as administrator; "no" is ERROR_CANCELLED. It
// is loaded only for this, so the exe's imports stay as they are, and then kept, since the
// shell may leave work of its own behind in it.
Status Win32Platform::startThroughShell(const std::wstring& path, const std::wstring& folder) {
  if (!shell_) {
    shell_ = loadSystemModule(L"shell32.dll");
  }
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  const auto shellExecuteEx =
      moduleFunction<ShellExecuteExFunction>(shell_.get(), "ShellExecuteExW");
  if (shellExecuteEx == nullptr) {
    return lastError();
  }
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // Finished before it returns, and silent: its failures are told as every other start's.
  // No process handle is asked for, as none is waited on.
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.hwnd = owner_; // else the prompt only flashes on the taskbar
  execute.lpFile = path.c_str();
  execute.lpDirectory = folder.c_str();
  execute.nShow = SW_SHOWMINIMIZED;
  return check(shellExecuteEx(&execute) != 0);
}

} // namespace kelvarin::win32
