// Writes the four picture files.
#include "tools/picgen/picgen.hpp"

#include <fstream>
#include <stdexcept>
#include <string>

namespace kelvarin::picgen {

void writePictures(const std::filesystem::path& folder) {
  for (const PictureFile& file : kPictureFiles) {
    const Bytes bytes = file.draw();
    const std::filesystem::path path = folder / file.name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      throw std::runtime_error("cannot write " + path.string());
    }
  }
}

} // namespace kelvarin::picgen
