// The blank icon images every icon is patched from: their bytes, the fixed
// offsets the patching code relies on, and that they are real icon files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "icon/templates.h"

namespace tavo {
namespace {

unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t u32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | (static_cast<std::uint32_t>(b.at(at + 1)) << 8) |
         (static_cast<std::uint32_t>(b.at(at + 2)) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}

Bytes range(const Bytes& b, std::size_t from, std::size_t length) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
               b.begin() + static_cast<std::ptrdiff_t>(from + length));
}

// Where one image of an icon file lives, read from the file's own directory
// entry and bitmap header, independently of the constants in templates.h.
struct ImageParts {
  int n = 0;
  std::size_t header = 0, pixels = 0, mask = 0, end = 0;
};

ImageParts partsOf(const Bytes& icon, int entry) {
  const std::size_t e = 6 + 16 * static_cast<std::size_t>(entry);
  ImageParts p;
  p.n = icon.at(e);
  p.header = u32(icon, e + 12);
  p.pixels = p.header + u32(icon, p.header);
  p.mask = p.pixels + static_cast<std::size_t>(p.n) * p.n * 3;
  p.end = p.header + u32(icon, e + 8);
  return p;
}

// Blue byte of the pixel at column c, row r (0-based, r from the top).
std::size_t pixelAt(const ImageParts& p, int c, int r) {
  return p.pixels + static_cast<std::size_t>(p.n - 1 - r) * 3 * p.n + 3 * static_cast<std::size_t>(c);
}
std::size_t maskByteAt(const ImageParts& p, int c, int r) {
  return p.mask + static_cast<std::size_t>(p.n - 1 - r) * 4 + static_cast<std::size_t>(c / 8);
}
int maskBitOf(int c) { return 7 - c % 8; }

TEST(Templates, ConstantIsTheThreeImagesInOrder) {
  const Bytes& all = iconTemplates();
  ASSERT_EQ(all.size(), 8306u);
  EXPECT_EQ(template16(), range(all, 0, 894));
  EXPECT_EQ(template32(), range(all, 894, 3262));
  EXPECT_EQ(templateBoth(), range(all, 4156, 4150));
  EXPECT_EQ(template16().size(), layout::kSize16);
  EXPECT_EQ(template32().size(), layout::kSize32);
  EXPECT_EQ(templateBoth().size(), layout::kSizeBoth);
}

TEST(Templates, SlicesAreCopiesThatLeaveTheConstantAlone) {
  Bytes t = template16();
  t[62] = 0xAB;
  t[0] = 0x77;
  EXPECT_EQ(iconTemplates()[62], 0);
  EXPECT_EQ(iconTemplates()[0], 0);
  EXPECT_EQ(template16()[62], 0);
}

TEST(Templates, DirectoryAndEntries) {
  struct Entry {
    const char* name;
    Bytes icon;
    int entry;
    int n;
    std::uint32_t size, offset;
  };
  const Entry rows[] = {
      {"template16", template16(), 0, 16, 872, 22},
      {"template32", template32(), 0, 32, 3240, 22},
      {"templateBoth 16x16", templateBoth(), 0, 16, 872, 38},
      {"templateBoth 32x32", templateBoth(), 1, 32, 3240, 910},
  };
  for (const Entry& row : rows) {
    SCOPED_TRACE(row.name);
    const Bytes& b = row.icon;
    EXPECT_EQ(u16(b, 0), 0u) << "reserved";
    EXPECT_EQ(u16(b, 2), 1u) << "resource type";
    EXPECT_EQ(u16(b, 4), b.size() == 4150 ? 2u : 1u) << "image count";
    const std::size_t e = 6 + 16 * static_cast<std::size_t>(row.entry);
    EXPECT_EQ(b[e], row.n) << "width";
    EXPECT_EQ(b[e + 1], row.n) << "height";
    EXPECT_EQ(b[e + 2], 0) << "colour count";
    EXPECT_EQ(b[e + 3], 0) << "reserved";
    // Deliberately 0, not 1 and 24: readers take the depth from the bitmap header.
    EXPECT_EQ(u16(b, e + 4), 0u) << "planes";
    EXPECT_EQ(u16(b, e + 6), 0u) << "bit count";
    EXPECT_EQ(u32(b, e + 8), row.size) << "image size";
    EXPECT_EQ(u32(b, e + 12), row.offset) << "image offset";
  }
}

TEST(Templates, BitmapInfoHeaders) {
  struct Header {
    const char* name;
    Bytes icon;
    std::size_t at;
    int n;
  };
  const Header rows[] = {
      {"template16", template16(), 22, 16},
      {"template32", template32(), 22, 32},
      {"templateBoth 16x16", templateBoth(), 38, 16},
      {"templateBoth 32x32", templateBoth(), 910, 32},
  };
  for (const Header& row : rows) {
    SCOPED_TRACE(row.name);
    const Bytes& b = row.icon;
    const std::uint32_t n = static_cast<std::uint32_t>(row.n);
    EXPECT_EQ(u32(b, row.at), 40u);
    EXPECT_EQ(u32(b, row.at + 4), n);
    EXPECT_EQ(u32(b, row.at + 8), 2 * n) << "pixel rows and mask rows";
    EXPECT_EQ(u16(b, row.at + 12), 1u) << "planes";
    EXPECT_EQ(u16(b, row.at + 14), 24u) << "bits per pixel";
    EXPECT_EQ(u32(b, row.at + 16), 0u) << "compression";
    EXPECT_EQ(u32(b, row.at + 20), n == 16 ? 832u : 3200u) << "pixel and mask bytes";
    for (std::size_t f = 24; f < 40; f += 4) EXPECT_EQ(u32(b, row.at + f), 0u) << "field at " << f;
  }
}

// The offsets the patching, conversion and commit code use without parsing,
// checked against each file's own directory and header.
TEST(Templates, PixelAndMaskOffsets) {
  struct Case {
    const char* name;
    Bytes icon;
    int entry;
    int column, row;  // 0-based, row from the top
    std::size_t blue;
    std::size_t maskByte;
    int maskBit;
  };
  const Case cases[] = {
      {"16 top-left", template16(), 0, 0, 0, 782, 890, 7},
      {"16 bottom-left", template16(), 0, 0, 15, 62, 830, 7},
      {"16 column 8 top row", template16(), 0, 8, 0, 806, 891, 7},
      {"16 top-right", template16(), 0, 15, 0, 827, 891, 0},
      {"32 bottom-right", template32(), 0, 31, 31, 155, 3137, 0},
      {"32 top-left", template32(), 0, 0, 0, 3038, 3258, 7},
      {"32 column 24 bottom row", template32(), 0, 24, 31, 134, 3137, 7},
      {"both 16 top-left", templateBoth(), 0, 0, 0, 798, 906, 7},
      {"both 16 bottom-left", templateBoth(), 0, 0, 15, 78, 846, 7},
      {"both 32 top-left", templateBoth(), 1, 0, 0, 3926, 4146, 7},
      {"both 32 bottom-left", templateBoth(), 1, 0, 31, 950, 4022, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageParts p = partsOf(c.icon, c.entry);
    EXPECT_EQ(pixelAt(p, c.column, c.row), c.blue);
    EXPECT_EQ(maskByteAt(p, c.column, c.row), c.maskByte);
    EXPECT_EQ(maskBitOf(c.column), c.maskBit);
  }
}

TEST(Templates, ImagePartsMatchTheLayoutConstants) {
  struct Case {
    const char* name;
    Bytes icon;
    int entry;
    std::size_t header, pixels, mask, end;
  };
  const Case cases[] = {
      {"template16", template16(), 0, 22, layout::kPixelsAt, layout::kMask16At, 894},
      {"template32", template32(), 0, 22, layout::kPixelsAt, layout::kMask32At, 3262},
      {"templateBoth 16x16", templateBoth(), 0, layout::kBothImage16At, layout::kBothPixels16At, 846, 910},
      {"templateBoth 32x32", templateBoth(), 1, layout::kBothImage32At, layout::kBothPixels32At, 4022, 4150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageParts p = partsOf(c.icon, c.entry);
    EXPECT_EQ(p.header, c.header);
    EXPECT_EQ(p.pixels, c.pixels);
    EXPECT_EQ(p.mask, c.mask);
    EXPECT_EQ(p.end, c.end);
    EXPECT_EQ(p.mask - p.pixels, p.n == 16 ? layout::kPixels16 : layout::kPixels32);
    EXPECT_EQ(p.end - p.mask, static_cast<std::size_t>(p.n) * 4) << "4-byte mask rows";
  }
  EXPECT_EQ(layout::kMask16At, 62u + 768u);
  EXPECT_EQ(layout::kMask32At, 62u + 3072u);
}

// A single-image icon becomes the matching half of the two-image icon by
// copying its image bytes, which the commit of both sizes relies on.
TEST(Templates, SingleImagesAreTheHalvesOfTheTwoImageTemplate) {
  const Bytes both = templateBoth();
  EXPECT_EQ(range(template16(), 22, layout::kImage16), range(both, 38, 872));
  EXPECT_EQ(range(template32(), 22, layout::kImage32), range(both, 910, 3240));
  EXPECT_EQ(both[6], 16) << "the 16x16 image is listed first";
  EXPECT_LT(u32(both, 6 + 12), u32(both, 22 + 12)) << "and stored first";
}

TEST(Templates, EveryPixelAndMaskByteIsZero) {
  struct Case {
    const char* name;
    Bytes icon;
    int entry;
  };
  const Case cases[] = {{"template16", template16(), 0},
                        {"template32", template32(), 0},
                        {"templateBoth 16x16", templateBoth(), 0},
                        {"templateBoth 32x32", templateBoth(), 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageParts p = partsOf(c.icon, c.entry);
    const auto first = c.icon.begin() + static_cast<std::ptrdiff_t>(p.pixels);
    const auto last = c.icon.begin() + static_cast<std::ptrdiff_t>(p.end);
    EXPECT_TRUE(std::all_of(first, last, [](std::uint8_t v) { return v == 0; }));
  }
}

TEST(Templates, TransparentPixelIsBlack) { EXPECT_EQ(transparentPixel, (Bytes{0, 0, 0})); }

// Checks an icon file the way a reader does: directory, every entry's image
// inside the file and not overlapping, a bitmap header consistent with the
// image's stated size.
::testing::AssertionResult isValidIcon(const Bytes& b) {
  if (b.size() < 6 || u16(b, 0) != 0 || u16(b, 2) != 1 || u16(b, 4) == 0)
    return ::testing::AssertionFailure() << "bad directory";
  const unsigned count = u16(b, 4);
  std::size_t expectedNext = 6 + 16 * count;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t e = 6 + 16 * i;
    if (e + 16 > b.size()) return ::testing::AssertionFailure() << "entry " << i << " cut";
    const std::size_t size = u32(b, e + 8), offset = u32(b, e + 12);
    if (offset != expectedNext || offset + size > b.size())
      return ::testing::AssertionFailure() << "image " << i << " at " << offset << " size " << size;
    const std::uint32_t w = u32(b, offset + 4), h = u32(b, offset + 8);
    if (u32(b, offset) != 40 || w != b[e] || h != 2u * b[e + 1] || u16(b, offset + 12) != 1 ||
        u16(b, offset + 14) != 24 || u32(b, offset + 16) != 0)
      return ::testing::AssertionFailure() << "image " << i << " header";
    const std::size_t rows = w * 3 * (h / 2) + ((w + 31) / 32 * 4) * (h / 2);
    if (40 + rows != size || u32(b, offset + 20) != rows)
      return ::testing::AssertionFailure() << "image " << i << " size " << size << " for " << w;
    expectedNext = offset + size;
  }
  if (expectedNext != b.size()) return ::testing::AssertionFailure() << "trailing bytes";
  return ::testing::AssertionSuccess();
}

TEST(Templates, EveryTemplateIsAValidIconFile) {
  EXPECT_TRUE(isValidIcon(template16()));
  EXPECT_TRUE(isValidIcon(template32()));
  EXPECT_TRUE(isValidIcon(templateBoth()));
}

// An unpatched template16 written out is an 894-byte 16x16 icon that an
// independent reader (ImageMagick) opens as an opaque black square.
TEST(Templates, Template16WrittenToAFileIsReadByImageMagick) {
  const auto path = std::filesystem::temp_directory_path() / ("tavo_template16_" + std::to_string(::getpid()) + ".ico");
  {
    const Bytes t = template16();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(t.data()), static_cast<std::streamsize>(t.size()));
  }
  ASSERT_EQ(std::filesystem::file_size(path), 894u);
  if (std::system("command -v identify >/dev/null 2>&1") != 0) {
    std::filesystem::remove(path);
    GTEST_SKIP() << "ImageMagick's identify is not installed";
  }
  const std::string cmd = "identify -format '%w %h %[fx:maxima.r] %[fx:maxima.g] %[fx:maxima.b] %[opaque]' '" +
                          path.string() + "' 2>&1";
  std::string output;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    ::pclose(p);
  }
  std::filesystem::remove(path);
  // Versions differ in how they spell the flag.
  std::transform(output.begin(), output.end(), output.begin(), [](unsigned char ch) { return std::tolower(ch); });
  EXPECT_EQ(output, "16 16 0 0 0 true");
}

}  // namespace
}  // namespace tavo
