// PCX files through decodePicture: the 256-colour and the version-3
// monochrome variants, run-length data, and files that are no picture.
#include <gtest/gtest.h>

#include "icon/picture.h"
#include "tests/icon/picture_fixtures.h"

namespace tavo {
namespace {

using namespace fixtures;

// Palette entry i is red i, green 0x80, blue 255 - i.
Pixel paletteColour(unsigned i) { return 0xFF008000u | (i << 16) | (255 - i); }

Bytes colourPcx(const PcxHeader& h, const Bytes& data, std::uint8_t marker = 0x0C) {
  Bytes b = pcxHeader(h);
  append(b, data);
  b.push_back(marker);
  for (unsigned i = 0; i < 256; ++i) {
    b.push_back(static_cast<std::uint8_t>(i));
    b.push_back(0x80);
    b.push_back(static_cast<std::uint8_t>(255 - i));
  }
  return b;
}

PcxHeader colourHeader(std::uint16_t w, std::uint16_t h, std::uint16_t bytesPerLine) {
  PcxHeader p;
  p.xmax = w - 1;
  p.ymax = h - 1;
  p.bytesPerLine = bytesPerLine;
  return p;
}

PcxHeader monoHeader(std::uint16_t w, std::uint16_t h, std::uint16_t bytesPerLine) {
  PcxHeader p = colourHeader(w, h, bytesPerLine);
  p.version = 3;
  p.bpp = 1;
  return p;
}

// 3x2 with four bytes per line (one of padding). Top line: 1, 0xC5 (a value
// that must be written as a run of one), 2, padding 9; bottom line: a run of
// three 3s, padding 0.
const Bytes kColourData = {0x01, 0xC1, 0xC5, 0x02, 0x09, 0xC3, 0x03, 0x00};

TEST(DecodePcx, TwoHundredFiftySixColoursTopLineFirst) {
  const auto p = decodePicture(colourPcx(colourHeader(3, 2, 4), kColourData));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, Picture::Kind::Raster);
  EXPECT_TRUE(p->mask.empty());
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(at(*p, 0, 0), paletteColour(1));
  EXPECT_EQ(at(*p, 1, 0), paletteColour(0xC5));
  EXPECT_EQ(at(*p, 2, 0), paletteColour(2));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(at(*p, x, 1), paletteColour(3));
}

TEST(DecodePcx, SizeCountsFromTheWindowOrigin) {
  PcxHeader h = colourHeader(3, 2, 4);
  h.xmin = 10, h.xmax = 12, h.ymin = 5, h.ymax = 6;
  const auto p = decodePicture(colourPcx(h, kColourData));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(at(*p, 1, 0), paletteColour(0xC5));
}

TEST(DecodePcx, RunCarriesOverIntoTheNextLine) {
  const auto p = decodePicture(colourPcx(colourHeader(2, 2, 2), {0xC4, 0x07}));
  ASSERT_TRUE(p);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(at(*p, x, y), paletteColour(7));
}

TEST(DecodePcx, MonochromeVersion3IsBlackAndWhiteWhateverTheHeaderPalette) {
  PcxHeader h = monoHeader(10, 2, 2);
  h.egaPalette = {0xFF, 0, 0, 0, 0xFF, 0};  // red and green: not used by version 3
  Bytes file = pcxHeader(h);
  append(file, {0b10110000, 0b01000000, /*second line*/ 0xC1, 0xFF, 0xC1, 0b11000000});
  const auto p = decodePicture(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 10);
  EXPECT_EQ(p->height, 2);
  const char* expected[] = {"1011000001", "1111111111"};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(at(*p, x, y), expected[y][x] == '1' ? kWhite : kBlack) << x << "," << y;
}

TEST(DecodePcx, EveryShorterPrefixIsNoPicture) {
  Bytes file = pcxHeader(monoHeader(10, 2, 2));
  append(file, {0xC2, 0xAA, 0x55, 0x66});
  ASSERT_TRUE(decodePicture(file));
  for (std::size_t n = 0; n < file.size(); ++n) {
    const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(decodePicture(prefix)) << "cut at " << n;
  }
}

TEST(DecodePcx, NoPicture) {
  auto colourWith = [](auto change, const Bytes& data = kColourData) {
    PcxHeader h = colourHeader(3, 2, 4);
    change(h);
    return colourPcx(h, data);
  };
  auto monoWith = [](auto change) {
    PcxHeader h = monoHeader(10, 2, 2);
    change(h);
    Bytes b = pcxHeader(h);
    append(b, {0, 0, 0, 0});
    return b;
  };
  const Bytes shortFile(kColourData.size() + 128 + 700, 0x0C);

  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"three planes", colourWith([](PcxHeader& h) { h.planes = 3; }, Bytes(24, 0))},
      {"version 6", colourWith([](PcxHeader& h) { h.version = 6; })},
      {"encoding 0", colourWith([](PcxHeader& h) { h.encoding = 0; })},
      {"no palette marker", colourPcx(colourHeader(3, 2, 4), kColourData, 0x0B)},
      {"shorter than a header and a palette", shortFile},
      {"bytes per line below the width", colourWith([](PcxHeader& h) { h.bytesPerLine = 2; })},
      {"xmax below xmin", colourWith([](PcxHeader& h) { h.xmin = 5, h.xmax = 4; })},
      {"ymax below ymin", colourWith([](PcxHeader& h) { h.ymin = 5, h.ymax = 4; })},
      {"data ends before the last line", colourWith([](PcxHeader&) {}, {0x01, 0xC1, 0xC5, 0x02, 0x09, 0x03})},
      {"run without its value", colourWith([](PcxHeader&) {}, {0x01, 0xC1, 0xC5, 0x02, 0x09, 0x03, 0x03, 0xC1})},
      {"65536 x 65536", colourWith([](PcxHeader& h) { h.xmax = h.ymax = 65535, h.bytesPerLine = 65535; })},
      {"8000 x 8000 in a few bytes", colourWith([](PcxHeader& h) { h.xmax = h.ymax = 7999, h.bytesPerLine = 8000; })},
      {"monochrome version 5", monoWith([](PcxHeader& h) { h.version = 5; })},
      {"monochrome version 2", monoWith([](PcxHeader& h) { h.version = 2; })},
      {"monochrome with four planes", monoWith([](PcxHeader& h) { h.planes = 4; })},
      {"monochrome bytes per line below the width", monoWith([](PcxHeader& h) { h.bytesPerLine = 1; })},
      {"four bits per pixel", monoWith([](PcxHeader& h) { h.bpp = 4; })},
  };
  for (const auto& c : cases) EXPECT_FALSE(decodePicture(c.bytes)) << c.name;
}

}  // namespace
}  // namespace tavo
