// GIF decoding: the first image on the logical screen, interlacing, colour
// tables, and bad files as no picture. Fixtures are encoded here with giflib.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "icon/picture.h"

namespace tavo {
namespace {

struct Frame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  std::vector<GifColorType> localMap;   // empty: none
  std::vector<std::uint8_t> indexes;    // width x height, rows top-down in image order
};

int writeToBytes(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

// Colour tables must hold a power of two entries; pad with black.
ColorMapObject* makeMap(std::vector<GifColorType> colours) {
  if (colours.empty()) return nullptr;
  int size = 2;
  while (size < static_cast<int>(colours.size())) size *= 2;
  colours.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
  return GifMakeMapObject(size, colours.data());
}

Bytes encodeGif(int screenW, int screenH, const std::vector<GifColorType>& globalMap, int background,
                const std::vector<Frame>& frames) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, writeToBytes, &error);
  EXPECT_NE(gif, nullptr);
  ColorMapObject* global = makeMap(globalMap);
  EXPECT_EQ(EGifPutScreenDesc(gif, screenW, screenH, 8, background, global), GIF_OK);
  for (const Frame& f : frames) {
    ColorMapObject* local = makeMap(f.localMap);
    EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local), GIF_OK);
    // Interlaced lines are stored in pass order: rows 0, 8, ..., then 4, 12, ..., 2, 6, ..., 1, 3, ...
    std::vector<int> order;
    if (f.interlaced) {
      for (int y = 0; y < f.height; y += 8) order.push_back(y);
      for (int y = 4; y < f.height; y += 8) order.push_back(y);
      for (int y = 2; y < f.height; y += 4) order.push_back(y);
      for (int y = 1; y < f.height; y += 2) order.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) order.push_back(y);
    }
    for (int y : order) {
      std::vector<GifPixelType> line(f.indexes.begin() + static_cast<long>(y) * f.width,
                                     f.indexes.begin() + static_cast<long>(y + 1) * f.width);
      EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
    }
    GifFreeMapObject(local);
  }
  EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
  GifFreeMapObject(global);
  return out;
}

constexpr Pixel px(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (Pixel{r} << 16) | (Pixel{g} << 8) | b;
}
Pixel px(GifColorType c) { return px(c.Red, c.Green, c.Blue); }
Pixel at(const Picture& p, int x, int y) { return p.pixels[static_cast<std::size_t>(y) * p.pixelWidth + x]; }

const std::vector<GifColorType> kFour = {{200, 10, 10}, {10, 200, 10}, {10, 10, 200}, {90, 90, 90}};

TEST(DecodeGif, FirstImageAtItsOffsetOnTheScreenBackground) {
  // A 3x2 image at (2, 1) on a 6x5 screen whose background is index 3.
  const Frame f{2, 1, 3, 2, false, {}, {0, 1, 2, 2, 1, 0}};
  const Bytes file = encodeGif(6, 5, kFour, 3, {f});
  ASSERT_EQ(recognise(file), PictureFormat::Gif);
  const auto p = decodePicture(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, Picture::Kind::Raster);
  EXPECT_EQ(p->width, 6);
  EXPECT_EQ(p->height, 5);
  EXPECT_EQ(p->pixelWidth, 6);
  EXPECT_EQ(p->pixelHeight, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      const Pixel want = inside ? px(kFour[f.indexes[(y - 1) * 3 + (x - 2)]]) : px(kFour[3]);
      EXPECT_EQ(at(*p, x, y), want) << x << "," << y;
    }
}

TEST(DecodeGif, ImageReachingPastTheScreenIsClipped) {
  Frame f{3, 2, 4, 4, false, {}, {}};
  for (int i = 0; i < 16; ++i) f.indexes.push_back(static_cast<std::uint8_t>(i % 3));
  const auto p = decodePicture(encodeGif(5, 5, kFour, 3, {f}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 5);
  EXPECT_EQ(p->height, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool inside = x >= 3 && y >= 2;
      const Pixel want = inside ? px(kFour[f.indexes[(y - 2) * 4 + (x - 3)]]) : px(kFour[3]);
      EXPECT_EQ(at(*p, x, y), want) << x << "," << y;
    }
}

TEST(DecodeGif, InterlacedRowsLandInImageOrder) {
  // Row y has colour y: any row misplaced by the pass order shows.
  std::vector<GifColorType> greys;
  for (int i = 0; i < 16; ++i) greys.push_back({static_cast<GifByteType>(i * 16), static_cast<GifByteType>(i), 0});
  for (int height : {11, 3}) {
    Frame f{0, 0, 2, height, true, {}, {}};
    for (int y = 0; y < height; ++y) f.indexes.insert(f.indexes.end(), 2, static_cast<std::uint8_t>(y));
    const auto p = decodePicture(encodeGif(2, height, greys, 0, {f}));
    ASSERT_TRUE(p);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ(at(*p, x, y), px(greys[y])) << "height " << height << " row " << y;
  }
}

TEST(DecodeGif, LocalColourTableBeforeGlobal) {
  const std::vector<GifColorType> local = {{1, 2, 3}, {4, 5, 6}};
  const Frame withLocal{0, 0, 2, 1, false, local, {1, 0}};
  const auto a = decodePicture(encodeGif(2, 1, kFour, 0, {withLocal}));
  ASSERT_TRUE(a);
  EXPECT_EQ(at(*a, 0, 0), px(4, 5, 6));
  EXPECT_EQ(at(*a, 1, 0), px(1, 2, 3));

  const Frame globalOnly{0, 0, 2, 1, false, {}, {1, 0}};
  const auto b = decodePicture(encodeGif(2, 1, kFour, 0, {globalOnly}));
  ASSERT_TRUE(b);
  EXPECT_EQ(at(*b, 0, 0), px(kFour[1]));
  EXPECT_EQ(at(*b, 1, 0), px(kFour[0]));

  // Only a local table: the screen outside the image has no background colour, so black.
  const Frame small{1, 0, 1, 1, false, local, {1}};
  const auto c = decodePicture(encodeGif(2, 1, {}, 1, {small}));
  ASSERT_TRUE(c);
  EXPECT_EQ(at(*c, 0, 0), px(0, 0, 0));
  EXPECT_EQ(at(*c, 1, 0), px(4, 5, 6));
}

TEST(DecodeGif, IndexesPastTheTableAreBlackAndNoTableIsGrey) {
  // Two-entry table, padded by GIF to 2 entries; indexes 2 and 3 have no colour.
  const Frame f{0, 0, 4, 1, false, {}, {0, 1, 2, 3}};
  const std::vector<GifColorType> two = {{50, 60, 70}, {80, 90, 100}};
  // giflib's encoder codes indexes with the table's depth; give it four entries to code with
  // and then shrink the stored table back to two.
  Bytes file = encodeGif(4, 1, {two[0], two[1], {1, 1, 1}, {2, 2, 2}}, 0, {f});
  ASSERT_EQ(file[10] & 0x87, 0x81);  // global table, 2^(1+1) entries
  file[10] = static_cast<std::uint8_t>((file[10] & ~0x07) | 0x00);  // now 2^(0+1) entries
  file.erase(file.begin() + 13 + 6, file.begin() + 13 + 12);
  const auto p = decodePicture(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(at(*p, 0, 0), px(50, 60, 70));
  EXPECT_EQ(at(*p, 1, 0), px(80, 90, 100));
  EXPECT_EQ(at(*p, 2, 0), px(0, 0, 0));
  EXPECT_EQ(at(*p, 3, 0), px(0, 0, 0));

  // No table at all: take the global one out.
  std::vector<GifColorType> table(256);
  const Frame g{0, 0, 2, 1, false, {}, {200, 7}};
  Bytes bare = encodeGif(2, 1, table, 0, {g});
  ASSERT_EQ(bare[10] & 0x87, 0x87);
  bare[10] = static_cast<std::uint8_t>(bare[10] & ~0x80);
  bare.erase(bare.begin() + 13, bare.begin() + 13 + 768);
  const auto q = decodePicture(bare);
  ASSERT_TRUE(q);
  EXPECT_EQ(at(*q, 0, 0), px(200, 200, 200));
  EXPECT_EQ(at(*q, 1, 0), px(7, 7, 7));
}

TEST(DecodeGif, OnlyTheFirstFrameIsShown) {
  const Frame first{0, 0, 2, 2, false, {}, {0, 0, 0, 0}};
  const Frame second{0, 0, 2, 2, false, {}, {1, 1, 1, 1}};
  // A third frame with bad data: never read.
  Bytes file = encodeGif(2, 2, kFour, 0, {first, second});
  const auto p = decodePicture(file);
  ASSERT_TRUE(p);
  for (Pixel v : p->pixels) EXPECT_EQ(v, px(kFour[0]));
  file.pop_back();  // the trailer
  file.insert(file.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0x0C, 0x01, 0xFF, 0x00, 0x3B});
  EXPECT_TRUE(decodePicture(file));
}

TEST(DecodeGif, WidestScreenDecodes) {
  Frame f{0, 0, 65535, 1, false, {}, std::vector<std::uint8_t>(65535, 2)};
  f.indexes[65534] = 1;
  const auto p = decodePicture(encodeGif(65535, 1, kFour, 0, {f}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 65535);
  EXPECT_EQ(p->height, 1);
  EXPECT_EQ(at(*p, 0, 0), px(kFour[2]));
  EXPECT_EQ(at(*p, 65534, 0), px(kFour[1]));
}

TEST(DecodeGif, BadFilesAreNoPicture) {
  Frame f{0, 0, 16, 16, false, {}, {}};
  for (int i = 0; i < 256; ++i) f.indexes.push_back(static_cast<std::uint8_t>((i * 7 + i / 16) % 4));
  const Bytes good = encodeGif(16, 16, kFour, 0, {f});
  ASSERT_TRUE(decodePicture(good));
  const std::size_t imageStart = 13 + 12;  // header, screen, four-entry table
  ASSERT_EQ(good[imageStart], 0x2C);
  auto cut = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + static_cast<long>(n)); };
  auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> v) {
    Bytes b = good;
    std::copy(v.begin(), v.end(), b.begin() + static_cast<long>(at));
    return b;
  };
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"cut in the colour table", cut(13 + 5)},
      {"cut in the image descriptor", cut(imageStart + 6)},
      {"cut in the image data", cut(imageStart + 10 + 8)},
      {"cut before the last data block ends", cut(good.size() - 3)},
      {"trailer before any image", [&] { Bytes b = cut(imageStart); b.push_back(0x3B); return b; }()},
      {"unknown block before the image", patched(imageStart, {0x21 + 0x40})},
      {"zero-width image", patched(imageStart + 5, {0, 0})},
      {"zero-height image", patched(imageStart + 7, {0, 0})},
      {"screen over the pixel cap", patched(6, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"zero-size screen", patched(6, {0, 0, 0, 0})},
      {"image over the pixel cap, data for 16x16", patched(imageStart + 5, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"image of 65535x2048 on the screen, data for 16x16", patched(imageStart + 5, {0xFF, 0xFF, 0x00, 0x08})},
      {"LZW code size 12", patched(imageStart + 10, {12})},
  };
  const auto start = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    ASSERT_EQ(recognise(c.bytes), PictureFormat::Gif) << c.name;
    EXPECT_FALSE(decodePicture(c.bytes)) << c.name;
  }
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
}

}  // namespace
}  // namespace tavo
