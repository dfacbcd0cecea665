// The editor window as its form defines it: frame, controls, settings, the
// keyboard (Enter is always 确定, Esc closes without committing) and which
// controls count as the window's own area for mouse moves.
#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "editor_fixture.h"

namespace tavo::testing {
namespace {

TEST_F(EditorTest, FrameIsFixedCentredOwnedAndTitled) {
  EditorWindow& e = openEditor(Format::Only16);
  EXPECT_EQ(e.windowTitle(), QStringLiteral("图标编辑"));
  EXPECT_EQ(e.size(), QSize(403, 275));
  EXPECT_EQ(e.minimumSize(), e.maximumSize());
  const Qt::WindowFlags flags = e.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(e.pos(), QPoint((screen.width() - 409) / 2, (screen.height() - 300) / 2));
  // Owned by the main window (no task-bar entry), yet not its child widget:
  // the modal opening disables the main window, and a child would go with it.
  ASSERT_NE(e.windowHandle(), nullptr);
  EXPECT_EQ(e.windowHandle()->transientParent(), main->windowHandle());
  main->setEnabled(false);
  EXPECT_TRUE(e.isEnabled());
  main->setEnabled(true);
}

TEST_F(EditorTest, ControlsHaveTheirParentsPlacesTextsAndStartStates) {
  // Before the created handler hides or recolours anything.
  converted(Format::Both);
  editor = std::make_unique<EditorWindow>(state, *main, dialogs);
  EditorWindow& e = *editor;
  struct Row {
    const char* name;
    const char* parent;
    QRect place;
    QString text;
    bool visible;
  };
  const Row rows[] = {
      {"画板1", "图标编辑", {6, 6, 258, 258}, {}, true},
      {"外形框1", "图标编辑", {270, 6, 126, 108}, {}, true},
      {"画板2", "外形框1", {18, 15, 22, 22}, {}, true},
      {"标签1", "外形框1", {60, 15, 46, 24}, QStringLiteral("16x16 true"), true},
      {"外形框2", "外形框1", {7, 53, 113, 2}, {}, true},
      {"画板3", "外形框1", {12, 62, 38, 38}, {}, true},
      {"标签2", "外形框1", {60, 70, 46, 24}, QStringLiteral("32x32 true"), true},
      {"分组框1", "图标编辑", {270, 120, 126, 36}, QStringLiteral("画笔颜色"), true},
      {"单选框1", "分组框1", {6, 14, 56, 18}, QStringLiteral("透明色"), true},
      {"单选框2", "分组框1", {66, 14, 56, 18}, QStringLiteral("调色板"), true},
      {"颜色选择器1", "图标编辑", {288, 162, 90, 24}, {}, false},
      {"按钮1", "图标编辑", {278, 232, 50, 24}, QStringLiteral("确定"), true},
      {"按钮2", "图标编辑", {344, 232, 50, 24}, QStringLiteral("取消"), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* w = e.findChild<QWidget*>(QString::fromUtf8(row.name));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf8(row.parent));
    EXPECT_EQ(w->geometry(), row.place);
    EXPECT_EQ(w->isVisibleTo(&e), row.visible);
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->text(), row.text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_EQ(button->text(), row.text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      EXPECT_EQ(group->title(), row.text);
    }
  }
  EXPECT_TRUE(e.单选框1->isChecked());
  EXPECT_FALSE(e.单选框2->isChecked());
  EXPECT_EQ(e.颜色选择器1->colour(), 0x00FFFFFFu);
  EXPECT_FALSE(e.颜色选择器1->allowTransparent());
  EXPECT_TRUE(e.按钮1->isDefault());
  EXPECT_FALSE(e.按钮2->isDefault());
}

TEST_F(EditorTest, CanvasesHaveTheirBordersColoursPensAndBrushes) {
  converted(Format::Both);
  editor = std::make_unique<EditorWindow>(state, *main, dialogs);
  EditorWindow& e = *editor;
  struct Row {
    Canvas* canvas;
    int drawable;
    Canvas::Border border;
    Colour back;
    PenStyle penStyle;
    Colour pen;
    bool hollow;
    Colour text;
  };
  const Row rows[] = {
      {e.画板1, 256, Canvas::Border::ThinSunken, 0x00A75450, PenStyle::Dotted, 0x0080A080, false, 0x00FFFFFF},
      {e.画板2, 16, Canvas::Border::RaisedFrame, kDefaultColour, PenStyle::Solid, 0, false, 0},
      {e.画板3, 32, Canvas::Border::RaisedFrame, kDefaultColour, PenStyle::Solid, 0, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.canvas->objectName().toStdString());
    EXPECT_EQ(row.canvas->drawableWidth(), row.drawable);
    EXPECT_EQ(row.canvas->drawableHeight(), row.drawable);
    EXPECT_EQ(row.canvas->border(), row.border);
    EXPECT_TRUE(row.canvas->autoRedraw());
    EXPECT_EQ(row.canvas->pictureMode(), 1);
    EXPECT_EQ(row.canvas->backColour(), row.back);
    EXPECT_EQ(row.canvas->pen().style, row.penStyle);
    EXPECT_EQ(row.canvas->pen().colour, row.pen);
    EXPECT_EQ(row.canvas->brushHollow(), row.hollow);
    EXPECT_EQ(row.canvas->textColour(), row.text);
    EXPECT_EQ(row.canvas->textBackColour(), kDefaultColour);
    EXPECT_EQ(row.canvas->focusPolicy(), Qt::NoFocus);
  }
  EXPECT_EQ(e.画板1->brushColour(), 0x00FFFFFFu);
  EXPECT_EQ(e.画板2->brushColour(), 0x00FFFFFFu);
  EXPECT_EQ(e.画板1->backing().colourAt(128, 128), 0x00A75450u);
}

TEST_F(EditorTest, LabelsKeepTheDefaultColourAndWrapCentred) {
  converted(Format::Both);
  editor = std::make_unique<EditorWindow>(state, *main, dialogs);
  for (SizeLabel* label : {editor->标签1, editor->标签2}) {
    EXPECT_EQ(label->backColour(), kDefaultColour);
    EXPECT_EQ(label->textColour(), 0x00000000u);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    // Painted as the button face, like the window around it.
    EXPECT_EQ(label->palette().color(QPalette::Window), QPalette().color(QPalette::Button));
  }
}

TEST_F(EditorTest, PenPointerIsATwoColourNibWithItsPointAtTheHotSpot) {
  EditorWindow& e = openEditor(Format::Only16);
  const QCursor cursor = e.画板1->cursor();
  ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
  const QImage colour = cursor.bitmap().toImage().convertToFormat(QImage::Format_Mono);
  const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_Mono);
  ASSERT_EQ(colour.size(), QSize(32, 32));
  auto shown = [&](int x, int y) { return mask.pixelIndex(x, y) == 1; };
  auto black = [&](int x, int y) { return colour.pixelIndex(x, y) == 1; };
  EXPECT_TRUE(shown(0, 0) && black(0, 0)) << "the point is the hot spot, in the black outline";
  EXPECT_FALSE(shown(31, 0));
  EXPECT_FALSE(shown(0, 31));
  int whites = 0, blacks = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (shown(x, y)) (black(x, y) ? blacks : whites)++;
  EXPECT_GT(whites, 20) << "white inside";
  EXPECT_GT(blacks, 20) << "black outline";
  // Slanted: it runs along the diagonal from the point.
  EXPECT_TRUE(shown(12, 12));
  EXPECT_FALSE(shown(12, 0));
}

TEST_F(EditorTest, FrameShapesHaveTheSunkenLook) {
  EditorWindow& e = openEditor(Format::Both);
  const QImage line = e.外形框2->grab().toImage();
  ASSERT_EQ(line.size(), QSize(113, 2));
  EXPECT_EQ(line.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(line.pixelColor(60, 0), QColor(Qt::black));
  EXPECT_EQ(line.pixelColor(60, 1), QColor(Qt::white));
  EXPECT_EQ(line.pixelColor(112, 1), QColor(Qt::white));

  // Grabbing a container grabs its children too; test the edges.
  const QImage box = e.外形框1->grab().toImage();
  EXPECT_EQ(box.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(box.pixelColor(124, 106), QColor(Qt::black));
  EXPECT_EQ(box.pixelColor(125, 107), QColor(Qt::white));
  EXPECT_EQ(box.pixelColor(125, 50), QColor(Qt::white));
  EXPECT_EQ(box.pixelColor(1, 50), QColor(Qt::white));
  EXPECT_EQ(box.pixelColor(3, 30), QPalette().color(QPalette::Button)) << "no fill";
}

// Enter is 确定 whatever control has the focus; it commits and closes.
TEST_F(EditorTest, EnterCommitsWhicheverControlHasTheFocus) {
  for (const char* focus : {"按钮2", "按钮1", "单选框1", "单选框2", "颜色选择器1"}) {
    SCOPED_TRACE(focus);
    openEditor(Format::Only16);
    editor->颜色选择器1->show();
    showEditor();
    clickGrid(0, 0);  // an edit to commit
    QWidget* target = editor->findChild<QWidget*>(QString::fromUtf8(focus));
    dialogs.boxes.clear();
    target->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), target);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    EXPECT_EQ(state.outputIcon, state.workIcon16);
    EXPECT_NE(state.outputIcon, convertedIcon(Format::Only16, state.pixels16, state.pixels32));
    QApplication::processEvents();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(dialogs.boxes.empty());
    editor.reset();
  }
}

TEST_F(EditorTest, EscClosesWithoutQuestionAndWithoutCommit) {
  openEditor(Format::Both);
  showEditor();
  const Bytes before = state.outputIcon;
  clickGrid(100, 100);
  editor->按钮2->setFocus();
  QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(state.outputIcon, before);
  EXPECT_TRUE(dialogs.boxes.empty());
}

// The window's own mouse-moved event ends a stroke. Moves are delivered as
// the platform delivers them: to the window, which routes them to the
// control under the pointer.
TEST_F(EditorTest, OnlyTheWindowsOwnAreaAndTheGroupBoxEndAStroke) {
  openEditor(Format::Only16);
  showEditor();
  QWindow* window = editor->windowHandle();
  struct Row {
    const char* where;
    QPoint at;  // in the window's client area
    bool ends;
  };
  const Row rows[] = {
      {"the gap between 画板1 and 外形框1", {267, 60}, true},
      {"the left margin", {2, 100}, true},
      {"below the buttons", {300, 270}, true},
      {"the group box frame", {272, 150}, true},
      {"the group box caption", {300, 124}, true},
      {"外形框1 itself", {270 + 50, 6 + 45}, false},
      {"外形框2", {270 + 60, 6 + 53}, false},
      {"标签1", {270 + 80, 6 + 20}, false},
      {"画板2", {270 + 28, 6 + 25}, false},
      {"画板1's border", {6, 100}, false},
      {"单选框2", {270 + 90, 120 + 22}, false},
      {"按钮1", {300, 240}, false},
      {"按钮2", {360, 240}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    state.penDown = true;
    QTest::mouseMove(window, row.at);
    EXPECT_EQ(state.penDown, !row.ends);
  }
  editor->颜色选择器1->show();
  state.penDown = true;
  QTest::mouseMove(window, QPoint(300, 170));
  EXPECT_TRUE(state.penDown) << "the colour picker is a control";
}

}  // namespace
}  // namespace tavo::testing
