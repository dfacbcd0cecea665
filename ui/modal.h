// Opening a window modally with a nested event loop, and closing it after
// the running handler has returned.
#pragma once

class QWidget;

namespace tavo {

// Shows `window` modal to the whole program: every other top-level window
// refuses input (its former enabled state is remembered) and a nested event
// loop runs until `window` has closed; then the other windows get their
// enabled state back and the call returns.
void openModal(QWidget* window);

// Asks `window` to close once the running handler has returned to the event
// loop, so statements after the call in the same handler still run first.
void requestClose(QWidget* window);

}  // namespace tavo
