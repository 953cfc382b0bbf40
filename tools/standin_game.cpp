// A stand-in for the game, for the demo folder and the tests: installed as icytower.exe, it
// records how it was started and ends at once. Each start appends one line to
// "<its own path>.started.txt", in UTF-8:
//   path=<its own path>|folder=<current directory>|show=<wShowWindow or "none">|marker=<0 or 1>
#include "platform/win32/handles.hpp"

#include <windows.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[32768];
  const DWORD selfLength = ::GetModuleFileNameW(nullptr, self, 32768);
  wchar_t folder[32768];
  const DWORD folderLength = ::GetCurrentDirectoryW(32768, folder);
  if (selfLength == 0 || folderLength == 0) {
    return 1;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const bool marker = ::GetFileAttributesW(L"fun.mode.on") != INVALID_FILE_ATTRIBUTES;

  const std::wstring path(self, selfLength);
  std::wstring line =
      L"path=" + path + L"|folder=" + std::wstring(folder, folderLength) + L"|show=" +
      ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? std::to_wstring(startup.wShowWindow)
                                                     : std::wstring(L"none")) +
      L"|marker=" + (marker ? L"1" : L"0") + L"\r\n";
  const std::string bytes = utf8(line);
  const kelvarin::win32::UniqueFile log(::CreateFileW((path + L".started.txt").c_str(),
                                                      FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) {
    return 1;
  }
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return ok != 0 && written == bytes.size() ? 0 : 1;
}
