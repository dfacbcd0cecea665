// Drawing a decoded picture onto a bitmap: plain copy at natural size, exact
// integer area averaging when stretched, icons through their mask.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "icon/picture.h"

namespace tavo {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;

// The target rectangle clipped to the bitmap, computed in 64 bits so that
// extreme positions and sizes cannot overflow.
Rect clip(const Bitmap& target, int x, int y, int w, int h) {
  const std::int64_t x0 = std::max<std::int64_t>(x, 0);
  const std::int64_t y0 = std::max<std::int64_t>(y, 0);
  const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + w, target.width());
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{y} + h, target.height());
  if (x1 <= x0 || y1 <= y0) return {};
  return {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

// Which source samples one target sample covers along one axis, and how much
// of each. On a common integer scale a target sample is `targetUnit` long and
// a source sample `sourceUnit`, so every weight is an integer and the weights
// of one target sample add up to targetUnit. Samples strictly between first
// and last are covered whole (weight sourceUnit).
struct Span {
  int first = 0;
  int last = 0;
  std::int64_t firstWeight = 0;  // the whole targetUnit when first == last
  std::int64_t lastWeight = 0;
};

std::vector<Span> spans(std::int64_t targetUnit, std::int64_t sourceUnit, int from, int count) {
  std::vector<Span> out(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::int64_t lo = (from + std::int64_t{i}) * targetUnit, hi = lo + targetUnit;
    Span& sp = out[static_cast<std::size_t>(i)];
    sp.first = static_cast<int>(lo / sourceUnit);
    sp.last = static_cast<int>((hi - 1) / sourceUnit);
    if (sp.first == sp.last) {
      sp.firstWeight = targetUnit;
    } else {
      sp.firstWeight = (sp.first + 1) * sourceUnit - lo;
      sp.lastWeight = hi - sp.last * sourceUnit;
    }
  }
  return out;
}

// The common scale of one axis. Evenly covering pixels: a target sample is
// `pixels` units and a source sample `target` units. A reduced decode whose
// pixels each stand for `span` natural pixels: measured in 1/target natural
// pixels, a target sample is `natural` units and a source sample span x target;
// the last source sample reaches past the natural edge, where no target
// sample goes, so it counts only for what it covers.
struct Axis {
  std::int64_t targetUnit, sourceUnit;
};
Axis axis(int natural, int pixels, int span, int target) {
  if (span > 0) return {natural, std::int64_t{span} * target};
  return {pixels, target};
}

// Channel sums of one source row for every target column, each weighted by
// its horizontal coverage: three values (red, green, blue) per column.
void sumRow(const Pixel* src, const std::vector<Span>& xs, std::int64_t whole, std::uint64_t* out) {
  for (const Span& sp : xs) {
    const Pixel f = src[sp.first];
    const std::uint64_t wf = static_cast<std::uint64_t>(sp.firstWeight);
    std::uint64_t r = ((f >> 16) & 0xFF) * wf, g = ((f >> 8) & 0xFF) * wf, b = (f & 0xFF) * wf;
    if (sp.last != sp.first) {
      // The pixels covered whole, summed two channels to a word: red and
      // blue in 16-bit lanes, which 256 pixels of 255 cannot overflow.
      std::uint64_t mr = 0, mg = 0, mb = 0;
      for (int k = sp.first + 1; k < sp.last;) {
        const int end = std::min(sp.last, k + 256);
        std::uint32_t redBlue = 0, greenSum = 0;
        for (; k < end; ++k) {
          redBlue += src[k] & 0x00FF00FFu;
          greenSum += (src[k] >> 8) & 0xFFu;
        }
        mr += redBlue >> 16;
        mb += redBlue & 0xFFFFu;
        mg += greenSum;
      }
      const Pixel l = src[sp.last];
      const std::uint64_t wl = static_cast<std::uint64_t>(sp.lastWeight);
      const std::uint64_t wm = static_cast<std::uint64_t>(whole);
      r += mr * wm + ((l >> 16) & 0xFF) * wl;
      g += mg * wm + ((l >> 8) & 0xFF) * wl;
      b += mb * wm + (l & 0xFF) * wl;
    }
    out[0] = r;
    out[1] = g;
    out[2] = b;
    out += 3;
  }
}

// Each target pixel is the coverage-weighted mean of the source pixels under
// it, rounded to nearest. Separable and in exact integers: one pass over the
// source rows the clipped rectangle needs, each row summed horizontally once
// (a small cache keeps the row a target-row boundary cuts through), then
// weighted vertically into per-column accumulators. Every sum is bounded by
// 255 x the product of the two target units (at most the pixel count or the
// natural area, both capped far below 2^32), so far inside 64 bits.
void drawAveraged(Bitmap& target, const Picture& pic, int x, int y, int w, int h, Rect r) {
  const int pw = pic.pixelWidth;
  const Axis ax = axis(pic.width, pic.pixelWidth, pic.pixelSpan, w);
  const Axis ay = axis(pic.height, pic.pixelHeight, pic.pixelSpan, h);
  const std::vector<Span> xs = spans(ax.targetUnit, ax.sourceUnit, r.x - x, r.w);
  const std::vector<Span> ys = spans(ay.targetUnit, ay.sourceUnit, r.y - y, r.h);
  const std::size_t n = static_cast<std::size_t>(r.w) * 3;
  const std::uint64_t total = static_cast<std::uint64_t>(ax.targetUnit) * static_cast<std::uint64_t>(ay.targetUnit);

  std::vector<std::uint64_t> acc(n);
  std::vector<std::uint64_t> cache[2] = {std::vector<std::uint64_t>(n), std::vector<std::uint64_t>(n)};
  int cached[2] = {-1, -1};
  auto rowSums = [&](int sy) -> const std::uint64_t* {
    for (int i = 0; i < 2; ++i)
      if (cached[i] == sy) return cache[i].data();
    // Rows come in increasing order, so the lower one is not needed again.
    const int i = cached[0] < cached[1] ? 0 : 1;
    sumRow(pic.pixels.data() + static_cast<std::size_t>(sy) * pw, xs, ax.sourceUnit, cache[i].data());
    cached[i] = sy;
    return cache[i].data();
  };
  auto addRow = [&](int sy, std::uint64_t weight) {
    const std::uint64_t* s = rowSums(sy);
    for (std::size_t i = 0; i < n; ++i) acc[i] += s[i] * weight;
  };

  for (int j = 0; j < r.h; ++j) {
    const Span& sp = ys[static_cast<std::size_t>(j)];
    std::fill(acc.begin(), acc.end(), 0);
    addRow(sp.first, static_cast<std::uint64_t>(sp.firstWeight));
    if (sp.last != sp.first) {
      for (int sy = sp.first + 1; sy < sp.last; ++sy) addRow(sy, static_cast<std::uint64_t>(ay.sourceUnit));
      addRow(sp.last, static_cast<std::uint64_t>(sp.lastWeight));
    }
    Pixel* dst = target.row(r.y + j) + r.x;
    for (int i = 0; i < r.w; ++i) {
      const std::uint64_t* a = acc.data() + 3 * static_cast<std::size_t>(i);
      const Pixel red = static_cast<Pixel>((a[0] + total / 2) / total);
      const Pixel green = static_cast<Pixel>((a[1] + total / 2) / total);
      const Pixel blue = static_cast<Pixel>((a[2] + total / 2) / total);
      dst[i] = kOpaque | (red << 16) | (green << 8) | blue;
    }
  }
}

void drawCopy(Bitmap& target, const Picture& pic, int x, int y, Rect r) {
  for (int j = 0; j < r.h; ++j) {
    const Pixel* src = pic.pixels.data() + static_cast<std::size_t>(r.y - y + j) * pic.pixelWidth + (r.x - x);
    Pixel* dst = target.row(r.y + j) + r.x;
    for (int i = 0; i < r.w; ++i) dst[i] = src[i] | kOpaque;
  }
}

// Icons are sampled at the nearest pixel, colour and mask alike: averaging a
// mask would invent half-transparent pixels that an AND/XOR mask cannot hold.
// At natural size this is the exact pixel for pixel drawing.
void drawIcon(Bitmap& target, const Picture& pic, int x, int y, int w, int h, Rect r) {
  const int pw = pic.pixelWidth, ph = pic.pixelHeight;
  std::vector<int> columns(static_cast<std::size_t>(r.w));
  for (int i = 0; i < r.w; ++i)
    columns[static_cast<std::size_t>(i)] =
        static_cast<int>((2 * (std::int64_t{r.x} - x + i) + 1) * pw / (2 * std::int64_t{w}));
  for (int j = 0; j < r.h; ++j) {
    const int sy = static_cast<int>((2 * (std::int64_t{r.y} - y + j) + 1) * ph / (2 * std::int64_t{h}));
    const std::size_t base = static_cast<std::size_t>(sy) * pw;
    Pixel* dst = target.row(r.y + j) + r.x;
    for (int i = 0; i < r.w; ++i) {
      const std::size_t k = base + static_cast<std::size_t>(columns[static_cast<std::size_t>(i)]);
      // Mask 1: exclusive or, so a transparent pixel stored as 00 00 00 keeps the target.
      dst[i] = pic.mask[k] ? kOpaque | ((dst[i] ^ pic.pixels[k]) & 0x00FFFFFFu) : kOpaque | pic.pixels[k];
    }
  }
}

}  // namespace

void drawPicture(Bitmap& target, const Picture& picture, int x, int y) {
  drawPicture(target, picture, x, y, picture.width, picture.height);
}

void drawPicture(Bitmap& target, const Picture& pic, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0 || pic.pixelWidth <= 0 || pic.pixelHeight <= 0) return;
  const std::uint64_t count = static_cast<std::uint64_t>(pic.pixelWidth) * static_cast<std::uint64_t>(pic.pixelHeight);
  // A picture whose buffers do not hold its pixels cannot be drawn.
  if (pic.pixels.size() < count) return;
  // An icon without a mask has nothing transparent: it draws like a raster picture.
  const bool icon = pic.kind == Picture::Kind::Icon && !pic.mask.empty();
  if (icon && pic.mask.size() < count) return;
  // A reduced buffer must be exactly the reduction of the natural size, or the
  // mapping would reach outside it.
  if (pic.pixelSpan > 0) {
    const std::int64_t n = pic.pixelSpan;
    if ((pic.width + n - 1) / n != pic.pixelWidth || (pic.height + n - 1) / n != pic.pixelHeight) return;
    if (static_cast<std::uint64_t>(pic.width) * static_cast<std::uint64_t>(pic.height) > kMaxPicturePixels) return;
  }
  const Rect r = clip(target, x, y, w, h);
  if (r.empty()) return;
  if (icon)
    drawIcon(target, pic, x, y, w, h, r);
  else if (w == pic.pixelWidth && h == pic.pixelHeight && pic.pixelSpan <= 1)
    drawCopy(target, pic, x, y, r);
  else
    drawAveraged(target, pic, x, y, w, h, r);
}

}  // namespace tavo
