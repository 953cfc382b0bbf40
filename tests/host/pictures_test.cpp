// The window's pictures: each committed file against the format it must have, the records
// the program carries, our decoders (the GIF one against giflib), the composition of the
// window's surface, and the check that picgen still draws exactly the committed files.
#include "assets/picture_records.hpp"
#include "pictures/pictures.hpp"
#include "tests/host/temp_current_folder.hpp"
#include "tools/picgen/gif.hpp"
#include "tools/picgen/picgen.hpp"
#include "window/layout.hpp"
#include "window/scene.hpp"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelvarin::pictures {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes committed(const std::string& name) {
  const std::string bytes =
      test::TempCurrentFolder::read(std::filesystem::path(KELVARIN_COMMITTED_PICTURES) / name);
  return {bytes.begin(), bytes.end()};
}

std::uint32_t le16(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}
std::uint32_t le32(const Bytes& bytes, std::size_t at) {
  return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

Bytes bytesOf(std::span<const std::uint8_t> span) {
  return {span.begin(), span.end()};
}

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r << 16 | g << 8 | b;
}

// The pixels of an icon or cursor image: palette index and mask bit per pixel, top-down.
struct IconPixels {
  std::vector<std::uint32_t> palette;
  std::vector<unsigned> colour;
  std::vector<bool> transparent;
  unsigned at(int x, int y) const { return colour.at(static_cast<std::size_t>(y * 32 + x)); }
  bool clear(int x, int y) const { return transparent.at(static_cast<std::size_t>(y * 32 + x)); }
};

IconPixels iconPixels(const IconImage& icon) {
  const Bytes dib = bytesOf(icon.image);
  const unsigned bits = le16(dib, 14);
  const std::size_t colours = std::size_t{1} << bits;
  const std::size_t stride = (32 * bits + 31) / 32 * 4;
  const std::size_t colourRows = 40 + 4 * colours;
  const std::size_t maskRows = colourRows + stride * 32;
  IconPixels pixels;
  for (std::size_t i = 0; i < colours; ++i) {
    pixels.palette.push_back(
        rgb(dib.at(40 + 4 * i + 2), dib.at(40 + 4 * i + 1), dib.at(40 + 4 * i)));
  }
  for (std::size_t y = 0; y < 32; ++y) {
    for (std::size_t x = 0; x < 32; ++x) {
      const std::size_t row = 31 - y;
      const std::size_t bit = x * bits;
      const unsigned byte = dib.at(colourRows + row * stride + bit / 8);
      pixels.colour.push_back(byte >> (8 - bits - bit % 8) & ((1u << bits) - 1));
      pixels.transparent.push_back((dib.at(maskRows + row * 4 + x / 8) >> (7 - x % 8) & 1) != 0);
    }
  }
  return pixels;
}

// A GIF's first image with every pixel's index, rows top-down.
struct GifPicture {
  int width = 0;
  int height = 0;
  std::array<std::uint32_t, 256> colours{};
  std::vector<std::uint8_t> indices;
  std::optional<std::uint8_t> transparentIndex;
};

// Our decoding of a GIF, its rows collected as the decoder hands them on: in order, whole, and
// none with an index outside the colour table, even from a file that then fails.
std::optional<GifPicture> decodedGif(std::span<const std::uint8_t> file) {
  const auto gif = readGif(file);
  if (!gif) {
    return std::nullopt;
  }
  struct Collected final : GifRows {
    explicit Collected(const Gif& read) : gif(read) {}
    void row(int y, std::span<const std::uint8_t> row) override {
      EXPECT_EQ(y, rows++);
      EXPECT_EQ(row.size(), static_cast<std::size_t>(gif.width));
      EXPECT_TRUE(std::all_of(row.begin(), row.end(),
                              [&](std::uint8_t index) { return index < gif.colourCount; }));
      indices.insert(indices.end(), row.begin(), row.end());
    }
    const Gif& gif;
    int rows = 0;
    std::vector<std::uint8_t> indices;
  } collected(*gif);
  if (!decodeGif(*gif, collected)) {
    return std::nullopt;
  }
  EXPECT_EQ(collected.rows, gif->height);
  return GifPicture{gif->width, gif->height, gif->colours, std::move(collected.indices),
                    gif->transparentIndex};
}

// giflib's reading of a GIF held in memory.
struct GiflibPicture {
  int imageCount = 0;
  int extensionCount = 0;
  GifPicture picture;
};

GiflibPicture giflibDecode(const Bytes& file) {
  struct Source {
    const Bytes* bytes;
    std::size_t position;
  } source{&file, 0};
  const InputFunc read = [](GifFileType* gif, GifByteType* out, int length) {
    auto& from = *static_cast<Source*>(gif->UserData);
    const auto count =
        std::min(static_cast<std::size_t>(length), from.bytes->size() - from.position);
    std::memcpy(out, from.bytes->data() + from.position, count);
    from.position += count;
    return static_cast<int>(count);
  };
  int error = 0;
  GifFileType* gif = DGifOpen(&source, read, &error);
  if (gif == nullptr) {
    throw std::runtime_error("giflib cannot open the GIF");
  }
  GiflibPicture result;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1 || gif->SColorMap == nullptr) {
    DGifCloseFile(gif, &error);
    throw std::runtime_error("giflib cannot read the GIF");
  }
  const SavedImage& image = gif->SavedImages[0];
  result.imageCount = gif->ImageCount;
  result.extensionCount = image.ExtensionBlockCount + gif->ExtensionBlockCount;
  result.picture.width = gif->SWidth;
  result.picture.height = gif->SHeight;
  for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
    const GifColorType c = gif->SColorMap->Colors[i];
    result.picture.colours[static_cast<std::size_t>(i)] = rgb(c.Red, c.Green, c.Blue);
  }
  result.picture.indices.assign(image.RasterBits,
                                image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
  GraphicsControlBlock control{};
  if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK &&
      control.TransparentColor != NO_TRANSPARENT_COLOR) {
    result.picture.transparentIndex = static_cast<std::uint8_t>(control.TransparentColor);
  }
  DGifCloseFile(gif, &error);
  return result;
}

void expectSamePicture(const GifPicture& ours, const GifPicture& theirs) {
  EXPECT_EQ(ours.width, theirs.width);
  EXPECT_EQ(ours.height, theirs.height);
  EXPECT_EQ(ours.colours, theirs.colours);
  EXPECT_EQ(ours.indices, theirs.indices);
  EXPECT_EQ(ours.transparentIndex, theirs.transparentIndex);
}

const layout::Rect plate(std::string_view name) {
  for (const layout::Control& control : layout::kControls) {
    if (control.name == name) {
      return layout::toPixels(control.twips);
    }
  }
  throw std::out_of_range("no control");
}

constexpr std::string_view kPlates[] = {"cmdSwitch", "cmdExit", "imgRun"};

// ---------------------------------------------------------------------------------------
// The records.

TEST(PictureRecords, EachControlCarriesTheWholeFileBehindItsHeader) {
  std::set<const std::uint8_t*> starts;
  for (const assets::Record& record : assets::kRecords) {
    const std::string file(record.file);
    const Bytes bytes = bytesOf(*record.bytes);
    // The file's own size is held to its format below.
    const auto totalLength = static_cast<std::uint32_t>(committed(file).size() + 8);
    EXPECT_EQ(le32(bytes, 0), totalLength) << file;
    EXPECT_EQ(bytes.size(), totalLength + 4) << file;
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), (Bytes{'l', 't', 0, 0})) << file;
    EXPECT_EQ(le32(bytes, 8), totalLength - 8) << file;
    const auto inside = assets::recordFile(*record.bytes);
    ASSERT_TRUE(inside) << file;
    EXPECT_EQ(bytesOf(*inside), committed(file)) << file;
    starts.insert(record.bytes->data());
  }
  // One copy per control: equal bytes, separate records.
  EXPECT_EQ(starts.size(), assets::kRecords.size());
}

TEST(PictureRecords, MalformedHeadersAreRefused) {
  const Bytes good = bytesOf(assets::frmMainIcon);
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(assets::recordFile(std::span(good).first(size))) << size;
  }
  for (const std::size_t at : {0u, 3u, 4u, 5u, 6u, 7u, 8u, 11u}) {
    Bytes bad = good;
    bad[at] = static_cast<std::uint8_t>(bad[at] ^ 1u);
    EXPECT_FALSE(assets::recordFile(bad)) << at;
  }
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_FALSE(assets::recordFile(longer));
}

// ---------------------------------------------------------------------------------------
// The committed files.

TEST(WallBitmap, HeadersAreThoseOfAn81982ByteBottomUp24BitBitmap) {
  const Bytes file = committed("wall.bmp");
  ASSERT_EQ(file.size(), 81'982u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(le32(file, 2), 81'982u);
  EXPECT_EQ(le32(file, 10), 54u);                     // pixels right after the two headers
  EXPECT_EQ(le32(file, 14), 40u);                     // info header
  EXPECT_EQ(le32(file, 18), 205u);                    // width
  EXPECT_EQ(le32(file, 22), 133u);                    // height, positive: bottom-up
  EXPECT_EQ(le16(file, 26), 1u);                      // planes
  EXPECT_EQ(le16(file, 28), 24u);                     // bits per pixel
  EXPECT_EQ(le32(file, 30), 0u);                      // uncompressed
  for (const std::size_t at : {38u, 42u, 46u, 50u}) { // pixels per metre, colour counts
    EXPECT_EQ(le32(file, at), 0u) << at;
  }
}

TEST(WallBitmap, ElevenColoursStoneRedsDominatedByTheMainShade) {
  const Bytes file = committed("wall.bmp");
  const auto wall = readBmp(file);
  ASSERT_TRUE(wall);
  std::map<std::uint32_t, int> counts;
  for (int y = 0; y < wall->height; ++y) {
    for (int x = 0; x < wall->width; ++x) {
      ++counts[wall->at(x, y)];
    }
  }
  ASSERT_EQ(counts.size(), 11u);
  const std::set<std::uint32_t> named{rgb(117, 36, 44),   rgb(129, 36, 44),   rgb(101, 36, 44),
                                      rgb(145, 145, 145), rgb(113, 113, 113), rgb(129, 129, 129)};
  for (const std::uint32_t colour : named) {
    EXPECT_TRUE(counts.contains(colour)) << std::hex << colour;
  }
  for (const auto& [colour, count] : counts) {
    if (!named.contains(colour)) { // the blended reds along the stones' edges: few, reddish
      EXPECT_GT(colour >> 16, (colour >> 8) & 0xFF) << std::hex << colour;
      EXPECT_LT(count, 200) << std::hex << colour;
    }
  }
  const auto dominant = std::max_element(counts.begin(), counts.end(),
                                         [](auto& a, auto& b) { return a.second < b.second; });
  EXPECT_EQ(dominant->first, rgb(117, 36, 44));
}

TEST(WallBitmap, MortarBandSlopesDownJointsStandWhereThePlatesDoNotLie) {
  const Bytes file = committed("wall.bmp");
  const auto wall = readBmp(file);
  ASSERT_TRUE(wall);
  const auto mortar = [&](int x, int y) { return wall->at(x, y) == rgb(145, 145, 145); };
  // The band's first mortar row in a column.
  const auto band = [&](int x) {
    int y = 30;
    while (y < 60 && !mortar(x, y)) {
      ++y;
    }
    return y;
  };
  for (int x = 20; x < wall->width; x += 20) {
    EXPECT_GE(band(x), 36) << x;
    EXPECT_LE(band(x), 48) << x;
  }
  EXPECT_GT(band(200), band(10) + 3); // sloping down to the right
  EXPECT_TRUE(mortar(97, 10));        // the joint above the band, left of the middle
  EXPECT_TRUE(mortar(2, 100));        // the joints below it, near both edges
  EXPECT_TRUE(mortar(199, 100));
  for (const std::string_view name : kPlates) {
    const layout::Rect rect = plate(name);
    for (int y = rect.top; y < rect.bottom(); ++y) {
      for (int x = rect.left; x < rect.right(); ++x) {
        const std::uint32_t pixel = wall->at(x, y);
        ASSERT_NE(pixel >> 16, pixel & 0xFF) << name << " lies on mortar at " << x << "," << y;
      }
    }
  }
}

TEST(WindowIcon, OneFourBitImageWithTheGivenDirectoryEntry) {
  const Bytes file = committed("kelvarin.ico");
  ASSERT_EQ(file.size(), 766u);
  EXPECT_EQ(le16(file, 0), 0u);
  EXPECT_EQ(le16(file, 2), 1u); // icon
  EXPECT_EQ(le16(file, 4), 1u); // one image
  EXPECT_EQ(file[6], 32);
  EXPECT_EQ(file[7], 32);
  EXPECT_EQ(file[8], 16); // colour count
  EXPECT_EQ(file[9], 0);
  EXPECT_EQ(le16(file, 10), 0u); // planes
  EXPECT_EQ(le16(file, 12), 0u); // bit count
  EXPECT_EQ(le32(file, 14), 744u);
  EXPECT_EQ(le32(file, 18), 22u);
  EXPECT_EQ(le32(file, 22), 40u);
  EXPECT_EQ(le32(file, 26), 32u);
  EXPECT_EQ(le32(file, 30), 64u); // colour and mask rows
  EXPECT_EQ(le16(file, 34), 1u);
  EXPECT_EQ(le16(file, 36), 4u);
  EXPECT_EQ(le32(file, 38), 0u);

  const auto icon = iconImage(file);
  ASSERT_TRUE(icon);
  EXPECT_FALSE(icon->cursor);
  EXPECT_EQ(icon->image.size(), 744u);
  EXPECT_EQ(icon->image.data(), file.data() + 22);
}

TEST(WindowIcon, NineColoursTwoPixelOutlineTransparentAround) {
  const Bytes file = committed("kelvarin.ico");
  const IconPixels icon = iconPixels(*iconImage(file));
  ASSERT_EQ(icon.palette.size(), 16u);
  std::set<std::uint32_t> used;
  std::set<unsigned> indices;
  int transparent = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      indices.insert(icon.at(x, y));
      if (icon.clear(x, y)) {
        ++transparent;
        EXPECT_EQ(icon.at(x, y), 0u); // black under the mask: shows nothing
      } else {
        used.insert(icon.palette[icon.at(x, y)]);
      }
    }
  }
  EXPECT_EQ(transparent, 379);
  EXPECT_EQ(indices.size(), 9u);
  EXPECT_EQ(used, (std::set<std::uint32_t>{rgb(68, 101, 202), rgb(48, 72, 145), rgb(255, 255, 0),
                                           rgb(255, 157, 0), rgb(182, 113, 0), rgb(255, 165, 117),
                                           rgb(198, 125, 89), rgb(149, 93, 64), rgb(0, 0, 0)}));
  // Around the head all is transparent; where the head meets it, two black pixels deep.
  for (int i = 0; i < 32; ++i) {
    EXPECT_TRUE(icon.clear(i, 31) && icon.clear(0, i) && icon.clear(31, i)) << i;
  }
  const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (int y = 2; y < 30; ++y) {
    for (int x = 2; x < 30; ++x) {
      for (const auto& [dx, dy] : steps) {
        if (!icon.clear(x, y) && icon.clear(x - dx, y - dy)) {
          EXPECT_EQ(icon.palette[icon.at(x, y)], 0u) << x << "," << y;
          EXPECT_EQ(icon.palette[icon.at(x + dx, y + dy)], 0u) << x << "," << y;
        }
      }
    }
  }
}

TEST(PlatePicture, BlocksInOrderWithTheGivenFields) {
  const Bytes file = committed("plate.gif");
  ASSERT_EQ(file.size(), 1'320u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
  EXPECT_EQ(le16(file, 6), 66u);
  EXPECT_EQ(le16(file, 8), 32u);
  EXPECT_EQ(file[10], 0xF7); // global table of 256, colour resolution 8, not sorted
  EXPECT_EQ(file[11], 0);    // background index
  EXPECT_EQ(file[12], 0);    // aspect ratio
  const std::size_t table = 13;
  EXPECT_EQ(Bytes(file.begin() + table + 3 * 239, file.begin() + table + 3 * 240),
            (Bytes{255, 0, 255}));
  const std::size_t control = table + 768;
  EXPECT_EQ(Bytes(file.begin() + control, file.begin() + control + 8),
            (Bytes{0x21, 0xF9, 4, 0x01, 0, 0, 239, 0}));
  const std::size_t image = control + 8;
  EXPECT_EQ(Bytes(file.begin() + image, file.begin() + image + 11),
            (Bytes{0x2C, 0, 0, 0, 0, 66, 0, 32, 0, 0x00, 8}));
  EXPECT_EQ(file.back(), 0x3B);

  const GiflibPicture read = giflibDecode(file);
  EXPECT_EQ(read.imageCount, 1);
  EXPECT_EQ(read.extensionCount, 1); // the graphic control extension alone: no looping
}

TEST(PlatePicture, ElevenColoursAnd77TransparentPixelsAtCornersAndEdgeNotches) {
  const auto plate = decodedGif(committed("plate.gif"));
  ASSERT_TRUE(plate);
  ASSERT_EQ(plate->transparentIndex, 239);
  std::set<std::uint32_t> used;
  int transparent = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 66; ++x) {
      const std::uint8_t index = plate->indices[static_cast<std::size_t>(y * 66 + x)];
      used.insert(plate->colours[index]);
      if (index == 239) {
        ++transparent;
        const bool corner = (x < 9 || x >= 57) && (y < 9 || y >= 23);
        EXPECT_TRUE(corner || x == 0 || x == 65) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(transparent, 77);
  EXPECT_EQ(used,
            (std::set<std::uint32_t>{rgb(186, 186, 222), rgb(101, 101, 133), rgb(117, 117, 153),
                                     rgb(133, 133, 170), rgb(153, 153, 186), rgb(170, 170, 202),
                                     rgb(202, 202, 238), rgb(218, 218, 255), rgb(234, 234, 255),
                                     rgb(0, 0, 0), rgb(255, 0, 255)}));
  for (const auto& [x, y] : {std::pair{0, 0}, {65, 0}, {0, 31}, {65, 31}}) {
    EXPECT_EQ(plate->indices[static_cast<std::size_t>(y * 66 + x)], 239);
  }
  // The base colour covers most of the slab.
  const auto base = std::count_if(plate->indices.begin(), plate->indices.end(),
                                  [&](auto i) { return plate->colours[i] == rgb(186, 186, 222); });
  EXPECT_GT(base, (66 * 32 - 77) / 2);
}

TEST(HandCursor, OneBlackAndWhiteImageHotSpotAtTheFingertip) {
  const Bytes file = committed("hand.cur");
  ASSERT_EQ(file.size(), 326u);
  EXPECT_EQ(le16(file, 2), 2u); // cursor
  EXPECT_EQ(le16(file, 4), 1u);
  EXPECT_EQ(file[6], 32);
  EXPECT_EQ(file[7], 32);
  EXPECT_EQ(le16(file, 10), 5u); // hot spot
  EXPECT_EQ(le16(file, 12), 0u);
  EXPECT_EQ(le32(file, 14), 304u);
  EXPECT_EQ(le16(file, 22 + 14), 1u); // one bit per pixel

  const auto cursor = iconImage(file);
  ASSERT_TRUE(cursor);
  EXPECT_TRUE(cursor->cursor);
  EXPECT_EQ(cursor->hotSpotX, 5);
  EXPECT_EQ(cursor->hotSpotY, 0);
  EXPECT_EQ(cursor->image.size(), 304u);
  const Bytes resource = cursorResource(*cursor);
  EXPECT_EQ(Bytes(resource.begin(), resource.begin() + 4), (Bytes{5, 0, 0, 0}));
  EXPECT_EQ(Bytes(resource.begin() + 4, resource.end()), bytesOf(cursor->image));
}

TEST(HandCursor, WhiteHandOutlinedInBlackFingerUpNothingInverts) {
  const IconPixels hand = iconPixels(*iconImage(committed("hand.cur")));
  ASSERT_EQ(hand.palette, (std::vector<std::uint32_t>{0, rgb(255, 255, 255)}));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (hand.clear(x, y)) {
        EXPECT_EQ(hand.at(x, y), 0u) << "inverts at " << x << "," << y;
      } else {
        EXPECT_TRUE(x < 20 && y < 26) << "outside the top-left part: " << x << "," << y;
      }
    }
  }
  // The fingertip: black on the top row at the hot spot, white below it, and a lone finger
  // with transparent space on both sides.
  EXPECT_FALSE(hand.clear(5, 0));
  EXPECT_EQ(hand.at(5, 0), 0u);
  for (int y = 1; y < 6; ++y) {
    EXPECT_EQ(hand.at(5, y), 1u) << y;
    EXPECT_TRUE(hand.clear(1, y) && hand.clear(9, y)) << y;
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool white = !hand.clear(x, y) && hand.at(x, y) == 1;
      const bool touchesOutside =
          (x > 0 && hand.clear(x - 1, y)) || (x < 31 && hand.clear(x + 1, y)) ||
          (y > 0 && hand.clear(x, y - 1)) || (y < 31 && hand.clear(x, y + 1));
      EXPECT_FALSE(white && touchesOutside) << "no outline at " << x << "," << y;
    }
  }
}

TEST(Picgen, DrawsExactlyTheCommittedFiles) {
  const test::TempCurrentFolder folder;
  picgen::writePictures(folder.path());
  for (const picgen::PictureFile& file : picgen::kPictureFiles) {
    const std::string name(file.name);
    const std::string drawn = test::TempCurrentFolder::read(folder.path() / name);
    EXPECT_TRUE(Bytes(drawn.begin(), drawn.end()) == committed(name))
        << name << " differs from what picgen draws: run picgen and commit";
  }
}

// ---------------------------------------------------------------------------------------
// The decoders.

TEST(GifDecoder, ReadsThePlateAsGiflibDoes) {
  const Bytes file = committed("plate.gif");
  const auto ours = decodedGif(file);
  ASSERT_TRUE(ours);
  expectSamePicture(*ours, giflibDecode(file).picture);
}

TEST(GifDecoder, ReadsNoiseThatFillsTheCodeTableAsGiflibDoes) {
  // Random pixels over many colours take the codes up to 12 bits and the table to full.
  for (const int colours : {2, 16, 256}) {
    picgen::Random random(static_cast<std::uint64_t>(colours));
    picgen::GifImage image{{}, picgen::Grid<std::uint8_t>(150, 120, 0), 1};
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 150; ++x) {
        image.indices.at(x, y) =
            static_cast<std::uint8_t>(random.below(4) == 0 ? 0 : random.below(colours));
      }
    }
    for (std::size_t i = 0; i < 256; ++i) {
      image.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7};
    }
    const Bytes file = picgen::gifFile(image);
    const auto ours = decodedGif(file);
    ASSERT_TRUE(ours) << colours;
    expectSamePicture(*ours, giflibDecode(file).picture);
  }
}

TEST(Decoders, RefuseTruncatedFiles) {
  const Bytes bmp = committed("wall.bmp");
  const Bytes gif = committed("plate.gif");
  const Bytes ico = committed("kelvarin.ico");
  const Bytes cur = committed("hand.cur");
  for (std::size_t size = 0; size < bmp.size(); size += 97) {
    EXPECT_FALSE(readBmp(std::span(bmp).first(size))) << size;
  }
  EXPECT_FALSE(readBmp(std::span(bmp).first(bmp.size() - 1)));
  // Without its last byte, the trailer, the image is still whole; without the end of its data
  // sub-blocks it is not, though every pixel is there.
  EXPECT_TRUE(decodedGif(std::span(gif).first(gif.size() - 1)));
  for (std::size_t size = 0; size + 1 < gif.size(); ++size) {
    EXPECT_FALSE(decodedGif(std::span(gif).first(size))) << size;
  }
  for (const Bytes* file : {&ico, &cur}) {
    for (std::size_t size = 0; size < file->size(); ++size) {
      EXPECT_FALSE(iconImage(std::span(*file).first(size))) << size;
    }
  }
}

TEST(Decoders, RefuseFilesTheyDoNotRead) {
  const auto changed = [](const char* name, std::size_t at, std::uint8_t value) {
    Bytes file = committed(name);
    file.at(at) = value;
    return file;
  };
  EXPECT_FALSE(readBmp(changed("wall.bmp", 28, 32)));         // 32 bits per pixel
  EXPECT_FALSE(readBmp(changed("wall.bmp", 30, 1)));          // run-length encoded
  EXPECT_FALSE(readBmp(changed("wall.bmp", 10, 55)));         // pixels run past the end
  EXPECT_FALSE(decodedGif(changed("plate.gif", 3, '6')));     // not GIF87a or GIF89a
  EXPECT_FALSE(decodedGif(changed("plate.gif", 798, 0x40)));  // interlaced
  EXPECT_FALSE(decodedGif(changed("plate.gif", 794, 65)));    // narrower than the screen
  EXPECT_FALSE(decodedGif(changed("plate.gif", 799, 12)));    // LZW code size too large
  EXPECT_FALSE(decodedGif(changed("plate.gif", 781, 0x3B)));  // trailer before any image
  EXPECT_FALSE(iconImage(changed("kelvarin.ico", 4, 2)));     // two images
  EXPECT_FALSE(iconImage(changed("kelvarin.ico", 2, 3)));     // neither icon nor cursor
  EXPECT_FALSE(iconImage(changed("kelvarin.ico", 15, 3)));    // image runs past the end
  EXPECT_FALSE(iconImage(changed("kelvarin.ico", 22, 0x89))); // not a bitmap header
  EXPECT_FALSE(iconImage(changed("hand.cur", 26, 16)));       // width disagrees with entry
  // Two colours, one pixel a row: a row of index 1, then one of index 2, outside the table.
  Bytes outside{'G',  'I', 'F',  '8',  '9', 'a', 1, 0, 2, 0, 0x80, 0, 0, // 1 x 2, two colours
                0,    0,   0,    255,  255, 255,                         // black and white
                0x2C, 0,   0,    0,    0,   1,   0, 2, 0, 0,             // the image, 1 x 2
                2,    2,   0x8C, 0x0A, 0,                                // codes clear, 1, 2, end
                0x3B};
  EXPECT_FALSE(decodedGif(outside));
  outside[31] = 0x4C; // index 1 in both rows
  EXPECT_TRUE(decodedGif(outside));
  // A picture as wide as the limit is read; one pixel wider, it is refused.
  for (const int width : {4096, 4097}) {
    const picgen::GifImage image{{}, picgen::Grid<std::uint8_t>(width, 2, 1), 0};
    EXPECT_EQ(decodedGif(picgen::gifFile(image)).has_value(), width == 4096) << width;
  }
}

TEST(Decoders, SurviveEveryCorruptedByte) {
  // Whatever a damaged byte does, the decoders stay inside the data (the sanitizers watch).
  const Bytes gif = committed("plate.gif");
  const Bytes cur = committed("hand.cur");
  Bytes bmpHeaders = committed("wall.bmp");
  for (const unsigned mask : {0x01u, 0x10u, 0x80u, 0xFFu}) {
    for (std::size_t at = 0; at < gif.size(); ++at) {
      Bytes bad = gif;
      bad[at] = static_cast<std::uint8_t>(bad[at] ^ mask);
      const auto picture = decodedGif(bad);
      if (picture) {
        EXPECT_EQ(picture->indices.size(),
                  static_cast<std::size_t>(picture->width * picture->height));
      }
    }
    for (std::size_t at = 0; at < cur.size(); ++at) {
      Bytes bad = cur;
      bad[at] = static_cast<std::uint8_t>(bad[at] ^ mask);
      const auto image = iconImage(bad);
      if (image) {
        EXPECT_LE(image->image.data() + image->image.size(), bad.data() + bad.size());
      }
    }
    for (std::size_t at = 0; at < 54; ++at) {
      Bytes bad = bmpHeaders;
      bad[at] = static_cast<std::uint8_t>(bad[at] ^ mask);
      if (const auto bitmap = readBmp(bad)) { // drawn whole, every pixel read
        Canvas canvas(bitmap->width, bitmap->height);
        draw(canvas, *bitmap, {bitmap->width, bitmap->height, 0, 0, bitmap->width, bitmap->height});
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// The window's surface.

TEST(Canvas, WallUnscaledAndCutAtTheClientAreasRightEdge) {
  const Bytes file = committed("wall.bmp");
  const auto wall = readBmp(file);
  ASSERT_TRUE(wall);
  Canvas canvas(202, 133, 0xFFFFFFFF);
  draw(canvas, *wall, {202, 133, 0, 0, 205, 133});
  for (int y = 0; y < 133; ++y) {
    for (int x = 0; x < 202; ++x) {
      ASSERT_EQ(canvas.at(x, y), wall->at(x, y));
    }
  }
  Canvas offset(10, 10, 1);
  draw(offset, *wall, {10, 10, -200, -128, 205, 133}); // only its 5 × 5 bottom-right corner lands
  EXPECT_EQ(offset.at(0, 0), wall->at(200, 128));
  EXPECT_EQ(offset.at(4, 4), wall->at(204, 132));
  EXPECT_EQ(offset.at(5, 4), 1u);
  EXPECT_EQ(offset.at(4, 5), 1u);
}

TEST(Canvas, StretchingClipsToTheCanvasAndSkipsEmptyRectangles) {
  const Bytes file = committed("plate.gif");
  const auto gif = readGif(file);
  const auto picture = decodedGif(file);
  ASSERT_TRUE(gif && picture);
  const auto colourAt = [&](int x, int y) {
    return picture->colours[picture->indices[static_cast<std::size_t>(y * 66 + x)]];
  };
  Canvas canvas(40, 20, 7);
  EXPECT_TRUE(draw(canvas, *gif, {40, 20, -30, -10, 66, 29}));
  // Destination (30, 10) of the rectangle lands on canvas (0, 0).
  EXPECT_EQ(canvas.at(0, 0), colourAt(30, 10 * 32 / 29));
  EXPECT_TRUE(draw(canvas, *gif, {40, 20, 20, 10, 66, 29}));
  EXPECT_EQ(canvas.at(39, 19), colourAt(19, 9 * 32 / 29));
  // A rectangle of no width, or of a height below zero, paints nothing at all.
  Canvas untouched(40, 20, 7);
  EXPECT_TRUE(draw(untouched, *gif, {40, 20, 0, 0, 0, 29}));
  EXPECT_TRUE(draw(untouched, *gif, {40, 20, 0, 0, 66, -1}));
  EXPECT_EQ(untouched.pixels, Canvas(40, 20, 7).pixels);
  // Doubled, each source pixel covers two by two.
  Canvas doubled(132, 64);
  EXPECT_TRUE(draw(doubled, *gif, {132, 64, 0, 0, 132, 64}));
  EXPECT_EQ(doubled.at(41, 21), colourAt(20, 10));
}

// The scene at 96 DPI from the decoders' plain outputs: the wall, and over it the plate squeezed
// to each plate's rectangle wherever it is not transparent.
Canvas expectedScene() {
  const Bytes file = committed("wall.bmp");
  const auto wall = readBmp(file);
  const auto picture = decodedGif(committed("plate.gif"));
  Canvas scene(202, 133);
  for (int y = 0; y < 133; ++y) {
    for (int x = 0; x < 202; ++x) {
      std::uint32_t pixel = wall->at(x, y);
      for (const std::string_view name : kPlates) {
        const layout::Rect r = plate(name);
        if (r.contains(x, y)) {
          const std::uint8_t index = picture->indices[static_cast<std::size_t>(
              (y - r.top) * picture->height / r.height * picture->width +
              (x - r.left) * picture->width / r.width)];
          pixel = index == picture->transparentIndex ? pixel : picture->colours[index];
        }
      }
      scene.pixels[static_cast<std::size_t>(y * 202 + x)] = pixel;
    }
  }
  return scene;
}

TEST(Scene, PlatesSqueezedTo29RowsWithTheWallShowingThroughTransparentPixels) {
  const auto picture = decodedGif(committed("plate.gif"));
  ASSERT_TRUE(picture);
  Canvas canvas(202, 133);
  ASSERT_TRUE(scene::compose(canvas));
  std::set<int> sourceRows;
  for (const std::string_view name : kPlates) {
    const layout::Rect rect = plate(name);
    ASSERT_EQ(rect.width, 66);
    ASSERT_EQ(rect.height, 29);
    int showThrough = 0;
    for (int dy = 0; dy < 29; ++dy) {
      const int sy = dy * 32 / 29;
      sourceRows.insert(sy);
      for (int dx = 0; dx < 66; ++dx) {
        showThrough += picture->indices[static_cast<std::size_t>(sy * 66 + dx)] == 239;
      }
    }
    EXPECT_GT(showThrough, 60) << name;
    EXPECT_LT(showThrough, 77) << name;
  }
  EXPECT_EQ(sourceRows.size(), 29u);
  EXPECT_TRUE(sourceRows.contains(0) && sourceRows.contains(30)); // top row and near the bottom
  // Every plate is the same picture, pixel for pixel.
  const layout::Rect a = plate("cmdSwitch");
  const layout::Rect b = plate("imgRun");
  int differences = 0;
  for (int dy = 0; dy < 29; ++dy) {
    for (int dx = 0; dx < 66; ++dx) {
      const std::uint8_t index = picture->indices[static_cast<std::size_t>(dy * 32 / 29 * 66 + dx)];
      differences +=
          index != 239 && canvas.at(a.left + dx, a.top + dy) != canvas.at(b.left + dx, b.top + dy);
    }
  }
  EXPECT_EQ(differences, 0);
}

// Composed at the client area's size for 96, 120, 144 and 192 DPI, and at one of no proportion
// to it, every pixel is that of the 96-DPI scene stretched nearest neighbour.
TEST(Scene, ComposedAtAnySizeIsThe96DpiSceneStretched) {
  const Canvas expected = expectedScene();
  for (const auto& [width, height] :
       {std::pair{202, 133}, {252, 166}, {303, 199}, {404, 266}, {97, 211}}) {
    Canvas canvas(width, height, 0xFF000000); // no picture's colour: shows what is left unpainted
    ASSERT_TRUE(scene::compose(canvas));
    int differences = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        differences += canvas.at(x, y) != expected.at(x * 202 / width, y * 133 / height);
      }
    }
    EXPECT_EQ(differences, 0) << width << " x " << height;
  }
}

} // namespace
} // namespace kelvarin::pictures
