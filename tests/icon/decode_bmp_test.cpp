// Bitmap files through decodePicture, on small files built byte by byte.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "icon/picture.h"
#include "tests/icon/picture_fixtures.h"

namespace tavo {
namespace {

using namespace fixtures;

InfoHeader header(std::int32_t w, std::int32_t h, std::uint16_t bpp, std::uint32_t coloursUsed = 0) {
  InfoHeader i;
  i.width = w;
  i.height = h;
  i.bpp = bpp;
  i.coloursUsed = coloursUsed;
  return i;
}

// Rows as the colour letters of `key` (top row first), for readable
// expectations.
std::vector<std::string> letters(const Picture& p, const std::map<Pixel, char>& key) {
  std::vector<std::string> rows;
  for (int y = 0; y < p.pixelHeight; ++y) {
    std::string row;
    for (int x = 0; x < p.pixelWidth; ++x) {
      const auto k = key.find(at(p, x, y));
      row += k == key.end() ? '?' : k->second;
    }
    rows.push_back(row);
  }
  return rows;
}

// 2x2 at 24 bits: each row 6 pixel bytes and 2 padding bytes.
const Bytes kRows24 = {
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xEE, 0xEE,  // first stored row
    0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0xEE, 0xEE,  // second stored row
};

TEST(DecodeBmp, TwentyFourBitsBottomUpSkipsRowPadding) {
  const auto p = decodePicture(bmpFile(infoHeader(header(2, 2, 24)), {}, kRows24));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, Picture::Kind::Raster);
  EXPECT_EQ(p->width, 2);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->pixelWidth, 2);
  EXPECT_EQ(p->pixelHeight, 2);
  EXPECT_TRUE(p->mask.empty());
  // The first stored row is the bottom one; bytes are blue, green, red.
  EXPECT_EQ(at(*p, 0, 0), 0xFF302010u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF605040u);
  EXPECT_EQ(at(*p, 0, 1), 0xFF030201u);
  EXPECT_EQ(at(*p, 1, 1), 0xFF060504u);
}

TEST(DecodeBmp, NegativeHeightIsTopDown) {
  const auto p = decodePicture(bmpFile(infoHeader(header(2, -2, 24)), {}, kRows24));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(at(*p, 0, 0), 0xFF030201u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF060504u);
  EXPECT_EQ(at(*p, 0, 1), 0xFF302010u);
  EXPECT_EQ(at(*p, 1, 1), 0xFF605040u);
}

TEST(DecodeBmp, ThirtyTwoBitsIgnoresTheFourthByte) {
  const Bytes rows = {0x01, 0x02, 0x03, 0x7F, 0x04, 0x05, 0x06, 0x00};
  const auto p = decodePicture(bmpFile(infoHeader(header(2, 1, 32)), {}, rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), 0xFF030201u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF060504u);
}

TEST(DecodeBmp, OneBitLeftmostPixelInTheTopBit) {
  // 10 pixels: two bytes of bits (the last six bits of the second are beyond
  // the width) and two padding bytes per row.
  const Bytes rows = {
      0b10000000, 0b01111111, 0xFF, 0xFF,  // bottom
      0b01010101, 0b11000000, 0xFF, 0xFF,  // top
  };
  const auto p = decodePicture(bmpFile(infoHeader(header(10, 2, 1)), colourTable({0xFF0000, 0x0000FF}), rows));
  ASSERT_TRUE(p);
  const std::map<Pixel, char> key{{0xFFFF0000u, 'r'}, {0xFF0000FFu, 'b'}};
  EXPECT_EQ(letters(*p, key), (std::vector<std::string>{"rbrbrbrbbb", "brrrrrrrrb"}));
}

TEST(DecodeBmp, FourBitsHighNibbleFirstAndIndexBeyondTheTableIsBlack) {
  // Three pixels 1, 2, 3 (the fourth nibble is padding); the table has three
  // entries, so index 3 is beyond it.
  const Bytes rows = {0x12, 0x3F, 0xEE, 0xEE};
  const auto p =
      decodePicture(bmpFile(infoHeader(header(3, 1, 4, 3)), colourTable({0x111111, 0x00FF00, 0x0000FF}), rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(at(*p, 2, 0), kBlack);
}

TEST(DecodeBmp, EightBitsNeverReadPastTheStatedTable) {
  // Three colours are stated; a fourth entry follows before the pixels, and
  // the pixel bytes themselves come after it. Indexes 3 and 200 are black.
  Bytes table = colourTable({0xFF0000, 0x00FF00, 0x0000FF, 0xABCDEF});
  const Bytes rows = {0, 1, 2, 3, 200, 0xEE, 0xEE, 0xEE};
  const auto p = decodePicture(bmpFile(infoHeader(header(5, 1, 8, 3)), table, rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF00FF00u);
  EXPECT_EQ(at(*p, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(at(*p, 3, 0), kBlack);
  EXPECT_EQ(at(*p, 4, 0), kBlack);
}

TEST(DecodeBmp, OversizeTableUsesItsFirst256Entries) {
  Bytes table;
  for (std::uint32_t i = 0; i < 300; ++i) append(table, colourTable({i < 256 ? i : 0xFFFFFF}));
  const Bytes rows = {255, 1, 0, 0};
  const auto p = decodePicture(bmpFile(infoHeader(header(2, 1, 8, 300)), table, rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(at(*p, 1, 0), 0xFF000001u);
}

TEST(DecodeBmp, ImpliedTableEndsWhereThePixelsStart) {
  // Colours used 0 implies 256 entries, but the pixels start after two.
  const Bytes rows = {0, 1, 2, 0};
  const auto p = decodePicture(bmpFile(infoHeader(header(3, 1, 8, 0)), colourTable({0xFF0000, 0x00FF00}), rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(at(*p, 1, 0), 0xFF00FF00u);
  EXPECT_EQ(at(*p, 2, 0), kBlack);
}

TEST(DecodeBmp, PixelOffsetIsHonouredAndSizeFieldsIgnored) {
  InfoHeader h = header(2, 2, 24);
  h.imageSize = 0x7FFFFFF0;  // wrong on purpose
  Bytes file = bmpFile(infoHeader(h), {}, kRows24, 100);
  set32(file, 2, 0xDEADBEEF);  // bfSize
  const auto p = decodePicture(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 1), 0xFF030201u);
}

// Every known info header length gives the same picture; the OS/2 16-byte one
// stops before compression and colours used.
TEST(DecodeBmp, InfoHeaderVersions) {
  for (std::uint32_t size : {16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    SCOPED_TRACE(size);
    InfoHeader h = header(2, 1, 8);
    h.size = size;
    Bytes info = infoHeader(h);
    info.resize(size);
    const auto p = decodePicture(bmpFile(info, colourTable({0x123456, 0x654321}), {1, 0, 0, 0}));
    ASSERT_TRUE(p);
    EXPECT_EQ(at(*p, 0, 0), 0xFF654321u);
    EXPECT_EQ(at(*p, 1, 0), 0xFF123456u);
  }
}

// OS/2 1.x: 16-bit width and height, three-byte colour entries, the table
// length given only by where the pixels start.
Bytes os2File(std::uint16_t w, std::uint16_t h, std::uint16_t bpp, const Bytes& table, const Bytes& rows) {
  Bytes info;
  put32(info, 12);
  put16(info, w);
  put16(info, h);
  put16(info, 1);
  put16(info, bpp);
  return bmpFile(info, table, rows);
}

TEST(DecodeBmp, Os2CoreHeader) {
  const Bytes table = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};  // red, blue
  const Bytes rows = {1, 0, 2, 0, /*top*/ 0, 1, 1, 0};
  const auto p = decodePicture(os2File(3, 2, 8, table, rows));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  const std::map<Pixel, char> key{{0xFFFF0000u, 'r'}, {0xFF0000FFu, 'b'}, {kBlack, 'k'}};
  EXPECT_EQ(letters(*p, key), (std::vector<std::string>{"rbb", "brk"}));
}

TEST(DecodeBmp, EveryShorterPrefixIsNoPicture) {
  // 3x2 at 8 bits with a two-colour table: 14 + 40 + 8 + 2 x 4 bytes, the
  // last row's padding byte included.
  const Bytes file =
      bmpFile(infoHeader(header(3, 2, 8, 2)), colourTable({0xFF0000, 0x00FF00}), {0, 1, 0, 0xEE, 1, 0, 1, 0xEE});
  ASSERT_EQ(file.size(), 70u);
  ASSERT_TRUE(decodePicture(file));
  for (std::size_t n = 0; n < file.size(); ++n) {
    const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(decodePicture(prefix)) << "cut at " << n;
  }
}

TEST(DecodeBmp, NoPicture) {
  const Bytes table2 = colourTable({0xFF0000, 0x00FF00});
  auto with = [](auto change, std::uint16_t bpp = 24) {
    InfoHeader h = header(2, 2, bpp);
    change(h);
    return infoHeader(h);
  };
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  Bytes badHeaderSize = bmpFile(infoHeader(header(2, 2, 24)), {}, kRows24);
  set32(badHeaderSize, 14, 66);
  Bytes hugeHeaderSize = badHeaderSize;
  set32(hugeHeaderSize, 14, 0xFFFFFFF0);
  Bytes pixelsPastTheEnd = bmpFile(infoHeader(header(2, 2, 24)), {}, kRows24);
  set32(pixelsPastTheEnd, 10, 5000);
  Bytes cutInfo = bmpFile(infoHeader(header(2, 2, 24)), {}, {});
  cutInfo.resize(40);

  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"five-byte BM", {'B', 'M', 0, 0, 0}},
      {"PNG signature", png},
      {"info header cut short", cutInfo},
      {"header size 66", badHeaderSize},
      {"header size past the file", hugeHeaderSize},
      {"RLE8", bmpFile(with([](InfoHeader& h) { h.compression = 1; }, 8), table2, kRows24)},
      {"RLE4", bmpFile(with([](InfoHeader& h) { h.compression = 2; }, 4), table2, kRows24)},
      {"BITFIELDS", bmpFile(with([](InfoHeader& h) { h.compression = 3; }, 32),
                            colourTable({0xFF0000, 0x00FF00, 0x0000FF}), Bytes(32, 0))},
      {"ALPHABITFIELDS", bmpFile(with([](InfoHeader& h) { h.compression = 6; }, 32), {}, Bytes(32, 0))},
      {"depth 0", bmpFile(with([](InfoHeader&) {}, 0), {}, kRows24)},
      {"depth 2", bmpFile(with([](InfoHeader&) {}, 2), table2, kRows24)},
      {"depth 16", bmpFile(with([](InfoHeader&) {}, 16), {}, kRows24)},
      {"depth 64", bmpFile(with([](InfoHeader&) {}, 64), {}, Bytes(32, 0))},
      {"planes 0", bmpFile(with([](InfoHeader& h) { h.planes = 0; }), {}, kRows24)},
      {"planes 2", bmpFile(with([](InfoHeader& h) { h.planes = 2; }), {}, kRows24)},
      {"width 0", bmpFile(with([](InfoHeader& h) { h.width = 0; }), {}, kRows24)},
      {"negative width", bmpFile(with([](InfoHeader& h) { h.width = -2; }), {}, kRows24)},
      {"height 0", bmpFile(with([](InfoHeader& h) { h.height = 0; }), {}, kRows24)},
      {"pixels past the end", pixelsPastTheEnd},
      {"pixels inside the header", bmpFile(infoHeader(header(2, 2, 24)), {}, kRows24, 20)},
      {"table past the end", bmpFile(infoHeader(header(2, 2, 8, 0x80000010u)), table2, kRows24)},
      {"3000000 x 2000000", bmpFile(infoHeader(header(3000000, 2000000, 24)), {}, kRows24)},
      {"1 x INT32_MIN top-down", bmpFile(infoHeader(header(1, INT32_MIN, 24)), {}, kRows24)},
      {"65536 x 65536 in a small file", bmpFile(infoHeader(header(65536, 65536, 1)), table2, kRows24)},
      {"10000 x 10000 within the cap, rows missing", bmpFile(infoHeader(header(10000, 10000, 8)), table2, kRows24)},
  };
  for (const auto& c : cases) EXPECT_FALSE(decodePicture(c.bytes)) << c.name;
}

TEST(DecodeBmp, MorePixelsThanTheCapIsNoPictureEvenWithAllRowsPresent) {
  // 32 x (2^22 + 1) at one bit: 16 MiB of rows, all there.
  const std::int32_t h = (1 << 22) + 1;
  ASSERT_GT(std::uint64_t{32} * h, kMaxPicturePixels);
  const Bytes file = bmpFile(infoHeader(header(32, h, 1)), colourTable({0, 0xFFFFFF}), Bytes(std::size_t{4} * h, 0));
  EXPECT_FALSE(decodePicture(file));
}

}  // namespace
}  // namespace tavo
