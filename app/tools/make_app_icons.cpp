// Build-time tool: writes the application icon as <dir>/16x16/tavoico.png and
// <dir>/32x32/tavoico.png, from the same pixels the window shows.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstring>

#include "icon/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (const tavo::Bytes& icon : {tavo::appIcon16(), tavo::appIcon32()}) {
    const std::vector<std::uint32_t> argb = tavo::iconArgb(icon);
    const int n = argb.size() == 256 ? 16 : 32;
    QImage image(n, n, QImage::Format_ARGB32);
    for (int y = 0; y < n; ++y)
      std::memcpy(image.scanLine(y), argb.data() + static_cast<std::size_t>(y) * n, 4 * static_cast<std::size_t>(n));
    const QString folder = root + QStringLiteral("/%1x%1").arg(n);
    if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/tavoico.png"), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
