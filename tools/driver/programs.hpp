// Where the programs under test are, as Windows paths.
#pragma once

#include <string>
#include <string_view>

namespace kelvarin::e2e {

std::wstring windowsPath(std::string_view unixPath);
// The programs as built.
std::wstring kelvarinExe();
std::wstring standinGameExe();

} // namespace kelvarin::e2e
