// Opening the editor (the 编辑 button and the created handler), the grid,
// size switching, commit and cancel.
#include <QTimer>

#include "editor_fixture.h"

namespace tavo::testing {
namespace {

EditorWindow* openEditorWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("图标编辑") && w->isVisible()) return static_cast<EditorWindow*>(w);
  return nullptr;
}

TEST(GridFromPixels, BottomLeftTripleBecomesElementZeroZero) {
  Bytes block(768, 0);
  block[0] = 16;  // blue
  block[1] = 32;  // green
  block[2] = 48;  // red
  block[767] = 0xAB;  // red of the top-right pixel
  const ColourGrid grid = gridFromPixels(block, 16);
  ASSERT_EQ(grid.size(), 16u);
  ASSERT_EQ(grid[0].size(), 16u);
  EXPECT_EQ(grid[0][0], 0x00102030u);
  EXPECT_EQ(grid[15][15], 0x000000ABu);
  EXPECT_EQ(grid[0][1], 0u);
  const ColourGrid grid32 = gridFromPixels(patternPixels(32, 3), 32);
  EXPECT_EQ(grid32[31][30], makeColour(3 + 31 + 30, 5 * 30 + 2, 7 * 31 + 1));
}

struct OpeningCase {
  const char* name;
  Format format;
  int editSize;
  const char* highlighted;
  std::vector<const char*> hidden;
};

inline void PrintTo(const OpeningCase& c, std::ostream* os) { *os << c.name; }

class OpeningTest : public EditorTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningTest, CreatedHandlerShowsTheStartingSize) {
  const OpeningCase& c = GetParam();
  const ColourGrid untouched(1, std::vector<Colour>(1, 7));
  state.grid16 = state.grid32 = untouched;
  state.workIcon16 = state.workIcon32 = Bytes{1, 2, 3};
  EditorWindow& e = openEditor(c.format);

  EXPECT_EQ(state.labelBackColour, kDefaultColour);
  EXPECT_EQ(state.gridBackColour, 0x00A75450u);
  EXPECT_EQ(state.editSize, c.editSize);
  for (SizeLabel* label : {e.标签1, e.标签2}) {
    const bool lit = label->objectName() == QString::fromUtf8(c.highlighted);
    EXPECT_EQ(label->backColour(), lit ? 0x00FF0000u : kDefaultColour);
    EXPECT_EQ(label->textColour(), lit ? 0x00FFFFFFu : 0u);
  }
  for (const char* name : {"画板2", "标签1", "画板3", "标签2"}) {
    const bool hidden = std::find_if(c.hidden.begin(), c.hidden.end(), [&](const char* h) {
                          return std::string(h) == name;
                        }) != c.hidden.end();
    EXPECT_EQ(e.findChild<QWidget*>(QString::fromUtf8(name))->isVisibleTo(&e), !hidden) << name;
  }

  // The grid of the starting size, its bottom-left cell in the bottom-left corner.
  const int n = c.editSize == 1 ? 16 : 32, s = 256 / n;
  const ColourGrid& grid = c.editSize == 1 ? state.grid16 : state.grid32;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) ASSERT_EQ(cellInside(*e.画板1, s, j, i), grid[n - 1 - i][j]) << i << "," << j;
  const Bytes& block = c.editSize == 1 ? state.pixels16 : state.pixels32;
  EXPECT_EQ(cellInside(*e.画板1, s, 0, n - 1), makeColour(block[2], block[1], block[0]));

  // Working icons of the chosen sizes rebuilt and shown; the others untouched.
  const bool with16 = c.format != Format::Only32, with32 = c.format != Format::Only16;
  if (with16) {
    EXPECT_EQ(state.workIcon16, workIconFrom(template16(), state.pixels16));
    EXPECT_EQ(state.grid16, gridFromPixels(state.pixels16, 16));
    // 画板2 has the icon drawn at (0, 0): the top-left pixel is the last stored row's first.
    EXPECT_EQ(e.画板2->backing().colourAt(0, 0),
              makeColour(state.pixels16[15 * 48 + 2], state.pixels16[15 * 48 + 1], state.pixels16[15 * 48]));
    EXPECT_EQ(e.画板2->backing().colourAt(15, 15), makeColour(state.pixels16[47], state.pixels16[46], state.pixels16[45]));
  } else {
    EXPECT_EQ(state.workIcon16, (Bytes{1, 2, 3}));
    EXPECT_EQ(state.grid16, untouched);
  }
  if (with32) {
    EXPECT_EQ(state.workIcon32, workIconFrom(template32(), state.pixels32));
    EXPECT_EQ(state.grid32, gridFromPixels(state.pixels32, 32));
    EXPECT_EQ(e.画板3->picture(), state.workIcon32) << "the background picture";
    EXPECT_EQ(e.画板3->backing().colourAt(0, 0),
              makeColour(state.pixels32[31 * 96 + 2], state.pixels32[31 * 96 + 1], state.pixels32[31 * 96]));
  } else {
    EXPECT_EQ(state.workIcon32, (Bytes{1, 2, 3}));
    EXPECT_EQ(state.grid32, untouched);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, OpeningTest,
                         ::testing::Values(OpeningCase{"Only16", Format::Only16, 1, "标签1", {"画板3", "标签2"}},
                                           OpeningCase{"Only32", Format::Only32, 2, "标签2", {"画板2", "标签1"}},
                                           OpeningCase{"Both", Format::Both, 1, "标签1", {}}),
                         [](const ::testing::TestParamInfo<OpeningCase>& info) { return std::string(info.param.name); });

// A pixel on the grid's dotted lines that the pen leaves alone.
QPoint gapOf32Grid(EditorWindow& e) {
  for (int y = 1; y < 8; ++y)
    if (e.画板1->backing().colourAt(8, y) != 0x0080A080u) return {8, y};
  return {-1, -1};
}

TEST_F(EditorTest, DrawGridPaintsOverWhatTheCanvasShows) {
  EditorWindow& e = openEditor(Format::Only32);
  const QPoint gap = gapOf32Grid(e);
  ASSERT_NE(gap.x(), -1) << "the dotted pen has gaps";
  e.画板1->drawPoint(gap.x(), gap.y(), 0x00010203);
  e.drawGrid(2);
  EXPECT_EQ(e.画板1->backing().colourAt(gap.x(), gap.y()), 0x00010203u) << "not cleared first";
  // Every one of the 1024 cells has its own brush colour.
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j) ASSERT_EQ(cellInside(*e.画板1, 8, j, i), state.grid32[31 - i][j]);
  EXPECT_EQ(e.画板1->brushColour(), state.grid32[0][31]) << "the last cell drawn";
}

TEST_F(EditorTest, SizeLabelsSwitchGridsAndKeepEachSizesEdits) {
  EditorWindow& e = openEditor(Format::Both);
  usePalettePen(0x000000FF);
  clickGrid(0, 0);  // 16x16 top-left
  const QPoint gap = gapOf32Grid(e);

  QTest::mousePress(e.标签2, Qt::LeftButton);  // on button down, no click needed
  EXPECT_EQ(state.editSize, 2);
  EXPECT_EQ(e.标签2->backColour(), 0x00FF0000u);
  EXPECT_EQ(e.标签2->textColour(), 0x00FFFFFFu);
  EXPECT_EQ(e.标签1->backColour(), kDefaultColour);
  EXPECT_EQ(e.标签1->textColour(), 0u);
  EXPECT_EQ(e.画板1->backing().colourAt(gap.x(), gap.y()), 0x00A75450u) << "cleared first with both sizes";
  EXPECT_EQ(cellInside(*e.画板1, 8, 0, 0), state.grid32[31][0]);
  EXPECT_EQ(cellInside(*e.画板1, 8, 0, 0), gridFromPixels(state.pixels32, 32)[31][0]);

  clickGrid(17, 9);  // 32x32 column 2, row 1
  EXPECT_EQ(state.grid32[30][2], 0x000000FFu);
  EXPECT_EQ(e.画板3->backing().colourAt(2, 1), 0x000000FFu);
  EXPECT_EQ(state.workIcon32[62 + 30 * 96 + 6 + 2], 0xFF);
  EXPECT_EQ(state.grid16[15][2], gridFromPixels(state.pixels16, 16)[15][2]) << "the 16x16 grid is not painted";

  QTest::mousePress(e.标签1, Qt::LeftButton);
  EXPECT_EQ(state.editSize, 1);
  EXPECT_EQ(e.标签1->backColour(), 0x00FF0000u);
  EXPECT_EQ(e.标签2->backColour(), kDefaultColour);
  EXPECT_EQ(cellInside(*e.画板1, 16, 0, 0), 0x000000FFu) << "the cell painted before";
  EXPECT_EQ(cellInside(*e.画板1, 16, 1, 0), state.grid16[15][1]);
}

TEST_F(EditorTest, SizeLabelOfAOneSizeFormatRedrawsWithoutClearing) {
  EditorWindow& e = openEditor(Format::Only32);
  const QPoint gap = gapOf32Grid(e);
  e.画板1->drawPoint(gap.x(), gap.y(), 0x00010203);
  clickGrid(17, 9);
  QTest::mousePress(e.标签2, Qt::LeftButton);
  EXPECT_EQ(e.画板1->backing().colourAt(gap.x(), gap.y()), 0x00010203u);
  EXPECT_EQ(cellInside(*e.画板1, 8, 2, 1), 0x00A75450u);
  EXPECT_EQ(state.editSize, 2);
}

TEST_F(EditorTest, PaletteRadioShowsThePickerForGood) {
  EditorWindow& e = openEditor(Format::Only16);
  EXPECT_FALSE(e.颜色选择器1->isVisibleTo(&e));
  e.单选框1->click();
  EXPECT_FALSE(e.颜色选择器1->isVisibleTo(&e));
  e.单选框2->click();
  EXPECT_TRUE(e.颜色选择器1->isVisibleTo(&e));
  e.单选框1->click();
  EXPECT_TRUE(e.颜色选择器1->isVisibleTo(&e));
}

// Commit by format: what outputIcon and the main window's previews become.
class CommitTest : public EditorTest, public ::testing::WithParamInterface<Format> {};

TEST_P(CommitTest, OkCommitsTheWorkingIconsAndCloses) {
  const Format format = GetParam();
  EditorWindow& e = openEditor(format);
  showEditor();
  const Bytes converted = state.outputIcon;
  clickGrid(0, 0);  // transparent: the mask travels with the commit
  usePalettePen(0x00336699);
  clickGrid(255, 255);
  if (format == Format::Both) {
    QTest::mousePress(e.标签2, Qt::LeftButton);
    clickGrid(17, 9);
  }
  const Bytes pixels16 = state.pixels16, pixels32 = state.pixels32;
  QTest::mouseClick(e.按钮1, Qt::LeftButton);

  switch (format) {
    case Format::Only16:
      EXPECT_EQ(state.outputIcon, state.workIcon16);
      EXPECT_EQ(main->图标画板1->picture(), state.workIcon16);
      break;
    case Format::Only32:
      EXPECT_EQ(state.outputIcon, state.workIcon32);
      EXPECT_EQ(main->图标画板2->picture(), state.workIcon32);
      break;
    case Format::Both:
      ASSERT_EQ(state.outputIcon.size(), 4150u);
      EXPECT_TRUE(std::equal(converted.begin(), converted.begin() + 38, state.outputIcon.begin()));
      EXPECT_TRUE(std::equal(state.workIcon16.begin() + 22, state.workIcon16.end(), state.outputIcon.begin() + 38));
      EXPECT_TRUE(std::equal(state.workIcon32.begin() + 22, state.workIcon32.end(), state.outputIcon.begin() + 910));
      EXPECT_EQ(state.outputIcon[906] & 0x80, 0x80) << "the 16x16 top-left pixel's mask bit";
      EXPECT_EQ(main->图标画板1->picture(), state.workIcon16);
      EXPECT_EQ(main->图标画板2->picture(), state.workIcon32);
      break;
  }
  EXPECT_NE(state.outputIcon, converted);
  EXPECT_EQ(state.pixels16, pixels16) << "the pixel blocks are never written back";
  EXPECT_EQ(state.pixels32, pixels32);
  EXPECT_TRUE(e.isVisible()) << "the close comes after the handler";
  QApplication::processEvents();
  EXPECT_FALSE(e.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Formats, CommitTest, ::testing::Values(Format::Only16, Format::Only32, Format::Both),
                         [](const ::testing::TestParamInfo<Format>& info) {
                           return std::string(info.param == Format::Only16   ? "Only16"
                                              : info.param == Format::Only32 ? "Only32"
                                                                             : "Both");
                         });

TEST_F(EditorTest, CancelAsksAndClosesOnlyOnYes) {
  EditorWindow& e = openEditor(Format::Both);
  showEditor();
  const Bytes converted = state.outputIcon;
  clickGrid(30, 30);
  const ColourGrid edited = state.grid16;

  dialogs.boxAnswers = {mb::kNo};
  QTest::mouseClick(e.按钮2, Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0], (ShownBox{QStringLiteral("真的放弃编辑成果？"), 68, QStringLiteral("信息")}));
  EXPECT_TRUE(e.isVisible());
  EXPECT_EQ(state.grid16, edited) << "No keeps the edits";

  dialogs.boxAnswers = {mb::kYes};
  QTest::mouseClick(e.按钮2, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_FALSE(e.isVisible());
  EXPECT_EQ(state.outputIcon, converted);
  EXPECT_TRUE(main->图标画板1->picture().empty());
}

// The 编辑 button's refusals: they show their warning, open nothing and
// change nothing.
struct RefusalCase {
  const char* name;
  Format chosen;
  std::size_t outputSize, pixels16Size, pixels32Size;
  QString text;
};

inline void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class RefusalTest : public EditorTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, EditButtonRefusesWithAWarning) {
  const RefusalCase& c = GetParam();
  chooseFormat(c.chosen);
  state.outputIcon = Bytes(c.outputSize, 0);
  state.pixels16 = Bytes(c.pixels16Size, 9);
  state.pixels32 = Bytes(c.pixels32Size, 9);
  const ColourGrid grid(2, std::vector<Colour>(2, 5));
  state.grid16 = state.grid32 = grid;
  state.workIcon16 = state.workIcon32 = Bytes{4};
  state.editSize = 7;

  bool opened = false;
  QTimer::singleShot(0, [&] {
    if (EditorWindow* e = openEditorWindow()) {
      opened = true;
      e->close();
    }
  });
  clicked_编辑(state, *main, dialogs);
  QApplication::processEvents();

  EXPECT_FALSE(opened);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0], (ShownBox{c.text, 48, QStringLiteral("警告")}));
  EXPECT_EQ(state.grid16, grid);
  EXPECT_EQ(state.grid32, grid);
  EXPECT_EQ(state.workIcon16, Bytes{4});
  EXPECT_EQ(state.editSize, 7);
  EXPECT_EQ(state.outputIcon.size(), c.outputSize);
}

const QString kNotConverted = QStringLiteral("还未进行转换！");
const QString kMismatch = QStringLiteral("图标格式与转换结果不符，请重新转换！");

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(RefusalCase{"NothingConverted", Format::Both, 0, 768, 3072, kNotConverted},
                      RefusalCase{"BothChosenAfter16Only", Format::Both, 894, 768, 0, kMismatch},
                      RefusalCase{"BothChosenAfter32Only", Format::Both, 3262, 0, 3072, kMismatch},
                      RefusalCase{"BothChosenBlocksFromEarlierOneSizeConversions", Format::Both, 3262, 768, 3072,
                                  kMismatch},
                      RefusalCase{"Only32ChosenAfter16Only", Format::Only32, 894, 768, 0, kMismatch},
                      RefusalCase{"Only16ChosenAfter32Only", Format::Only16, 3262, 0, 3072, kMismatch}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(EditorTest, EditButtonWithNoFormatChosenRefuses) {
  state.outputIcon = template16();
  state.pixels16 = patternPixels(16, 1);
  clicked_编辑(state, *main, dialogs);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, kMismatch);
}

// A block left from an earlier conversion of another format is used as it is.
TEST_F(EditorTest, EditButtonUsesABlockLeftFromAnEarlierConversion) {
  converted(Format::Only16);
  chooseFormat(Format::Only32);  // pixels32 is from an earlier conversion
  bool opened = false;
  QTimer::singleShot(0, [&] {
    EditorWindow* e = openEditorWindow();
    opened = e != nullptr;
    if (e) e->close();
  });
  clicked_编辑(state, *main, dialogs);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(state.grid32, gridFromPixels(state.pixels32, 32));
}

// Through the 编辑 button and the modal loop: edit and commit, then open
// again: the converted pixels are back, and committing at once restores
// them in outputIcon.
TEST_F(EditorTest, ReopeningStartsAgainFromTheConvertedPixels) {
  converted(Format::Both);
  const Bytes convertedOutput = state.outputIcon;
  bool sawEditor = false;
  QTimer::singleShot(0, [&] {
    EditorWindow* e = openEditorWindow();
    ASSERT_NE(e, nullptr);
    sawEditor = true;
    EXPECT_FALSE(main->isEnabled()) << "the main window takes no input while the editor is open";
    e->单选框2->click();
    e->颜色选择器1->setColour(0x00FF00FF);
    QTest::mouseClick(e->画板1, Qt::LeftButton, {}, QPoint(1 + 40, 1 + 40));
    QTest::mousePress(e->标签2, Qt::LeftButton);
    QTest::mouseClick(e->画板1, Qt::LeftButton, {}, QPoint(1 + 40, 1 + 40));
    QTest::mouseClick(e->按钮1, Qt::LeftButton);
  });
  clicked_编辑(state, *main, dialogs);
  ASSERT_TRUE(sawEditor);
  EXPECT_TRUE(main->isEnabled());
  const Bytes edited = state.outputIcon;
  ASSERT_NE(edited, convertedOutput);
  EXPECT_EQ(state.grid16[15 - 2][2], 0x00FF00FFu);

  sawEditor = false;
  QTimer::singleShot(0, [&] {
    EditorWindow* e = openEditorWindow();
    ASSERT_NE(e, nullptr);
    sawEditor = true;
    EXPECT_EQ(state.grid16, gridFromPixels(state.pixels16, 16));
    EXPECT_EQ(state.grid32, gridFromPixels(state.pixels32, 32));
    EXPECT_EQ(state.workIcon16, workIconFrom(template16(), state.pixels16));
    EXPECT_EQ(state.workIcon32, workIconFrom(template32(), state.pixels32));
    EXPECT_EQ(cellInside(*e->画板1, 16, 2, 2), gridFromPixels(state.pixels16, 16)[13][2]);
    EXPECT_TRUE(e->单选框1->isChecked()) << "a fresh form";
    EXPECT_FALSE(e->颜色选择器1->isVisibleTo(e));
    QTest::keyClick(e, Qt::Key_Return);
  });
  clicked_编辑(state, *main, dialogs);
  ASSERT_TRUE(sawEditor);
  EXPECT_EQ(state.outputIcon, convertedOutput);
}

}  // namespace
}  // namespace tavo::testing
