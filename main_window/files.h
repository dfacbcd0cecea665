// Reading a picture file whole and writing an icon file whole.
#pragma once

#include <QString>

#include "icon/types.h"

namespace tavo {

// All bytes of the file; empty for an empty name, a file that cannot be
// opened, or an empty file. A read error returns the bytes read before it.
Bytes readWholeFile(const QString& fileName);

// Writes `bytes` to a temporary file in the target's folder and renames it
// over the target, so an existing file is replaced whole or not at all.
// false for an empty name, a file that cannot be created, or a write error.
bool writeWholeFile(const QString& fileName, const Bytes& bytes);

}  // namespace tavo
