// Whole files written at once.
#pragma once

#include <string>
#include <string_view>

namespace kelvarin::e2e {

// Creates the file, or replaces it, with exactly these bytes.
void writeFile(const std::wstring& path, std::string_view bytes);

} // namespace kelvarin::e2e
