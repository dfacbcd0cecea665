// Icon and cursor files: one image of the file, as an icon with its mask.
//
// The image is chosen by our own rule, not the first one as other readers
// (Qt's among them) would: the first directory entry 32 pixels wide with a
// colour count of 16 or more, else the last entry. It is read at its stated
// offset and with its stated size only; it must be a BITMAPINFOHEADER (or
// longer) bitmap, uncompressed, of 1, 4, 8, 24 or 32 bits per pixel, followed
// by its 1-bit AND mask. The natural size is the bitmap header's width and
// half its height (the height counts the mask rows too); the directory's own
// width and height bytes play no part beyond the choice.
//
// No picture: a directory entry before the chosen one, or the chosen image,
// not inside the file; PNG-compressed images (no bitmap header); any other
// compression or depth; planes other than 1; a top-down (negative) height;
// colour rows or mask rows that the stated image size does not cover.
//
// A 32-bit image is drawn through its AND mask like every other depth; its
// fourth byte is ignored, as for bitmap files.
#include <algorithm>
#include <iterator>

#include "icon/byte_reader.h"
#include "icon/decoders.h"
#include "icon/dib.h"

namespace tavo::decoders {

namespace {

constexpr std::uint64_t kDirectory = 6;
constexpr std::uint64_t kEntry = 16;
constexpr std::uint64_t kInfoHeader = 40;

std::optional<Picture> decodeImage(std::span<const std::uint8_t> image) {
  const ByteReader r(image);
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (r.has(0, sizeof kPng) && std::equal(std::begin(kPng), std::end(kPng), image.begin())) return std::nullopt;

  const auto headerSize = r.u32(0);
  if (!headerSize || *headerSize < kInfoHeader || !r.has(0, *headerSize)) return std::nullopt;
  const std::int64_t width = *r.i32(4);
  const std::int64_t heightField = *r.i32(8);
  const unsigned planes = *r.u16(12);
  const unsigned bpp = *r.u16(14);
  const std::uint32_t compression = *r.u32(16);
  const std::uint32_t coloursUsed = *r.u32(32);
  if (planes != 1 || compression != 0 || !dib::supportedDepth(bpp)) return std::nullopt;
  const std::int64_t height = heightField / 2;  // negative (top-down) is refused here too
  if (!picturePixels(width, height)) return std::nullopt;

  // A packed bitmap: the colour table, then the colour rows, then the mask.
  std::uint64_t entries = coloursUsed;
  if (entries == 0 && bpp <= 8) entries = std::uint64_t{1} << bpp;
  dib::Palette palette;
  if (!dib::readPalette(image.subspan(*headerSize), entries, 4, palette)) return std::nullopt;
  const std::uint64_t colourAt = *headerSize + entries * 4;  // readPalette checked it fits
  const std::uint64_t maskAt = colourAt + dib::stride(width, bpp) * height;
  if (!r.has(maskAt, dib::stride(width, 1) * height)) return std::nullopt;  // every mask row in full

  auto picture = allocatePicture(Picture::Kind::Icon, width, height);
  if (!picture) return std::nullopt;
  if (!dib::decodeRows(image.subspan(colourAt), bpp, false, palette, *picture)) return std::nullopt;
  if (!dib::decodeMask(image.subspan(maskAt), *picture)) return std::nullopt;
  return picture;
}

}  // namespace

std::optional<Picture> decodeIcon(std::span<const std::uint8_t> bytes) {
  const ByteReader r(bytes);
  const auto reserved = r.u16(0), type = r.u16(2), count = r.u16(4);
  if (reserved != 0 || (type != 1 && type != 2) || !count || *count < 1) return std::nullopt;

  std::uint64_t chosen = *count - 1;
  for (std::uint64_t i = 0; i < *count; ++i) {
    const std::uint64_t at = kDirectory + i * kEntry;
    if (!r.has(at, kEntry)) return std::nullopt;
    if (*r.u8(at) == 32 && *r.u8(at + 2) >= 16) {
      chosen = i;
      break;
    }
  }
  const std::uint64_t entry = kDirectory + chosen * kEntry;
  const auto image = r.slice(*r.u32(entry + 12), *r.u32(entry + 8));
  if (!image) return std::nullopt;
  return decodeImage(*image);
}

}  // namespace tavo::decoders
