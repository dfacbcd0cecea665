// The three blank icon file images every icon is patched from, and the
// fixed offsets the patching code relies on instead of parsing headers.
#pragma once

#include <cstddef>

#include "icon/types.h"

namespace tavo {

// 8306 bytes: template16 (894), template32 (3262), templateBoth (4150).
const Bytes& iconTemplates();

Bytes template16();
Bytes template32();
Bytes templateBoth();

// Blue, green, red of a transparent pixel: 00 00 00, so drawing through the
// mask (exclusive or) leaves the background untouched.
extern const Bytes transparentPixel;

namespace layout {
inline constexpr std::size_t kSize16 = 894;
inline constexpr std::size_t kSize32 = 3262;
inline constexpr std::size_t kSizeBoth = 4150;
inline constexpr std::size_t kImage16 = 872;   // header + pixels + mask
inline constexpr std::size_t kImage32 = 3240;
inline constexpr std::size_t kPixels16 = 768;  // pixel block sizes
inline constexpr std::size_t kPixels32 = 3072;
inline constexpr std::size_t kPixelsAt = 62;       // one-image files
inline constexpr std::size_t kMask16At = 830;
inline constexpr std::size_t kMask32At = 3134;
inline constexpr std::size_t kBothImage16At = 38;  // two-image file
inline constexpr std::size_t kBothImage32At = 910;
inline constexpr std::size_t kBothPixels16At = 78;
inline constexpr std::size_t kBothPixels32At = 950;
}  // namespace layout

}  // namespace tavo
