// A fresh temporary folder made the current directory for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kelvarin::test {

class TempCurrentFolder {
public:
  TempCurrentFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvarin-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::filesystem::filesystem_error("mkdtemp",
                                              std::error_code(errno, std::generic_category()));
    }
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  TempCurrentFolder(const TempCurrentFolder&) = delete;
  TempCurrentFolder& operator=(const TempCurrentFolder&) = delete;
  ~TempCurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  static void write(const std::filesystem::path& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string read(const std::filesystem::path& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

} // namespace kelvarin::test
