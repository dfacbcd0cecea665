// Patching one pixel of a working icon: which bytes and which mask bit change.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "icon/patch.h"
#include "icon/templates.h"

namespace tavo {
namespace {

struct Step {
  bool transparent;
  Colour colour;
};

struct ByteIs {
  std::size_t at;
  std::uint8_t value;
};

TEST(PatchIconBytes, Cases) {
  struct Case {
    const char* name;
    int n;
    int column, row;
    std::vector<Step> steps;
    std::vector<ByteIs> expected;  // every other byte must stay as in the template
  };
  const Case cases[] = {
      {"16 transparent bottom-left", 16, 1, 16, {{true, 0x00123456}},
       {{62, 0}, {63, 0}, {64, 0}, {830, 0x80}}},
      {"16 transparent top-right: bit 8 of the word, padding untouched", 16, 16, 1, {{true, 0}},
       {{827, 0}, {828, 0}, {829, 0}, {890, 0}, {891, 0x01}, {892, 0}, {893, 0}}},
      {"16 transparent column 9 is bit 7 of the second byte", 16, 9, 1, {{true, 0}}, {{890, 0}, {891, 0x80}}},
      {"32 transparent column 25 row 32: bit 31 of the word", 32, 25, 32, {{true, 0}}, {{3137, 0x80}}},
      {"32 transparent column 32 row 1", 32, 32, 1, {{true, 0}},
       {{3131, 0}, {3132, 0}, {3133, 0}, {3261, 0x01}}},
      {"32 transparent column 17 is bit 7 of the third byte", 32, 17, 1, {{true, 0}}, {{3260, 0x80}}},
      {"transparent twice keeps the bit set", 16, 3, 5, {{true, 0}, {true, 0}},
       {{62 + 11 * 48 + 6, 0}, {830 + 11 * 4, 0x20}}},
      {"transparent then palette: colour and opaque", 16, 3, 5, {{true, 0}, {false, 0x00C0FFEE}},
       {{62 + 11 * 48 + 6, 0xC0}, {62 + 11 * 48 + 7, 0xFF}, {62 + 11 * 48 + 8, 0xEE}, {830 + 11 * 4, 0}}},
      {"palette red is stored blue, green, red", 16, 1, 16, {{false, 0x000000FF}},
       {{62, 0x00}, {63, 0x00}, {64, 0xFF}, {830, 0}}},
      {"palette ignores the high byte", 32, 2, 32, {{false, 0xFF102030}},
       {{65, 0x10}, {66, 0x20}, {67, 0x30}}},
      {"transparent ignores the colour", 32, 2, 32, {{false, 0x00102030}, {true, 0x00FFFFFF}},
       {{65, 0}, {66, 0}, {67, 0}, {3134, 0x40}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes blank = c.n == 16 ? template16() : template32();
    Bytes icon = blank;
    for (const Step& s : c.steps) patchIconBytes(icon, c.n, c.column, c.row, s.transparent, s.colour);
    Bytes expected = blank;
    for (const ByteIs& b : c.expected) expected.at(b.at) = b.value;
    ASSERT_EQ(icon.size(), blank.size());
    for (std::size_t i = 0; i < icon.size(); ++i) EXPECT_EQ(icon[i], expected[i]) << "byte " << i;
  }
}

TEST(PatchIconBytes, TransparentThenPaletteKeepsTheRowsOtherMaskBits) {
  Bytes icon = template32();
  for (int column = 1; column <= 32; ++column) patchIconBytes(icon, 32, column, 7, true, 0);
  patchIconBytes(icon, 32, 20, 7, false, 0x00ABCDEF);
  const std::size_t m = 3134 + (32 - 7) * 4;
  EXPECT_EQ(icon[m], 0xFF);
  EXPECT_EQ(icon[m + 1], 0xFF);
  EXPECT_EQ(icon[m + 2], 0xEF) << "column 20 is bit 4 of the third byte";
  EXPECT_EQ(icon[m + 3], 0xFF);
}

// Every cell of both sizes, on icons full of noise so that a stray read or
// write of a neighbour shows: exactly the pixel's 3 bytes and its one mask
// bit (byte c div 8 of the stored row, bit 7 - c mod 8) may change, the
// 16x16 padding bytes included in "must not change".
TEST(PatchIconBytes, EveryCellTouchesOnlyItsPixelAndItsMaskBit) {
  std::mt19937 random(20261211);
  for (const int n : {16, 32}) {
    Bytes noisy = n == 16 ? template16() : template32();
    for (std::size_t i = layout::kPixelsAt; i < noisy.size(); ++i) noisy[i] = static_cast<std::uint8_t>(random());
    const std::size_t maskAt = n == 16 ? layout::kMask16At : layout::kMask32At;
    for (int column = 1; column <= n; ++column) {
      for (int row = 1; row <= n; ++row) {
        for (const bool transparent : {true, false}) {
          const Colour colour = random();
          Bytes icon = noisy;
          patchIconBytes(icon, n, column, row, transparent, colour);

          const int c = column - 1, r = row - 1;
          const std::size_t p = 62 + static_cast<std::size_t>(n - 1 - r) * 3 * n + 3 * c;
          const std::size_t m = maskAt + static_cast<std::size_t>(n - 1 - r) * 4 + c / 8;
          const std::uint8_t bit = static_cast<std::uint8_t>(1u << (7 - c % 8));
          Bytes expected = noisy;
          expected[p] = transparent ? 0 : blueOf(colour);
          expected[p + 1] = transparent ? 0 : greenOf(colour);
          expected[p + 2] = transparent ? 0 : redOf(colour);
          expected[m] = transparent ? (expected[m] | bit) : (expected[m] & ~bit);

          int changedBytes = 0;
          for (std::size_t i = 0; i < icon.size(); ++i) changedBytes += icon[i] != noisy[i];
          ASSERT_LE(changedBytes, 4) << n << " column " << column << " row " << row;
          ASSERT_EQ(icon, expected) << n << " column " << column << " row " << row
                                    << (transparent ? " transparent" : " palette");
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavo
