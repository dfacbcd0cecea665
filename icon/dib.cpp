#include "icon/dib.h"

#include <algorithm>

#include "icon/byte_reader.h"

namespace tavo::dib {

bool readPalette(std::span<const std::uint8_t> bytes, std::uint64_t entries, unsigned entrySize, Palette& out) {
  const auto size = checkedMul(entries, entrySize);
  if (!size || *size > bytes.size()) return false;
  out.count = static_cast<std::size_t>(std::min<std::uint64_t>(entries, out.colours.size()));
  for (std::size_t i = 0; i < out.count; ++i) {
    const std::uint8_t* e = bytes.data() + i * entrySize;
    out.colours[i] = pixelFromBgr(e[0], e[1], e[2]);
  }
  return true;
}

bool decodeRows(std::span<const std::uint8_t> rows, unsigned bpp, bool topDown, const Palette& palette,
                Picture& picture) {
  const int w = picture.pixelWidth, h = picture.pixelHeight;
  if (w <= 0 || h <= 0 || !supportedDepth(bpp) || rows.size() < rowsExtent(w, h, bpp)) return false;
  const std::uint64_t rowStride = stride(w, bpp);
  for (int y = 0; y < h; ++y) {
    const int stored = topDown ? y : h - 1 - y;
    const std::uint8_t* src = rows.data() + rowStride * stored;
    Pixel* dst = picture.pixels.data() + static_cast<std::size_t>(y) * w;
    switch (bpp) {
      case 1:
        for (int x = 0; x < w; ++x) dst[x] = palette.at((src[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        for (int x = 0; x < w; ++x) dst[x] = palette.at((x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4);
        break;
      case 8:
        for (int x = 0; x < w; ++x) dst[x] = palette.at(src[x]);
        break;
      case 24:
        for (int x = 0; x < w; ++x, src += 3) dst[x] = pixelFromBgr(src[0], src[1], src[2]);
        break;
      case 32:  // the fourth byte is not part of the colour
        for (int x = 0; x < w; ++x, src += 4) dst[x] = pixelFromBgr(src[0], src[1], src[2]);
        break;
    }
  }
  return true;
}

bool decodeMask(std::span<const std::uint8_t> rows, Picture& picture) {
  const int w = picture.pixelWidth, h = picture.pixelHeight;
  if (w <= 0 || h <= 0 || rows.size() < rowsExtent(w, h, 1)) return false;
  picture.mask.resize(static_cast<std::size_t>(w) * h);
  const std::uint64_t rowStride = stride(w, 1);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = rows.data() + rowStride * (h - 1 - y);
    std::uint8_t* dst = picture.mask.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
  }
  return true;
}

}  // namespace tavo::dib
