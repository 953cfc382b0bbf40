// A throw-away game folder, and the files in it.
#pragma once

#include "platform/win32/handles.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarin::e2e {

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

} // namespace kelvarin::e2e
