// Icon and cursor files through decodePicture: the image choice, the colour
// image and its mask, and files that are no picture.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "icon/picture.h"
#include "icon/templates.h"
#include "tests/icon/picture_fixtures.h"

namespace tavo {
namespace {

using namespace fixtures;

using Cells = std::set<std::pair<int, int>>;  // (x, y) from the top-left

Cells transparentCells(const Picture& p) {
  Cells out;
  for (int y = 0; y < p.pixelHeight; ++y)
    for (int x = 0; x < p.pixelWidth; ++x)
      if (maskAt(p, x, y)) out.insert({x, y});
  return out;
}

TEST(DecodeIcon, Template16AtTheLayoutOffsets) {
  Bytes icon = template16();
  icon[782] = 0x11, icon[783] = 0x22, icon[784] = 0x33;  // top-left pixel
  icon[62] = 0x44, icon[63] = 0x55, icon[64] = 0x66;     // bottom-left pixel
  icon[890] = 0x80;                                      // top row, column 0
  icon[891] = 0x80;                                      // top row, column 8
  icon[830] = 0x01;                                      // bottom row, column 7
  const auto p = decodePicture(icon);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, Picture::Kind::Icon);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 16);
  ASSERT_EQ(p->mask.size(), 256u);
  EXPECT_EQ(at(*p, 0, 0), 0xFF332211u);
  EXPECT_EQ(at(*p, 0, 15), 0xFF665544u);
  EXPECT_EQ(at(*p, 15, 15), kBlack);
  EXPECT_EQ(transparentCells(*p), (Cells{{0, 0}, {8, 0}, {7, 15}}));
}

TEST(DecodeIcon, TwoImageTemplateShowsIts32Image) {
  Bytes icon = templateBoth();
  icon[798] = 0xFF, icon[799] = 0xFF, icon[800] = 0xFF;  // 16x16 image, top-left
  icon[3926] = 0x01, icon[3927] = 0x02, icon[3928] = 0x03;  // 32x32 image, top-left
  icon[4146] = 0x40;                                        // 32x32 image, top row, column 1
  const auto p = decodePicture(icon);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 32);
  EXPECT_EQ(p->height, 32);
  EXPECT_EQ(at(*p, 0, 0), 0xFF030201u);
  EXPECT_EQ(transparentCells(*p), (Cells{{1, 0}}));
}

TEST(DecodeIcon, ImageChoice) {
  struct Dir {
    std::uint8_t widthByte, colourCount;
    int size;
  };
  const struct {
    const char* name;
    std::vector<Dir> dir;
    std::size_t chosen;
  } cases[] = {
      {"16, 32, 48 all with 16 colours: the 32", {{16, 16, 16}, {32, 16, 32}, {48, 16, 48}}, 1},
      {"no 32 with 16 colours: the last", {{16, 0, 16}, {32, 0, 32}, {48, 0, 48}}, 2},
      {"a 32 with 15 colours does not qualify", {{32, 15, 32}, {16, 0, 16}}, 1},
      {"256 colours written as 0 do not qualify", {{32, 0, 32}, {16, 0, 16}}, 1},
      {"the first of two qualifying entries", {{16, 16, 16}, {32, 255, 32}, {32, 16, 32}}, 1},
      {"the width byte chooses, the bitmap header sizes", {{32, 16, 48}, {32, 0, 32}}, 0},
      {"a single image", {{48, 0, 48}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < c.dir.size(); ++i) {
      const Dir& d = c.dir[i];
      entries.push_back({d.widthByte, d.widthByte, d.colourCount,
                         solidIconImage(d.size, 0x101010 * static_cast<std::uint32_t>(i + 1))});
    }
    const auto p = decodePicture(iconFile(entries));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, c.dir[c.chosen].size);
    EXPECT_EQ(p->height, c.dir[c.chosen].size);
    EXPECT_EQ(at(*p, 0, 0), 0xFF000000u | (0x101010u * static_cast<std::uint32_t>(c.chosen + 1)));
  }
}

TEST(DecodeIcon, EightBitImageKeepsTheColourUnderItsMask) {
  // 3x2: colour rows and mask rows bottom-up, each padded to four bytes.
  const Bytes colours = {2, 1, 0, 0xEE, /*top*/ 0, 1, 2, 0xEE};
  const Bytes mask = {0b00100000, 0, 0, 0, /*top*/ 0b10000000, 0xFF, 0xFF, 0xFF};
  const Bytes table = colourTable({0xFF0000, 0x00FF00, 0x0000FF});
  InfoHeader h;
  h.width = 3;
  h.height = 4;
  h.bpp = 8;
  h.coloursUsed = 3;
  Bytes image = infoHeader(h);
  append(image, table);
  append(image, colours);
  append(image, mask);
  const auto p = decodePicture(iconFile({{3, 2, 0, image}}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(at(*p, 0, 0), 0xFFFF0000u);  // transparent, colour kept for the exclusive or
  EXPECT_EQ(at(*p, 1, 0), 0xFF00FF00u);
  EXPECT_EQ(at(*p, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(at(*p, 0, 1), 0xFF0000FFu);
  EXPECT_EQ(at(*p, 2, 1), 0xFFFF0000u);
  EXPECT_EQ(transparentCells(*p), (Cells{{0, 0}, {2, 1}}));
}

TEST(DecodeIcon, OneFourAndThirtyTwoBitImages) {
  {  // 1 bit, 9 wide: bits and mask both spill into a second byte
    const Bytes colours = {0b10101010, 0b10000000, 0, 0};
    const Bytes mask = {0b00000001, 0b10000000, 0, 0};
    const auto p = decodePicture(iconFile({{9, 1, 2, iconImage(9, 1, 1, colourTable({0, 0xFFFFFF}), colours, mask)}}));
    ASSERT_TRUE(p);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(at(*p, x, 0), x % 2 == 0 ? kWhite : kBlack) << x;
    EXPECT_EQ(transparentCells(*p), (Cells{{7, 0}, {8, 0}}));
  }
  {  // 4 bits: the implied 16-entry table must be there
    Bytes table;
    for (std::uint32_t i = 0; i < 16; ++i) append(table, colourTable({i * 0x10}));
    const auto p = decodePicture(iconFile({{2, 1, 16, iconImage(2, 1, 4, table, {0x2F, 0, 0, 0}, {0, 0, 0, 0})}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(at(*p, 0, 0), 0xFF000020u);
    EXPECT_EQ(at(*p, 1, 0), 0xFF0000F0u);
    table.erase(table.end() - 4, table.end());  // one entry short
    EXPECT_FALSE(decodePicture(iconFile({{2, 1, 16, iconImage(2, 1, 4, table, {0x2F, 0, 0, 0}, {0, 0, 0, 0})}})));
  }
  {  // 32 bits: alpha is ignored, the AND mask decides
    const Bytes colours = {0x01, 0x02, 0x03, 0x00, 0x04, 0x05, 0x06, 0xFF};
    const auto p = decodePicture(iconFile({{2, 1, 0, iconImage(2, 1, 32, {}, colours, {0b01000000, 0, 0, 0})}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(at(*p, 0, 0), 0xFF030201u);
    EXPECT_EQ(at(*p, 1, 0), 0xFF060504u);
    EXPECT_EQ(transparentCells(*p), (Cells{{1, 0}}));
  }
}

TEST(DecodeIcon, CursorLikeIconAndSizeFromTheBitmapHeader) {
  // Directory says 16x32; the bitmap header says 16 wide, 32 rows with mask.
  const auto p = decodePicture(iconFile({{16, 32, 0, solidIconImage(16, 0x0000FF)}}, 2));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, Picture::Kind::Icon);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 16);
  EXPECT_EQ(at(*p, 5, 5), 0xFF0000FFu);
}

TEST(DecodeIcon, EveryShorterPrefixIsNoPicture) {
  const Bytes file = iconFile({{2, 2, 0, solidIconImage(2, 0x123456)}});
  ASSERT_TRUE(decodePicture(file));
  for (std::size_t n = 0; n < file.size(); ++n) {
    const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(decodePicture(prefix)) << "cut at " << n;
  }
}

TEST(DecodeIcon, NoPicture) {
  const Bytes good = iconFile({{2, 2, 0, solidIconImage(2, 0x123456)}});
  auto changed = [&](std::size_t at, std::uint32_t value, int width = 4) {
    Bytes b = good;
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
  };
  constexpr std::size_t kSize = 6 + 8, kOffset = 6 + 12, kDib = 22;
  Bytes png = good;
  const std::uint8_t sig[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::copy(std::begin(sig), std::end(sig), png.begin() + kDib);
  // Entries 1 to 4 fall on the image bytes (none qualifies); entry 5, the
  // last, lies past the end of the file.
  Bytes bigger = good;
  bigger[4] = 6;

  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"reserved 1", changed(0, 1, 2)},
      {"type 0", changed(2, 0, 2)},
      {"type 3", changed(2, 3, 2)},
      {"no images", changed(4, 0, 2)},
      {"4 entries claimed, none present", {0, 0, 1, 0, 4, 0}},
      {"last entry not in the file", bigger},
      {"image offset past the end", changed(kOffset, 5000)},
      {"image size past the end", changed(kSize, static_cast<std::uint32_t>(good.size()))},
      {"offset + size wraps at 32 bits", changed(kOffset, 0xFFFFFFF0u)},
      {"stated size smaller than a bitmap header", changed(kSize, 8)},
      {"stated size one byte short of the mask", changed(kSize, static_cast<std::uint32_t>(good.size() - kDib - 1))},
      {"PNG image", png},
      {"bitmap header size 12", changed(kDib, 12)},
      {"width 0", changed(kDib + 4, 0)},
      {"height field 1", changed(kDib + 8, 1)},
      {"negative height", changed(kDib + 8, static_cast<std::uint32_t>(-4))},
      {"planes 0", changed(kDib + 12, 0, 2)},
      {"depth 16", changed(kDib + 14, 16, 2)},
      {"depth 0", changed(kDib + 14, 0, 2)},
      {"compression 1", changed(kDib + 16, 1)},
      {"colour table past the image", changed(kDib + 32, 0x40000000u)},
      {"2 x 32767 in a small image", changed(kDib + 8, 65535)},
  };
  for (const auto& c : cases) EXPECT_FALSE(decodePicture(c.bytes)) << c.name;

  Bytes bomb = changed(kDib + 4, 65535);  // 65535 x 32767: beyond the pixel cap
  set32(bomb, kDib + 8, 65535);
  EXPECT_FALSE(decodePicture(bomb));
}

}  // namespace
}  // namespace tavo
