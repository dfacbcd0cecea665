// Patching one pixel of a one-image icon file image (16x16 or 32x32).
#pragma once

#include "icon/types.h"

namespace tavo {

// column and row are 1-based, row counted from the top of the picture.
// transparent: pixel bytes 00 00 00 and mask bit set; otherwise the blue,
// green, red of colour and the mask bit cleared. The mask word is read and
// written little-endian: 2 bytes for 16x16 (the row's padding is left alone),
// 4 bytes for 32x32. Constant time; the caller keeps column and row in range.
void patchIconBytes(Bytes& icon, int n, int column, int row, bool transparent, Colour colour);

}  // namespace tavo
