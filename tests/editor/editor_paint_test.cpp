// Painting on the magnified grid: which cell a press paints, what the cell,
// the grid element, the preview pixel and the working icon become with each
// pen, when the pen is chosen, and when a drag ends.
#include "editor_fixture.h"

namespace tavo::testing {
namespace {

struct PressCase {
  const char* name;
  Format format;
  QPoint press;
  int column, row;  // screen cell, 0-based from the top left
  bool palette;     // palette pen (else transparent)
};

inline void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class PressTest : public EditorTest, public ::testing::WithParamInterface<PressCase> {};

// The byte offsets of a one-image icon's pixel and mask bit (1-based column
// and row from the top), written out independently of the code under test.
struct IconSpot {
  std::size_t pixel, maskByte;
  std::uint8_t bit;
};
IconSpot spotOf(int n, int column, int row) {
  const std::size_t stored = static_cast<std::size_t>(n - row);
  const std::size_t maskAt = n == 16 ? 830 : 3134;
  return {62 + stored * 3 * n + 3 * static_cast<std::size_t>(column - 1),
          maskAt + stored * 4 + static_cast<std::size_t>((column - 1) / 8),
          static_cast<std::uint8_t>(0x80 >> ((column - 1) % 8))};
}

TEST_P(PressTest, PaintsTheCellUnderThePress) {
  const PressCase& c = GetParam();
  EditorWindow& e = openEditor(c.format);
  const bool size16 = c.format != Format::Only32;
  const int n = size16 ? 16 : 32, s = size16 ? 16 : 8;
  const Colour pen = 0x00123456;
  if (c.palette) usePalettePen(pen);
  const Colour cellColour = c.palette ? pen : 0x00A75450;
  const Colour previewColour = c.palette ? pen : 0x00FFFFFF;

  ColourGrid& grid = size16 ? state.grid16 : state.grid32;
  Bytes& icon = size16 ? state.workIcon16 : state.workIcon32;
  const ColourGrid gridBefore = grid;
  const Bytes iconBefore = icon;
  const Bitmap canvasBefore = e.画板1->backing();
  Canvas* preview = size16 ? e.画板2 : e.画板3;
  const Bitmap previewBefore = preview->backing();

  clickGrid(c.press.x(), c.press.y());

  // The cell rectangle (column*s, row*s, column*s+s+1, row*s+s+1): its inside
  // in the pen colour, nothing outside it changed.
  const int left = c.column * s, top = c.row * s;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const bool inside = x > left && x < left + s && y > top && y < top + s;
      const bool onOutline = !inside && x >= left && x <= left + s && y >= top && y <= top + s;
      const Colour now = e.画板1->backing().colourAt(x, y);
      if (inside)
        ASSERT_EQ(now, cellColour) << x << "," << y;
      else if (!onOutline)
        ASSERT_EQ(now, canvasBefore.colourAt(x, y)) << x << "," << y;
      else
        ASSERT_TRUE(now == 0x0080A080u || now == canvasBefore.colourAt(x, y)) << "dotted outline " << x << "," << y;
    }

  // Exactly one grid element: [n-1-row][column].
  ColourGrid expectedGrid = gridBefore;
  expectedGrid[n - 1 - c.row][c.column] = cellColour;
  EXPECT_EQ(grid, expectedGrid);

  // Exactly one preview pixel: (column, row).
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      ASSERT_EQ(preview->backing().colourAt(x, y),
                x == c.column && y == c.row ? previewColour : previewBefore.colourAt(x, y))
          << x << "," << y;

  // The working icon: 3 pixel bytes and 1 mask bit of (column+1, row+1).
  const IconSpot spot = spotOf(n, c.column + 1, c.row + 1);
  Bytes expectedIcon = iconBefore;
  if (c.palette) {
    expectedIcon[spot.pixel] = 0x12;  // blue, green, red of 0x00123456
    expectedIcon[spot.pixel + 1] = 0x34;
    expectedIcon[spot.pixel + 2] = 0x56;
    expectedIcon[spot.maskByte] &= static_cast<std::uint8_t>(~spot.bit);
  } else {
    expectedIcon[spot.pixel] = expectedIcon[spot.pixel + 1] = expectedIcon[spot.pixel + 2] = 0;
    expectedIcon[spot.maskByte] |= spot.bit;
  }
  EXPECT_EQ(icon, expectedIcon);
  // The other size's working icon and outputIcon stay as they were.
  EXPECT_EQ(size16 ? state.workIcon32 : state.workIcon16,
            c.format == Format::Both ? workIconFrom(template32(), state.pixels32) : Bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Presses, PressTest,
    ::testing::Values(PressCase{"TopLeft16", Format::Only16, {0, 0}, 0, 0, false},
                      PressCase{"BottomRight16", Format::Only16, {255, 255}, 15, 15, false},
                      PressCase{"SameCellAsTopLeft16", Format::Only16, {15, 15}, 0, 0, true},
                      PressCase{"RightNeighbour16", Format::Only16, {16, 0}, 1, 0, true},
                      PressCase{"BothFormatTopLeft", Format::Both, {0, 0}, 0, 0, true},
                      PressCase{"Column2Row1Of32", Format::Only32, {17, 9}, 2, 1, false},
                      PressCase{"Column2Row1Of32Palette", Format::Only32, {17, 9}, 2, 1, true},
                      PressCase{"BottomRight32", Format::Only32, {255, 255}, 31, 31, true}),
    [](const ::testing::TestParamInfo<PressCase>& info) { return std::string(info.param.name); });

TEST_F(EditorTest, PenAndColourAreChosenAtThePressOnly) {
  EditorWindow& e = openEditor(Format::Only16);
  // Press with the transparent pen, then choose the palette pen and a
  // colour while the button is held: the stroke keeps the transparent pen.
  QTest::mousePress(e.画板1, Qt::LeftButton, {}, QPoint(1, 1));
  usePalettePen(0x000000FF);
  QTest::mouseMove(e.画板1, QPoint(1 + 20, 1));
  EXPECT_EQ(state.grid16[15][1], 0x00A75450u);
  EXPECT_EQ(e.画板2->backing().colourAt(1, 0), 0x00FFFFFFu);
  const IconSpot spot = spotOf(16, 2, 1);
  EXPECT_EQ(state.workIcon16[spot.maskByte] & spot.bit, spot.bit) << "made transparent";
  QTest::mouseRelease(e.画板1, Qt::LeftButton, {}, QPoint(1 + 20, 1));

  // The next press uses the palette pen; a colour chosen later is used from
  // the press after that.
  QTest::mousePress(e.画板1, Qt::LeftButton, {}, QPoint(1 + 40, 1));
  e.颜色选择器1->setColour(0x0000FF00);
  QTest::mouseMove(e.画板1, QPoint(1 + 60, 1));
  QTest::mouseRelease(e.画板1, Qt::LeftButton, {}, QPoint(1 + 60, 1));
  EXPECT_EQ(state.grid16[15][2], 0x000000FFu);
  EXPECT_EQ(state.grid16[15][3], 0x000000FFu);
  clickGrid(80, 0);
  EXPECT_EQ(state.grid16[15][5], 0x0000FF00u);
  const IconSpot red = spotOf(16, 3, 1);
  EXPECT_EQ(state.workIcon16[red.pixel + 2], 0xFF);
  EXPECT_EQ(state.workIcon16[red.maskByte] & red.bit, 0);

  // Back to the transparent pen: the picker stays visible, the pen follows the radio.
  e.单选框1->click();
  EXPECT_TRUE(e.颜色选择器1->isVisibleTo(&e));
  clickGrid(80, 0);
  EXPECT_EQ(state.grid16[15][5], 0x00A75450u);
}

TEST_F(EditorTest, MovesPaintOnlyWhileThePenIsDown) {
  EditorWindow& e = openEditor(Format::Only16);
  const ColourGrid before = state.grid16;
  QTest::mouseMove(e.画板1, QPoint(50, 50));  // no button: a tracking move
  emit e.画板1->mouseMoved(50, 50, 0);
  EXPECT_EQ(state.grid16, before);
  EXPECT_FALSE(state.penDown);
  QTest::mousePress(e.画板1, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_TRUE(state.penDown);
  emit e.画板1->mouseMoved(100, 100, 0);
  EXPECT_EQ(state.grid16[15 - 6][6], 0x00A75450u);
  QTest::mouseRelease(e.画板1, Qt::LeftButton, {}, QPoint(101, 101));
  EXPECT_FALSE(state.penDown);
  const ColourGrid afterStroke = state.grid16;
  emit e.画板1->mouseMoved(200, 200, 0);
  EXPECT_EQ(state.grid16, afterStroke);
}

TEST_F(EditorTest, PositionsBeyondTheGridChangeNothing) {
  EditorWindow& e = openEditor(Format::Only16);
  const ColourGrid grid = state.grid16;
  const Bytes icon = state.workIcon16;
  const Bitmap canvas = e.画板1->backing();
  e.paintCell(256, 10);
  e.paintCell(10, 300);
  EXPECT_EQ(state.grid16, grid);
  EXPECT_EQ(state.workIcon16, icon);
  EXPECT_EQ(e.画板1->capture(), captureBitmap(canvas));
}

// The drag goes through the window as the platform delivers it, so Qt's
// implicit grab is in play: the canvas hands moves off the grid to whatever
// lies under the pointer.
TEST_F(EditorTest, DragOntoTheWindowBackgroundEndsTheStroke) {
  EditorWindow& e = openEditor(Format::Only16);
  usePalettePen(0x000000FF);
  showEditor();
  QWindow* window = e.windowHandle();
  const QPoint grid(7, 7);  // drawable (0, 0) of 画板1 in the window

  QTest::mousePress(window, Qt::LeftButton, {}, grid + QPoint(5, 5));
  QTest::mouseMove(window, grid + QPoint(20, 5));
  EXPECT_EQ(state.grid16[15][1], 0x000000FFu) << "the drag paints";

  // Onto a label and back, button held: a control, the stroke goes on.
  QTest::mouseMove(window, QPoint(270 + 80, 6 + 20));
  EXPECT_TRUE(state.penDown);
  QTest::mouseMove(window, grid + QPoint(40, 5));
  EXPECT_EQ(state.grid16[15][2], 0x000000FFu);

  // Onto the gap beside the grid: the window's own area ends the stroke.
  QTest::mouseMove(window, QPoint(267, 60));
  EXPECT_FALSE(state.penDown);
  const ColourGrid grid16 = state.grid16;
  const Bytes icon = state.workIcon16;
  const Bytes canvas = e.画板1->capture();
  QTest::mouseMove(window, grid + QPoint(100, 100));
  QTest::mouseMove(window, grid + QPoint(200, 150));
  QTest::mouseRelease(window, Qt::LeftButton, {}, grid + QPoint(200, 150));
  EXPECT_EQ(state.grid16, grid16) << "back on the grid, nothing more is painted";
  EXPECT_EQ(state.workIcon16, icon);
  EXPECT_EQ(e.画板1->capture(), canvas);
}

TEST_F(EditorTest, ReleaseOffTheGridGivesNoRelease) {
  EditorWindow& e = openEditor(Format::Only16);
  showEditor();
  QWindow* window = e.windowHandle();
  QTest::mousePress(window, Qt::LeftButton, {}, QPoint(7 + 5, 7 + 5));
  QTest::mouseMove(window, QPoint(300, 240));  // onto 按钮1, a control
  QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(300, 240));
  EXPECT_TRUE(state.penDown) << "the canvas saw no release";
  EXPECT_EQ(state.outputIcon, convertedIcon(Format::Only16, state.pixels16, state.pixels32))
      << "a drag onto 确定 is no click";
}

}  // namespace
}  // namespace tavo::testing
