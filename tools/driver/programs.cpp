// Where the programs under test are, as Windows paths.
#include "tools/driver/programs.hpp"

#include "tools/driver/text.hpp"

namespace kelvarin::e2e {

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

std::wstring kelvarinExe() {
  return windowsPath(KELVARIN_EXE);
}

std::wstring standinGameExe() {
  return windowsPath(KELVARIN_STANDIN_GAME);
}

} // namespace kelvarin::e2e
