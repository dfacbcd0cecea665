// The program-wide state shared by the handlers of both windows. One object
// lives from start-up to the end of the run and is handed to the windows.
#pragma once

#include "icon/types.h"

namespace tavo {

struct AppState {
  Bytes outputIcon;  // the icon file image that saving writes: empty, 894, 3262 or 4150 bytes
  Bytes pixels16;    // last 16x16 capture: 768 bytes, bottom row first, or empty
  Bytes pixels32;    // last 32x32 capture: 3072 bytes, or empty
  ColourGrid grid16;
  ColourGrid grid32;
  Bytes workIcon16;  // the editor's 894-byte working icon
  Bytes workIcon32;  // the editor's 3262-byte working icon
  int editSize = 0;  // 1: the editor shows 16x16, 2: 32x32
  Colour gridBackColour = 0;
  Colour labelBackColour = 0;
  bool penDown = false;
  Colour previewColour = 0;

  // Start-up: the grids start as empty one-dimensional arrays.
  AppState() : grid16(), grid32() {}

  // The shutdown release: frees what the variables hold.
  void release();
};

}  // namespace tavo
