#include "icon/templates.h"

#include <cstdint>

namespace tavo {

namespace {

void put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Planes 0 and bit count 0 in the entry are deliberate: common writers do the
// same and readers take the depth from the bitmap header. Keep them.
void putEntry(Bytes& b, std::size_t at, int n, std::uint32_t imageSize, std::uint32_t imageOffset) {
  b[at] = static_cast<std::uint8_t>(n);
  b[at + 1] = static_cast<std::uint8_t>(n);
  put32(b, at + 8, imageSize);
  put32(b, at + 12, imageOffset);
}

void putInfoHeader(Bytes& b, std::size_t at, int n) {
  put32(b, at, 40);
  put32(b, at + 4, static_cast<std::uint32_t>(n));
  put32(b, at + 8, static_cast<std::uint32_t>(2 * n));  // pixel rows and mask rows
  put16(b, at + 12, 1);
  put16(b, at + 14, 24);
  put32(b, at + 20, static_cast<std::uint32_t>(n * n * 3 + n * 4));
}

void putDirectory(Bytes& b, std::size_t at, std::uint16_t count) {
  put16(b, at + 2, 1);
  put16(b, at + 4, count);
}

Bytes assemble() {
  using namespace layout;
  Bytes all(kSize16 + kSize32 + kSizeBoth, 0);
  // template16 at 0
  putDirectory(all, 0, 1);
  putEntry(all, 6, 16, kImage16, 22);
  putInfoHeader(all, 22, 16);
  // template32 at 894
  const std::size_t t32 = kSize16;
  putDirectory(all, t32, 1);
  putEntry(all, t32 + 6, 32, kImage32, 22);
  putInfoHeader(all, t32 + 22, 32);
  // templateBoth at 4156
  const std::size_t tb = kSize16 + kSize32;
  putDirectory(all, tb, 2);
  putEntry(all, tb + 6, 16, kImage16, kBothImage16At);
  putEntry(all, tb + 22, 32, kImage32, kBothImage32At);
  putInfoHeader(all, tb + kBothImage16At, 16);
  putInfoHeader(all, tb + kBothImage32At, 32);
  return all;
}

Bytes slice(std::size_t from, std::size_t length) {
  const Bytes& all = iconTemplates();
  return Bytes(all.begin() + static_cast<std::ptrdiff_t>(from),
               all.begin() + static_cast<std::ptrdiff_t>(from + length));
}

}  // namespace

const Bytes& iconTemplates() {
  static const Bytes all = assemble();
  return all;
}

Bytes template16() { return slice(0, layout::kSize16); }
Bytes template32() { return slice(layout::kSize16, layout::kSize32); }
Bytes templateBoth() { return slice(layout::kSize16 + layout::kSize32, layout::kSizeBoth); }

const Bytes transparentPixel{0x00, 0x00, 0x00};

}  // namespace tavo
