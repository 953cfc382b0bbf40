#include "platform/win32/win32_platform.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/system_error.hpp"

#include <string>
#include <vector>

namespace kelvarin::win32 {

namespace {

// Another program may have the file open for anything; only an exclusive lock keeps us out.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring fullPath(const std::wstring& name) {
  const DWORD needed = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  check(needed != 0);
  std::wstring path(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(name.c_str(), needed, path.data(), nullptr);
  check(written != 0 && written < needed);
  path.resize(written);
  return path;
}

std::wstring currentDirectory() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  check(needed != 0);
  std::wstring path(needed, L'\0');
  const DWORD written = ::GetCurrentDirectoryW(needed, path.data());
  check(written != 0 && written < needed);
  path.resize(written);
  return path;
}

void writeAll(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  check(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0);
  if (written != bytes.size()) {
    // A short write without an error is how a full disk shows on some file systems.
    ::SetLastError(ERROR_DISK_FULL);
    throw lastError();
  }
}

} // namespace

bool Win32Platform::canOpenForReading(std::wstring_view name) {
  // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS, so it counts as absent.
  const UniqueFile file(::CreateFileW(std::wstring(name).c_str(), GENERIC_READ, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

void Win32Platform::writeLine(std::wstring_view name, std::string_view line) {
  const std::wstring path(name);
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  check(static_cast<bool>(file));
  try {
    std::string bytes(line);
    bytes += "\r\n";
    writeAll(file.get(), bytes);
    check(::CloseHandle(file.release()) != 0);
  } catch (const Error&) {
    file.reset();
    ::DeleteFileW(path.c_str());
    throw;
  }
}

bool Win32Platform::deleteFile(std::wstring_view name) {
  if (::DeleteFileW(std::wstring(name).c_str()) != 0) {
    return true;
  }
  if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
    return false;
  }
  throw lastError();
}

void Win32Platform::messageBox(std::wstring_view text, std::wstring_view caption,
                               MessageIcon icon) {
  const UINT type = MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : 0U);
  check(::MessageBoxW(owner_, std::wstring(text).c_str(), std::wstring(caption).c_str(), type) !=
        0);
}

void Win32Platform::startProgram(std::wstring_view name) {
  // The full path of the current folder's file: never one found along the search path.
  const std::wstring path = fullPath(std::wstring(name));
  const std::wstring folder = currentDirectory();
  std::wstring quoted = L"\"" + path + L"\"";
  std::vector<wchar_t> commandLine(quoted.begin(), quoted.end());
  commandLine.push_back(L'\0'); // CreateProcessW may write into its command line

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED; // minimized with focus
  PROCESS_INFORMATION started{};
  check(::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.c_str(), &startup, &started) != 0);
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
}

void Win32Platform::endProgram() {
  ::PostQuitMessage(0);
}

} // namespace kelvarin::win32
