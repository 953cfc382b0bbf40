// A throw-away game folder, and the files in it.
#include "tools/driver/game_folder.hpp"

#include "tools/driver/failure.hpp"
#include "tools/driver/files.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/wait.hpp"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace kelvarin::e2e {

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

} // namespace kelvarin::e2e
