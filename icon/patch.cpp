#include "icon/patch.h"

#include <cstdint>

#include "icon/templates.h"

namespace tavo {

void patchIconBytes(Bytes& icon, int n, int column, int row, bool transparent, Colour colour) {
  const std::size_t s = static_cast<std::size_t>(n - row);  // stored row, from the bottom
  const std::size_t p = layout::kPixelsAt + s * 3 * n + 3 * static_cast<std::size_t>(column - 1);
  const std::size_t m = (n == 16 ? layout::kMask16At : layout::kMask32At) + s * 4;
  const int wordBytes = n == 16 ? 2 : 4;

  // Column 1 is bit 7 of the first byte: bit 8 - column of the little-endian word,
  // then 24, 40, 56 - column for the following bytes.
  const int c0 = column - 1;
  const std::uint32_t bit = std::uint32_t{1} << (8 * (c0 / 8) + 7 - c0 % 8);

  std::uint32_t word = 0;
  for (int i = 0; i < wordBytes; ++i) word |= static_cast<std::uint32_t>(icon[m + i]) << (8 * i);
  if (transparent) {
    icon[p] = transparentPixel[0];
    icon[p + 1] = transparentPixel[1];
    icon[p + 2] = transparentPixel[2];
    word |= bit;
  } else {
    icon[p] = blueOf(colour);
    icon[p + 1] = greenOf(colour);
    icon[p + 2] = redOf(colour);
    word &= ~bit;
  }
  for (int i = 0; i < wordBytes; ++i) icon[m + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

}  // namespace tavo
