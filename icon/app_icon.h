// The application's own icon, drawn by code and patched into the blank icon
// templates like every icon the program makes. Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "icon/types.h"

namespace tavo {

// One-image icon file images: 894 bytes (16x16) and 3262 bytes (32x32).
Bytes appIcon16();
Bytes appIcon32();
// Both images in one 4150-byte icon file image.
Bytes appIconFile();

// The n x n image of a one-image icon file image (n = 16 or 32) as rows from
// the top, each pixel 0xAARRGGBB: alpha 0 where the mask bit is set, else 0xFF.
// Empty when `icon` is not 894 or 3262 bytes long.
std::vector<std::uint32_t> iconArgb(const Bytes& icon);

}  // namespace tavo
