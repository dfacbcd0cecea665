// Shared value types of the icon layer: byte strings and colour values.
#pragma once

#include <cstdint>
#include <vector>

namespace tavo {

using Bytes = std::vector<std::uint8_t>;

// 0x00BBGGRR, red in the lowest byte. 0xFF000000 stands for "the default
// colour" of a control setting and is stored and read back as such.
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000u;

// Element [r][c]: image row r counted from the bottom, column c from the left.
using ColourGrid = std::vector<std::vector<Colour>>;

constexpr std::uint8_t redOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t greenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr Colour makeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

}  // namespace tavo
