#include "main_window/files.h"

#include <QFile>
#include <QSaveFile>

namespace tavo {

Bytes readWholeFile(const QString& fileName) {
  Bytes bytes;
  if (fileName.isEmpty()) return bytes;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return bytes;
  char chunk[65536];
  for (;;) {
    const qint64 got = file.read(chunk, sizeof chunk);
    if (got <= 0) break;  // end of file or a read error: keep what was read
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

bool writeWholeFile(const QString& fileName, const Bytes& bytes) {
  if (fileName.isEmpty()) return false;
  QSaveFile file(fileName);
  // Unbuffered, so a short write (disk full, file-size limit) shows in the
  // count written: a buffered QSaveFile commits a truncated file as success.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (!bytes.empty()) {
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
      file.cancelWriting();
      return false;
    }
  }
  return file.commit();
}

}  // namespace tavo
