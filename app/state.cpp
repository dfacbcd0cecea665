#include "app/state.h"

namespace tavo {

void AppState::release() {
  Bytes().swap(outputIcon);
  Bytes().swap(pixels16);
  Bytes().swap(pixels32);
  ColourGrid().swap(grid16);
  ColourGrid().swap(grid32);
  Bytes().swap(workIcon16);
  Bytes().swap(workIcon32);
}

}  // namespace tavo
