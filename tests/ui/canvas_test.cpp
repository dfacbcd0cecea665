// The drawing canvas as its callers use it: drawings and their persistence,
// the background rules, the capture bytes, borders, and mouse events that the
// canvas does not capture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "icon/picture.h"
#include "support/bitmap_file.h"
#include "ui/canvas.h"

namespace tavo {
namespace {
using testing::bmp24;

constexpr Colour kRed = 0x000000FF, kGreen = 0x0000FF00, kBlue = 0x00FF0000, kWhite = 0x00FFFFFF;
constexpr Colour kGridBack = 0x00A75450;

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

Colour fromQRgb(QRgb p) {
  return makeColour(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                    static_cast<std::uint8_t>(qBlue(p)));
}

// What the widget shows at drawable pixel (x, y), rendered through paintEvent.
Colour shown(const QImage& grabbed, const Canvas& c, int x, int y) {
  const int b = Canvas::borderWidth(c.border());
  return fromQRgb(grabbed.pixel(x + b, y + b));
}
QImage grabOf(Canvas& c) { return c.grab().toImage(); }

bool allPixels(const Bitmap& bm, Colour colour) {
  for (int y = 0; y < bm.height(); ++y)
    for (int x = 0; x < bm.width(); ++x)
      if (bm.colourAt(x, y) != colour) return false;
  return true;
}

bool allShown(const QImage& img, const Canvas& c, Colour colour) {
  for (int y = 0; y < c.drawableHeight(); ++y)
    for (int x = 0; x < c.drawableWidth(); ++x)
      if (shown(img, c, x, y) != colour) return false;
  return true;
}

// A canvas as a form would make it: background set, solid red pen, green brush.
std::unique_ptr<Canvas> makeCanvas(int w, int h, bool autoRedraw = true, Canvas::Border border = Canvas::Border::None,
                                   Colour back = kWhite) {
  auto c = std::make_unique<Canvas>(nullptr, w, h, autoRedraw, border);
  c->setBackColour(back);
  c->setPen({PenStyle::Solid, kRed});
  c->setBrushColour(kGreen);
  return c;
}

const Bytes kPngHeader = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R'};

// ---------------------------------------------------------------- drawing

TEST(CanvasDrawing, RectangleCoversLeftToRightMinusOneAndSharesEdgesWithItsNeighbour) {
  auto c = makeCanvas(40, 20);
  c->drawRectangle(0, 0, 17, 17);
  const Bitmap& bm = c->backing();
  for (int i = 0; i <= 16; ++i) {
    EXPECT_EQ(bm.colourAt(i, 0), kRed) << "top edge x=" << i;
    EXPECT_EQ(bm.colourAt(i, 16), kRed) << "bottom edge x=" << i;
    EXPECT_EQ(bm.colourAt(0, i), kRed) << "left edge y=" << i;
    EXPECT_EQ(bm.colourAt(16, i), kRed) << "right edge y=" << i;
  }
  for (int y = 1; y <= 15; ++y)
    for (int x = 1; x <= 15; ++x) ASSERT_EQ(bm.colourAt(x, y), kGreen) << x << "," << y;
  EXPECT_EQ(bm.colourAt(17, 5), kWhite) << "right coordinate is just outside";
  EXPECT_EQ(bm.colourAt(5, 17), kWhite) << "bottom coordinate is just outside";

  c->setPen({PenStyle::Solid, kBlue});
  c->setBrushColour(0x00123456);
  c->drawRectangle(16, 0, 33, 17);
  EXPECT_EQ(bm.colourAt(16, 8), kBlue) << "the neighbour's outline takes column 16";
  EXPECT_EQ(bm.colourAt(15, 8), kGreen) << "the first cell's inside stays";
  EXPECT_EQ(bm.colourAt(17, 8), 0x00123456u);
  EXPECT_EQ(bm.colourAt(32, 8), kBlue);
  EXPECT_EQ(bm.colourAt(33, 8), kWhite);
}

TEST(CanvasDrawing, RectangleIsNormalisedAndClipped) {
  auto a = makeCanvas(20, 20);
  auto b = makeCanvas(20, 20);
  a->drawRectangle(2, 3, 12, 15);
  b->drawRectangle(12, 15, 2, 3);
  EXPECT_EQ(a->capture(), b->capture());

  // Half outside: only the inside part is drawn, nothing breaks.
  auto c = makeCanvas(10, 10);
  c->drawRectangle(-5, -5, 5, 5);
  EXPECT_EQ(c->backing().colourAt(4, 2), kRed);  // right edge x = 4
  EXPECT_EQ(c->backing().colourAt(2, 2), kGreen);
  EXPECT_EQ(c->backing().colourAt(5, 5), kWhite);
  c->drawRectangle(100, 100, 200, 200);  // wholly outside: no change, no crash
  EXPECT_EQ(c->backing().colourAt(9, 9), kWhite);
}

TEST(CanvasDrawing, HollowBrushLeavesTheInsideAndDottedPenLeavesTheOldColourInItsGaps) {
  auto c = makeCanvas(20, 20);
  c->drawRectangle(0, 0, 17, 17);  // red outline, green inside
  c->setBrushHollow(true);
  c->setPen({PenStyle::Solid, kBlue});
  c->drawRectangle(3, 3, 10, 10);
  EXPECT_EQ(c->backing().colourAt(3, 3), kBlue);
  EXPECT_EQ(c->backing().colourAt(6, 6), kGreen) << "hollow: the inside is untouched";

  // A cell redrawn with a dotted outline over a different old colour.
  auto d = makeCanvas(20, 20);
  d->drawRectangle(0, 0, 17, 17);  // old colour red on the outline
  ASSERT_EQ(d->textBackColour(), kDefaultColour);
  d->setPen({PenStyle::Dotted, kBlue});
  d->setBrushColour(kWhite);
  d->drawRectangle(0, 0, 17, 17);
  int dots = 0, gaps = 0;
  for (int i = 0; i <= 16; ++i)
    for (auto [x, y] : {std::pair{i, 0}, std::pair{i, 16}, std::pair{0, i}, std::pair{16, i}}) {
      const Colour p = d->backing().colourAt(x, y);
      ASSERT_TRUE(p == kBlue || p == kRed) << x << "," << y;
      (p == kBlue ? dots : gaps)++;
    }
  EXPECT_GT(dots, 0);
  EXPECT_GT(gaps, 0) << "the gaps keep the old colour";
  EXPECT_EQ(d->backing().colourAt(8, 8), kWhite);
}

TEST(CanvasDrawing, PointSetsExactlyOnePixelAndIgnoresPointsOutside) {
  auto c = makeCanvas(16, 16);
  c->drawPoint(15, 0, kBlue);
  c->drawPoint(-1, 3, kBlue);
  c->drawPoint(16, 3, kBlue);
  c->drawPoint(3, 16, kBlue);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(c->backing().colourAt(x, y), (x == 15 && y == 0) ? kBlue : kWhite) << x << "," << y;
}

TEST(CanvasDrawing, DrawPictureAtNaturalSizeStretchedAndNothingForNoPicture) {
  Picture p;
  p.width = p.pixelWidth = 2;
  p.height = p.pixelHeight = 1;
  p.pixels = {toPixel(kRed), toPixel(kBlue)};

  auto c = makeCanvas(8, 8);
  c->drawPicture(p, 1, 1);
  EXPECT_EQ(c->backing().colourAt(1, 1), kRed);
  EXPECT_EQ(c->backing().colourAt(2, 1), kBlue);
  EXPECT_EQ(c->backing().colourAt(3, 1), kWhite);
  EXPECT_EQ(c->backing().colourAt(1, 2), kWhite);

  c->drawPicture(p, 0, 4, 8, 4);  // stretched: left half red, right half blue
  EXPECT_EQ(c->backing().colourAt(0, 4), kRed);
  EXPECT_EQ(c->backing().colourAt(3, 7), kRed);
  EXPECT_EQ(c->backing().colourAt(4, 4), kBlue);
  EXPECT_EQ(c->backing().colourAt(7, 7), kBlue);

  const Bytes before = c->capture();
  c->drawPicture(std::nullopt, 0, 0);
  c->drawPicture(std::nullopt, 0, 0, 8, 8);
  c->drawPicture(p, 7, 7, 5, 5);  // mostly outside: clipped
  EXPECT_EQ(c->backing().colourAt(7, 7), kRed);
  Bytes after = c->capture();
  EXPECT_EQ(after.size(), before.size());
}

// ---------------------------------------------------------------- capture

struct CaptureCase {
  const char* name;
  int w, h;
  std::uint32_t rowSize;
};

TEST(CanvasCapture, BitmapFileImageAsItsByteTable) {
  const CaptureCase cases[] = {
      {"16x16 icon canvas", 16, 16, 48},
      {"32x32 icon canvas", 32, 32, 96},
      {"5x3 padded rows", 5, 3, 16},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    auto c = makeCanvas(k.w, k.h);
    c->drawPoint(0, k.h - 1, 0x00112233);  // bottom-left
    c->drawPoint(k.w - 1, 0, 0x00445566);  // top-right
    const Bytes b = c->capture();
    const std::uint32_t image = k.rowSize * k.h;
    ASSERT_EQ(b.size(), 54 + image);
    EXPECT_EQ(b[0], 0x42);
    EXPECT_EQ(b[1], 0x4D);
    EXPECT_EQ(le32(b, 2), 54 + image);
    EXPECT_EQ(le32(b, 6), 0u);
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), static_cast<std::uint32_t>(k.w));
    EXPECT_EQ(le32(b, 22), static_cast<std::uint32_t>(k.h));
    EXPECT_EQ(le16(b, 26), 1);
    EXPECT_EQ(le16(b, 28), 24);
    EXPECT_EQ(le32(b, 30), 0u);
    EXPECT_EQ(le32(b, 34), image);
    for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(b[at], 0) << "offset " << at;
    // Bottom row first, blue green red.
    EXPECT_EQ(b[54], 0x11);
    EXPECT_EQ(b[55], 0x22);
    EXPECT_EQ(b[56], 0x33);
    const std::size_t topRight = 54 + static_cast<std::size_t>(k.rowSize) * (k.h - 1) + 3 * (k.w - 1);
    EXPECT_EQ(b[topRight], 0x44);
    EXPECT_EQ(b[topRight + 1], 0x55);
    EXPECT_EQ(b[topRight + 2], 0x66);
    for (std::uint32_t pad = 3 * k.w; pad < k.rowSize; ++pad) EXPECT_EQ(b[54 + pad], 0) << "padding";
  }
}

TEST(CanvasCapture, HiddenCanvasCapturesWhatWasJustDrawn) {
  QWidget window;
  auto* c = new Canvas(&window, 16, 16, true);
  c->setBackColour(kWhite);
  c->hide();
  Picture p;
  p.width = p.pixelWidth = p.height = p.pixelHeight = 1;
  p.pixels = {toPixel(0x00010203)};
  c->drawPicture(p, 0, 0, 16, 16);
  ASSERT_FALSE(c->isVisible());
  const Bytes b = c->capture();
  ASSERT_EQ(b.size(), 822u);
  for (std::size_t i = 54; i < b.size(); i += 3) {
    ASSERT_EQ(b[i], 0x01);  // blue, green, red of 0x00010203
    ASSERT_EQ(b[i + 1], 0x02);
    ASSERT_EQ(b[i + 2], 0x03);
  }
}

// ---------------------------------------------------------------- settings

TEST(CanvasBackground, SameColourKeepsDrawingsOtherColourAndAnyPictureLoseThem) {
  auto c = makeCanvas(16, 16);
  c->drawPoint(3, 3, kBlue);
  c->setBackColour(kWhite);  // unchanged
  EXPECT_EQ(c->backing().colourAt(3, 3), kBlue);

  c->setBackColour(kGridBack);
  EXPECT_EQ(c->backColour(), kGridBack);
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));

  c->drawPoint(3, 3, kBlue);
  c->setPicture({});  // the bytes it already holds (none): drawings are lost all the same
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));

  c->drawPoint(3, 3, kBlue);
  c->setPicture(kPngHeader);
  c->setPicture(kPngHeader);
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));
}

TEST(CanvasBackground, DefaultColourReadsBackAsItselfAndPaintsAsTheButtonFace) {
  auto c = std::make_unique<Canvas>(nullptr, 8, 8, true);
  const QColor face = c->palette().color(QPalette::Button);
  const Colour faceColour = makeColour(static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                                       static_cast<std::uint8_t>(face.blue()));
  EXPECT_EQ(c->backColour(), kDefaultColour);
  EXPECT_TRUE(allPixels(c->backing(), faceColour));

  c->setBackColour(kRed);
  c->setBackColour(kDefaultColour);
  EXPECT_EQ(c->backColour(), 0xFF000000u);
  EXPECT_TRUE(allPixels(c->backing(), faceColour));

  c->setBrushColour(kDefaultColour);
  EXPECT_EQ(c->brushColour(), 0xFF000000u);
  c->setPen({PenStyle::Solid, kRed});
  c->drawRectangle(0, 0, 8, 8);
  EXPECT_EQ(c->backing().colourAt(4, 4), faceColour);
}

TEST(CanvasBackground, ClearRepaintsTheWhole256x256AreaInTheBackgroundColour) {
  auto c = makeCanvas(256, 256, true, Canvas::Border::ThinSunken, kGridBack);
  c->setPen({PenStyle::Dotted, 0x0080A080});
  for (int i = 0; i < 16; ++i) c->drawRectangle(i * 16, i * 16, i * 16 + 17, i * 16 + 17);
  c->drawPoint(255, 255, kRed);
  c->clear();
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));
  EXPECT_EQ(c->backColour(), kGridBack);
  EXPECT_TRUE(allShown(grabOf(*c), *c, kGridBack));
}

TEST(CanvasBackground, UndecodableBytesAreDroppedWhenTheCanvasNeedsThem) {
  // With a backing bitmap: at once.
  auto c = makeCanvas(84, 84, true, Canvas::Border::None, kGridBack);
  c->setPicture(kPngHeader);
  EXPECT_TRUE(c->picture().empty());
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));

  const Bytes shortBm = {'B', 'M', 0, 0, 0};
  c->setPicture(shortBm);
  EXPECT_TRUE(c->picture().empty());

  // Without one: at the next repaint, and a later read gives nothing.
  auto d = makeCanvas(84, 84, false, Canvas::Border::ThinSunken, kGridBack);
  d->setPicture(kPngHeader);
  EXPECT_TRUE(allShown(grabOf(*d), *d, kGridBack));
  EXPECT_TRUE(d->picture().empty());

  // Or when read first, while hidden.
  auto e = makeCanvas(84, 84, false, Canvas::Border::ThinSunken, kGridBack);
  e->setPicture(kPngHeader);
  EXPECT_TRUE(e->picture().empty());
}

TEST(CanvasBackground, BitmapPictureReadsBackIdenticalAndIsPlacedCentred) {
  struct Case {
    const char* name;
    int w, h;
    Rect placed;
  };
  const Case cases[] = {
      {"40x30 fits: natural size, centred", 40, 30, {22, 27, 40, 30}},
      {"168x84: reduced to 84x42", 168, 84, {0, 21, 84, 42}},
      {"84x168: reduced to 42x84", 84, 168, {21, 0, 42, 84}},
      {"168x45: 84x22 at y 30, not 31", 168, 45, {0, 30, 84, 22}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    for (bool autoRedraw : {true, false}) {
      SCOPED_TRACE(autoRedraw ? "auto redraw" : "no auto redraw");
      auto c = makeCanvas(84, 84, autoRedraw, Canvas::Border::ThinSunken, kGridBack);
      c->setPictureMode(2);
      const Bytes bytes = bmp24(k.w, k.h, kBlue);
      c->setPicture(bytes);
      const QImage img = grabOf(*c);
      for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 84; ++x) {
          const bool inside = x >= k.placed.x && x < k.placed.x + k.placed.w && y >= k.placed.y &&
                              y < k.placed.y + k.placed.h;
          ASSERT_EQ(shown(img, *c, x, y), inside ? kBlue : kGridBack) << x << "," << y;
        }
      EXPECT_EQ(c->picture(), bytes);
    }
  }
}

TEST(CanvasBackground, ClearShowsThePictureAgainUntilAnEmptyPictureIsSet) {
  auto c = makeCanvas(16, 16, true, Canvas::Border::RaisedFrame, kGridBack);
  c->setPictureMode(1);
  const Bytes icon = bmp24(16, 16, kBlue);
  c->setPicture(icon);
  EXPECT_TRUE(allPixels(c->backing(), kBlue));
  c->drawRectangle(0, 0, 16, 16);
  c->clear();
  EXPECT_TRUE(allPixels(c->backing(), kBlue));
  EXPECT_EQ(c->picture(), icon);

  c->drawPoint(5, 5, kRed);
  c->setPicture(icon);  // the same bytes again: the drawing is lost
  EXPECT_TRUE(allPixels(c->backing(), kBlue));

  c->setPicture({});
  c->clear();
  EXPECT_TRUE(allPixels(c->backing(), kGridBack));
  EXPECT_TRUE(c->picture().empty());
}

// ---------------------------------------------------------------- the screen

class ShownCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(400, 300);
    window.move(50, 50);
  }
  void show() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QWidget window;
};

TEST_F(ShownCanvas, WithAutoRedrawDrawingsSurviveHideAndShow) {
  auto* c = new Canvas(&window, 64, 64, true, Canvas::Border::ThinSunken);
  c->setBackColour(kGridBack);
  show();
  c->setPen({PenStyle::Solid, kRed});
  c->drawRectangle(0, 0, 17, 17);
  c->drawPoint(63, 63, kBlue);
  const QImage before = grabOf(*c);
  EXPECT_EQ(shown(before, *c, 16, 16), kRed);
  EXPECT_EQ(shown(before, *c, 63, 63), kBlue);
  c->hide();
  QApplication::processEvents();
  c->show();
  window.hide();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(grabOf(*c), before);
}

TEST_F(ShownCanvas, WithoutAutoRedrawARepaintShowsOnlyTheBackground) {
  auto* c = new Canvas(&window, 64, 64, false, Canvas::Border::ThinSunken);
  c->setBackColour(kGridBack);
  show();
  c->setPen({PenStyle::Solid, kRed});
  c->drawRectangle(0, 0, 17, 17);
  EXPECT_EQ(shown(grabOf(*c), *c, 16, 16), kRed) << "a drawing shows until the next repaint";
  c->hide();
  c->show();
  QApplication::processEvents();
  EXPECT_TRUE(allShown(grabOf(*c), *c, kGridBack));
}

TEST_F(ShownCanvas, BordersLieOutsideTheDrawableArea) {
  struct Case {
    Canvas::Border border;
    int width;
  };
  for (const Case k : {Case{Canvas::Border::None, 0}, Case{Canvas::Border::ThinSunken, 1},
                       Case{Canvas::Border::RaisedFrame, 3}}) {
    SCOPED_TRACE(k.width);
    Canvas c(nullptr, 32, 16, true, k.border);
    c.setBackColour(kGridBack);
    c.setPen({PenStyle::Solid, kRed});
    c.setBrushColour(kGreen);
    EXPECT_EQ(Canvas::borderWidth(k.border), k.width);
    EXPECT_EQ(c.size(), QSize(32 + 2 * k.width, 16 + 2 * k.width));
    EXPECT_EQ(c.backing().width(), 32);
    EXPECT_EQ(c.backing().height(), 16);
    c.drawRectangle(0, 0, 32, 16);  // the whole drawable area
    const QImage img = grabOf(c);
    EXPECT_EQ(shown(img, c, 0, 0), kRed);
    EXPECT_EQ(shown(img, c, 31, 15), kRed);
    EXPECT_EQ(shown(img, c, 1, 1), kGreen);
    // Every border pixel is border, not drawing.
    for (int x = 0; x < img.width(); ++x)
      for (int y = 0; y < img.height(); ++y) {
        const bool onBorder = x < k.width || y < k.width || x >= img.width() - k.width || y >= img.height() - k.width;
        if (onBorder) {
          const Colour p = fromQRgb(img.pixel(x, y));
          ASSERT_NE(p, kRed) << x << "," << y;
          ASSERT_NE(p, kGreen) << x << "," << y;
        }
      }
  }
}

// ---------------------------------------------------------------- the mouse

// Records the moves and releases Qt delivers to it.
class Recorder : public QWidget {
 public:
  using QWidget::QWidget;
  std::vector<QPoint> moves;
  int releases = 0;

 protected:
  void mouseMoveEvent(QMouseEvent* e) override { moves.push_back(e->position().toPoint()); }
  void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

class CanvasMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(400, 300);
    window.move(40, 40);
    window.setMouseTracking(true);
    canvas = new Canvas(&window, 256, 256, true, Canvas::Border::ThinSunken);
    canvas->move(10, 10);  // drawable (0,0) at window (11,11)
    other = new Recorder(&window);
    other->setGeometry(300, 10, 60, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(QApplication::widgetAt(window.mapToGlobal(QPoint(320, 30))), other);
  }
  void TearDown() override {
    // Leave no button held for the next test.
    QTest::mouseRelease(win(), Qt::LeftButton, {}, QPoint(390, 290));
  }
  QWindow* win() { return window.windowHandle(); }
  static QPoint at(int x, int y) { return {11 + x, 11 + y}; }  // drawable pixel in window coordinates

  Recorder window;
  Canvas* canvas = nullptr;
  Recorder* other = nullptr;
};

TEST_F(CanvasMouse, PositionsAreDrawablePixelsAndTheBorderReportsNothing) {
  QSignalSpy pressed(canvas, &Canvas::mousePressed);
  QSignalSpy released(canvas, &Canvas::mouseReleased);
  QTest::mouseClick(win(), Qt::LeftButton, {}, at(255, 255));
  QTest::mouseClick(win(), Qt::LeftButton, {}, at(0, 0));
  QTest::mouseClick(win(), Qt::LeftButton, {}, QPoint(10, 10));    // top-left border pixel
  QTest::mouseClick(win(), Qt::LeftButton, {}, QPoint(267, 267));  // bottom-right border pixel
  QTest::mouseClick(win(), Qt::RightButton, {}, at(5, 5));          // not the left button
  ASSERT_EQ(pressed.count(), 2);
  EXPECT_EQ(pressed[0], (QList<QVariant>{255, 255, 0}));
  EXPECT_EQ(pressed[1], (QList<QVariant>{0, 0, 0}));
  ASSERT_EQ(released.count(), 2);
  EXPECT_EQ(released[0], (QList<QVariant>{255, 255, 0}));
}

TEST_F(CanvasMouse, KeyStateCountsCtrlShiftAlt) {
  const std::pair<Qt::KeyboardModifiers, int> cases[] = {
      {Qt::NoModifier, 0},
      {Qt::ControlModifier, 1},
      {Qt::ShiftModifier, 2},
      {Qt::AltModifier, 4},
      {Qt::ControlModifier | Qt::ShiftModifier, 3},
      {Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, 7},
      {Qt::MetaModifier, 0},
  };
  for (const auto& [mods, keys] : cases) {
    SCOPED_TRACE(keys);
    QSignalSpy pressed(canvas, &Canvas::mousePressed);
    QSignalSpy moved(canvas, &Canvas::mouseMoved);
    QSignalSpy released(canvas, &Canvas::mouseReleased);
    QTest::mousePress(win(), Qt::LeftButton, mods, at(7, 8));
    QTest::mouseMove(win(), at(9, 8));
    QTest::mouseRelease(win(), Qt::LeftButton, mods, at(9, 8));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed[0], (QList<QVariant>{7, 8, keys}));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0], (QList<QVariant>{9, 8, keys}));
    ASSERT_GE(moved.count(), 1);
    EXPECT_EQ(moved.last()[0].toInt(), 9);
  }
}

TEST_F(CanvasMouse, MovesWithoutAButtonAreEventsToo) {
  QSignalSpy moved(canvas, &Canvas::mouseMoved);
  QTest::mouseMove(win(), at(100, 50));
  QTest::mouseMove(win(), at(101, 52));
  ASSERT_GE(moved.count(), 1);
  EXPECT_EQ(moved.last(), (QList<QVariant>{101, 52, 0}));
}

TEST_F(CanvasMouse, NoCaptureMovesOutsideGoToTheWidgetUnderThePointerAndReleaseOutsideIsNotTheCanvas) {
  QSignalSpy moved(canvas, &Canvas::mouseMoved);
  QSignalSpy released(canvas, &Canvas::mouseReleased);
  QTest::mousePress(win(), Qt::LeftButton, {}, at(250, 20));
  QTest::mouseMove(win(), at(252, 20));
  const int movesInside = moved.count();
  ASSERT_GE(movesInside, 1);

  other->moves.clear();
  window.moves.clear();
  QTest::mouseMove(win(), QPoint(320, 30));  // over the other control
  QTest::mouseMove(win(), QPoint(330, 35));
  QTest::mouseMove(win(), QPoint(290, 200));  // over the window's own background
  EXPECT_EQ(moved.count(), movesInside) << "no move events from the canvas while the pointer is outside";
  ASSERT_EQ(other->moves.size(), 2u);
  EXPECT_EQ(other->moves[0], QPoint(20, 20));
  EXPECT_EQ(other->moves[1], QPoint(30, 25));
  ASSERT_FALSE(window.moves.empty());
  EXPECT_EQ(window.moves.back(), QPoint(290, 200));

  QTest::mouseMove(win(), at(200, 100));  // back over the canvas, button still held
  ASSERT_EQ(moved.count(), movesInside + 1);
  EXPECT_EQ(moved.last(), (QList<QVariant>{200, 100, 0}));

  QTest::mouseMove(win(), QPoint(320, 30));
  QTest::mouseRelease(win(), Qt::LeftButton, {}, QPoint(320, 30));
  EXPECT_EQ(released.count(), 0) << "a release outside gives the canvas nothing";
}

}  // namespace
}  // namespace tavo
