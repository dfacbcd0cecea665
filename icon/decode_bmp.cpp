// Windows bitmap files: the uncompressed variants only.
//
// Decoded: compression 0 at 1, 4 and 8 bits per pixel through the colour
// table, and at 24 and 32 (the fourth byte of a 32-bit pixel is ignored);
// rows bottom-up, or top-down when the height is negative; info headers of
// 40 bytes and the longer 52, 56, 108 (V4) and 124 (V5), and the OS/2 ones of
// 12 bytes (16-bit sizes, 3-byte colour entries), 16 and 64 bytes.
//
// No picture: any compression, BITFIELDS included (masks would be a second
// colour model for a handful of files; Windows writes plain 32-bit rows);
// other depths; other header sizes, whose layout beyond 40 bytes is unknown;
// planes other than 1; a width <= 0 or height 0; more than kMaxPicturePixels;
// pixel data that starts inside the headers; a colour table or pixel rows
// that do not lie inside the file.
//
// Lenient on purpose, as common readers are: bfSize and biSizeImage are
// ignored (writers get them wrong, and the dimensions give the real extent);
// a colour index beyond the table reads black; a table of more than 256
// entries uses its first 256. The rows themselves must all be there, the
// last one's padding included.
#include <algorithm>

#include "icon/byte_reader.h"
#include "icon/decoders.h"
#include "icon/dib.h"

namespace tavo::decoders {

namespace {

constexpr std::uint64_t kFileHeader = 14;

bool knownHeaderSize(std::uint32_t size) {
  switch (size) {
    case 12: case 16: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
  }
}

}  // namespace

std::optional<Picture> decodeBmp(std::span<const std::uint8_t> bytes) {
  const ByteReader r(bytes);
  if (r.u8(0) != 'B' || r.u8(1) != 'M') return std::nullopt;
  const auto pixelsAt = r.u32(10);
  const auto headerSize = r.u32(kFileHeader);
  if (!pixelsAt || !headerSize || !knownHeaderSize(*headerSize)) return std::nullopt;
  if (!r.has(kFileHeader, *headerSize)) return std::nullopt;  // header cut short

  const std::uint64_t h0 = kFileHeader;
  const bool core = *headerSize == 12;  // OS/2 1.x
  std::int64_t width, height;
  unsigned planes, bpp;
  std::uint32_t compression = 0, coloursUsed = 0;
  if (core) {
    width = *r.u16(h0 + 4);
    height = *r.u16(h0 + 6);
    planes = *r.u16(h0 + 8);
    bpp = *r.u16(h0 + 10);
  } else {
    width = *r.i32(h0 + 4);
    height = *r.i32(h0 + 8);
    planes = *r.u16(h0 + 12);
    bpp = *r.u16(h0 + 14);
    if (*headerSize >= 40) {  // the 16-byte OS/2 header stops before these
      compression = *r.u32(h0 + 16);
      coloursUsed = *r.u32(h0 + 32);
    }
  }
  if (planes != 1 || compression != 0 || !dib::supportedDepth(bpp)) return std::nullopt;
  const bool topDown = height < 0;
  if (topDown) height = -height;  // 64-bit: INT32_MIN negates safely
  if (!picturePixels(width, height)) return std::nullopt;

  const std::uint64_t tableAt = kFileHeader + *headerSize;
  if (*pixelsAt < tableAt) return std::nullopt;

  dib::Palette palette;
  if (bpp <= 8) {
    const unsigned entrySize = core ? 3 : 4;
    std::uint64_t entries = coloursUsed;
    if (entries == 0) {
      // A full table is implied; writers of short ones (OS/2 ones especially)
      // say so only by where the pixels start.
      entries = std::uint64_t{1} << bpp;
      entries = std::min<std::uint64_t>(entries, (*pixelsAt - tableAt) / entrySize);
    }
    if (!dib::readPalette(bytes.subspan(tableAt), entries, entrySize, palette)) return std::nullopt;
  }

  // Every row must be there before anything is allocated for it.
  if (!r.has(*pixelsAt, dib::stride(width, bpp) * height)) return std::nullopt;
  auto picture = allocatePicture(Picture::Kind::Raster, width, height);
  if (!picture) return std::nullopt;
  if (!dib::decodeRows(bytes.subspan(*pixelsAt), bpp, topDown, palette, *picture)) return std::nullopt;
  return picture;
}

}  // namespace tavo::decoders
