// PCX files: two variants only, both run-length encoded with one plane.
//
// - 256 colours: 8 bits per pixel, version 5 or lower, the 0x0C marker 769
//   bytes from the end and the 768-byte palette after it.
// - Monochrome: 1 bit per pixel, version 3. Version 3 is the one that says
//   "no palette information", so the 16-colour palette in the header is not
//   read: bit 1 is white, bit 0 black (leftmost pixel in bit 7).
//
// The size is xmax - xmin + 1 by ymax - ymin + 1. Each scan line holds
// bytes-per-line bytes, which must cover the width; the bytes beyond it are
// padding. A run may carry over into the next scan line, as some writers
// emit; it never writes past the line buffer. Image data ends at the palette
// marker (256 colours) or at the end of the file (monochrome); running out
// of data before the last line is no picture, as are other depths, plane
// counts, versions or encodings, and more than kMaxPicturePixels.
#include <algorithm>
#include <array>
#include <vector>

#include "icon/byte_reader.h"
#include "icon/decoders.h"

namespace tavo::decoders {

namespace {

constexpr std::uint64_t kHeader = 128;
constexpr std::uint64_t kPaletteTail = 769;  // marker byte + 256 x RGB

// Decodes run-length data from data[pos, end) one scan line at a time.
class RunDecoder {
 public:
  explicit RunDecoder(std::span<const std::uint8_t> data) : data_(data) {}

  // Fills `line` completely; false if the data ends first.
  bool next(std::span<std::uint8_t> line) {
    std::size_t i = 0;
    while (i < line.size()) {
      if (runLeft_ > 0) {
        const std::size_t n = std::min<std::size_t>(runLeft_, line.size() - i);
        std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(i), n, runValue_);
        i += n;
        runLeft_ -= n;
        continue;
      }
      if (pos_ >= data_.size()) return false;
      const std::uint8_t b = data_[pos_++];
      if ((b & 0xC0) == 0xC0) {
        if (pos_ >= data_.size()) return false;
        runLeft_ = b & 0x3F;
        runValue_ = data_[pos_++];
      } else {
        line[i++] = b;
      }
    }
    return true;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  std::size_t runLeft_ = 0;
  std::uint8_t runValue_ = 0;
};

}  // namespace

std::optional<Picture> decodePcx(std::span<const std::uint8_t> bytes) {
  const ByteReader r(bytes);
  if (!r.has(0, kHeader)) return std::nullopt;
  const unsigned version = *r.u8(1), encoding = *r.u8(2), bpp = *r.u8(3);
  const std::int64_t xmin = *r.u16(4), ymin = *r.u16(6), xmax = *r.u16(8), ymax = *r.u16(10);
  const unsigned planes = *r.u8(65);
  const std::uint64_t bytesPerLine = *r.u16(66);
  if (*r.u8(0) != 0x0A || encoding != 1 || planes != 1) return std::nullopt;

  const bool colour = bpp == 8 && version <= 5;
  const bool mono = bpp == 1 && version == 3;
  if (!colour && !mono) return std::nullopt;
  const std::int64_t width = xmax - xmin + 1, height = ymax - ymin + 1;
  if (!picturePixels(width, height)) return std::nullopt;
  if (bytesPerLine < (colour ? static_cast<std::uint64_t>(width) : (static_cast<std::uint64_t>(width) + 7) / 8))
    return std::nullopt;

  std::uint64_t dataEnd = r.size();
  std::array<Pixel, 256> palette{};
  if (colour) {
    if (r.size() < kHeader + kPaletteTail) return std::nullopt;
    dataEnd = r.size() - kPaletteTail;
    if (*r.u8(dataEnd) != 0x0C) return std::nullopt;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      const std::uint8_t* e = bytes.data() + dataEnd + 1 + 3 * i;
      palette[i] = 0xFF000000u | (static_cast<Pixel>(e[0]) << 16) | (static_cast<Pixel>(e[1]) << 8) | e[2];
    }
  }

  // No byte of run-length data yields more than 63 bytes, so data too short
  // for the scan lines is refused before the picture is allocated.
  const std::uint64_t dataSize = dataEnd - kHeader;
  if (dataSize * 63 < bytesPerLine * static_cast<std::uint64_t>(height)) return std::nullopt;
  auto picture = allocatePicture(Picture::Kind::Raster, width, height);
  if (!picture) return std::nullopt;

  RunDecoder runs(bytes.subspan(kHeader, dataSize));
  std::vector<std::uint8_t> line(bytesPerLine);
  for (std::int64_t y = 0; y < height; ++y) {
    if (!runs.next(line)) return std::nullopt;
    Pixel* dst = picture->pixels.data() + static_cast<std::size_t>(y) * width;
    for (std::int64_t x = 0; x < width; ++x) {
      if (colour)
        dst[x] = palette[line[x]];
      else
        dst[x] = (line[x >> 3] >> (7 - (x & 7))) & 1 ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }
  return picture;
}

}  // namespace tavo::decoders
