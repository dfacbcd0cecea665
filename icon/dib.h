// The pixel rows shared by bitmap files and icon images: a device-independent
// bitmap of 1, 4, 8 (through a colour table), 24 or 32 bits per pixel, rows
// padded to 32 bits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "icon/picture.h"

namespace tavo::dib {

// At most 256 colours; an index beyond the table reads black rather than
// whatever follows it in the file.
struct Palette {
  std::array<Pixel, 256> colours{};
  std::size_t count = 0;
  Pixel at(unsigned index) const { return index < count ? colours[index] : 0xFF000000u; }
};

// Reads min(entries, 256) entries of entrySize bytes (3: blue, green, red;
// 4: the same and an unused byte). False if they do not all lie in `bytes`.
bool readPalette(std::span<const std::uint8_t> bytes, std::uint64_t entries, unsigned entrySize, Palette& out);

constexpr bool supportedDepth(unsigned bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

// Stored bytes of one row (padded to 32 bits), and the bytes that hold pixels.
constexpr std::uint64_t stride(std::uint64_t width, unsigned bpp) { return (width * bpp + 31) / 32 * 4; }
constexpr std::uint64_t rowBytes(std::uint64_t width, unsigned bpp) { return (width * bpp + 7) / 8; }

// Bytes the rows of a width x height image need, the last row without its
// padding (which carries no pixels). Width and height already capped.
constexpr std::uint64_t rowsExtent(std::uint64_t width, std::uint64_t height, unsigned bpp) {
  return stride(width, bpp) * (height - 1) + rowBytes(width, bpp);
}

// Decodes the rows at the start of `rows` into picture.pixels (pixelWidth x
// pixelHeight, top-down). The stored rows are bottom-up unless topDown.
// False, with nothing written, if `rows` is shorter than rowsExtent.
bool decodeRows(std::span<const std::uint8_t> rows, unsigned bpp, bool topDown, const Palette& palette,
                Picture& picture);

// The 1-bit AND mask of an icon image (bottom-up rows padded to 32 bits,
// leftmost pixel in bit 7): 1 = transparent into picture.mask. False if
// `rows` is too short.
bool decodeMask(std::span<const std::uint8_t> rows, Picture& picture);

}  // namespace tavo::dib
