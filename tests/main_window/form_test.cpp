// The main window's frame and its 19 controls as the user finds them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "fixtures.h"

namespace tavo::testing {
namespace {

struct ControlRow {
  const char* name;
  const char* kind;    // Qt class
  const char* parent;  // object name of the parent; "" for the window
  QRect place;
  const char* text;    // caption, "" for none
  bool hiddenAtStart;
};

// Places are relative to the parent: the client area or the group box.
const ControlRow kControls[] = {
    {"分组框2", "QGroupBox", "", {6, 18, 114, 198}, "图像文件预览", false},
    {"位图画板1", "tavo::Canvas", "分组框2", {15, 18, 84, 84}, "", false},
    {"位图画板2", "tavo::Canvas", "分组框2", {15, 105, 84, 84}, "", false},
    {"分组框3", "QGroupBox", "", {132, 18, 114, 102}, "图标效果", false},
    {"图标画板1", "tavo::Canvas", "分组框3", {12, 30, 16, 16}, "", false},
    {"图标画板2", "tavo::Canvas", "分组框3", {12, 60, 32, 32}, "", false},
    {"标签1", "QLabel", "分组框3", {60, 31, 42, 18}, "16\u00D716", true},
    {"标签2", "QLabel", "分组框3", {60, 69, 42, 18}, "32\u00D732", true},
    {"分组框1", "QGroupBox", "", {132, 132, 114, 84}, "图标格式", false},
    {"单选框1", "QRadioButton", "分组框1", {6, 21, 84, 18}, "单16\u00D716", false},
    {"单选框2", "QRadioButton", "分组框1", {6, 39, 84, 18}, "单32\u00D732", false},
    {"单选框3", "QRadioButton", "分组框1", {6, 57, 102, 18}, "16\u00D716,32\u00D732", false},
    {"选择图片", "QPushButton", "", {258, 24, 66, 24}, "选择图片", false},
    {"转换", "QPushButton", "", {258, 53, 66, 24}, "转\u3000\u3000换", false},
    {"编辑", "QPushButton", "", {258, 82, 66, 24}, "编\u3000\u3000辑", false},
    {"保存", "QPushButton", "", {258, 111, 66, 24}, "保存图标", false},
    {"清除", "QPushButton", "", {258, 140, 66, 24}, "清    除", false},
    {"退出", "QPushButton", "", {258, 186, 66, 24}, "退\u3000\u3000出", false},
};

QString textOf(QWidget* w) {
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  return QString();
}

TEST_F(MainWindowTest, EveryControlHasItsNameKindParentPlaceTextAndStartState) {
  window->show();
  int widgets = 0;
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    auto* w = window->findChild<QWidget*>(QString::fromUtf8(row.name));
    ASSERT_NE(w, nullptr);
    ++widgets;
    EXPECT_STREQ(w->metaObject()->className(), row.kind);
    QWidget* parent = *row.parent ? window->findChild<QWidget*>(QString::fromUtf8(row.parent)) : window.get();
    EXPECT_EQ(w->parentWidget(), parent);
    EXPECT_EQ(w->geometry(), row.place);
    EXPECT_EQ(textOf(w), QString::fromUtf8(row.text));
    EXPECT_EQ(w->isHidden(), row.hiddenAtStart);
    EXPECT_TRUE(w->isEnabled());
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      EXPECT_FALSE(radio->isChecked());
      EXPECT_NE(radio->focusPolicy() & Qt::TabFocus, 0);
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      EXPECT_FALSE(button->isDefault());
      EXPECT_FALSE(button->autoDefault());
      EXPECT_NE(button->focusPolicy() & Qt::TabFocus, 0);
    }
  }
  EXPECT_EQ(widgets, 18);  // and the file dialog control, which has no widget

  // The members are the same controls the object names find.
  EXPECT_EQ(window->位图画板1, window->findChild<Canvas*>(QStringLiteral("位图画板1")));
  EXPECT_EQ(window->图标画板2, window->findChild<Canvas*>(QStringLiteral("图标画板2")));
  EXPECT_EQ(window->单选框3, window->findChild<QRadioButton*>(QStringLiteral("单选框3")));
  EXPECT_EQ(window->退出, window->findChild<QPushButton*>(QStringLiteral("退出")));
}

TEST_F(MainWindowTest, CanvasesHaveTheirFormSettings) {
  struct {
    Canvas* canvas;
    int size;
    bool autoRedraw;
  } rows[] = {{window->位图画板1, 84, false},
              {window->位图画板2, 84, false},
              {window->图标画板1, 16, true},
              {window->图标画板2, 32, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.canvas->objectName().toStdString());
    EXPECT_EQ(row.canvas->border(), Canvas::Border::None);
    EXPECT_EQ(row.canvas->drawableWidth(), row.size);
    EXPECT_EQ(row.canvas->drawableHeight(), row.size);
    EXPECT_EQ(row.canvas->size(), QSize(row.size, row.size));
    EXPECT_EQ(row.canvas->autoRedraw(), row.autoRedraw);
    EXPECT_EQ(row.canvas->backColour(), kDefaultColour);
    EXPECT_EQ(row.canvas->pictureMode(), 2);
    EXPECT_TRUE(row.canvas->picture().empty());
    EXPECT_EQ(row.canvas->pen().style, PenStyle::Solid);
    EXPECT_EQ(row.canvas->pen().colour, 0x00000000u);
    EXPECT_FALSE(row.canvas->brushHollow());
    EXPECT_EQ(row.canvas->brushColour(), 0x00FFFFFFu);
    EXPECT_EQ(row.canvas->focusPolicy(), Qt::NoFocus);
  }
  // The icon canvases capture exactly their icon size, also while hidden.
  window->图标画板1->hide();
  EXPECT_EQ(window->图标画板1->capture().size(), 54u + 768u);
  EXPECT_EQ(window->图标画板2->capture().size(), 54u + 3072u);
}

TEST_F(MainWindowTest, EmptyCanvasesLookLikePlainBackground) {
  window->show();
  const QImage image = window->grab().toImage();
  ASSERT_EQ(image.size(), QSize(334, 228));
  const QRgb background = image.pixel(250, 8);  // the window outside every control
  struct {
    const char* what;
    QPoint at;  // window coordinates
  } points[] = {{"inside 位图画板1", {6 + 15 + 42, 18 + 18 + 42}},
                {"inside 图标画板2", {132 + 12 + 16, 18 + 60 + 16}},
                {"inside 图标画板1", {132 + 12 + 8, 18 + 30 + 8}},
                {"分组框2 beside its canvases", {6 + 8, 18 + 100}},
                {"分组框3 between its labels", {132 + 80, 18 + 58}}};
  for (const auto& p : points)
    EXPECT_EQ(image.pixel(p.at), background) << p.what;
}

TEST_F(MainWindowTest, WindowFrameTitleSizeAndIcon) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("TavoICO图标提取器 1.0"));
  // 340 x 253 outside, less a 3-pixel frame and a 19-pixel title bar.
  EXPECT_EQ(window->minimumSize(), QSize(334, 228));
  EXPECT_EQ(window->maximumSize(), QSize(334, 228));
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Window));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::Tool));

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window->pos(), QPoint(screen.x() + (screen.width() - 340) / 2, screen.y() + (screen.height() - 253) / 2));

  const QList<QSize> sizes = window->windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST_F(MainWindowTest, FileDialogControlHasItsFormValues) {
  const FileDialogSettings& s = window->通用对话框1.settings;
  EXPECT_EQ(s.type, 0);
  EXPECT_TRUE(s.title.isEmpty());
  EXPECT_TRUE(s.fileName.isEmpty());
  EXPECT_EQ(s.filter, QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png"));
  EXPECT_EQ(s.filterIndex, 0);
  EXPECT_TRUE(s.initialDir.isEmpty());
  EXPECT_TRUE(s.defaultExt.isEmpty());
  EXPECT_TRUE(s.fileMustExist);
  EXPECT_TRUE(s.pathMustExist);
  EXPECT_TRUE(s.overwritePrompt);
  EXPECT_FALSE(s.createPrompt);
  EXPECT_FALSE(s.noChangeDir);
}

TEST(MainWindowCreated, EmptiesTheOutputIcon) {
  AppState state;
  state.outputIcon = Bytes(894, 1);
  ScriptedDialogs dialogs;
  MainWindow window(state, dialogs);
  EXPECT_TRUE(state.outputIcon.empty());
}

TEST_F(MainWindowTest, FormatButtonsAreOneGroupThatStartsUnchecked) {
  window->show();
  QTest::mouseClick(window->单选框2, Qt::LeftButton);
  EXPECT_TRUE(window->单选框2->isChecked());
  QTest::mouseClick(window->单选框2, Qt::LeftButton);  // clicking the checked one keeps it
  EXPECT_TRUE(window->单选框2->isChecked());
  QTest::mouseClick(window->单选框3, Qt::LeftButton);
  EXPECT_TRUE(window->单选框3->isChecked());
  EXPECT_FALSE(window->单选框2->isChecked());
  EXPECT_FALSE(window->单选框1->isChecked());
  EXPECT_TRUE(dialogs.boxes.empty());  // no handler reacts to the choice
}

TEST_F(MainWindowTest, EnterDoesNothingWhicheverControlHasTheFocus) {
  window->show();
  QApplication::setActiveWindow(window.get());
  state.outputIcon.clear();
  // 保存 and 选择图片 would show a warning if Enter clicked them.
  for (QWidget* w : std::initializer_list<QWidget*>{window->选择图片, window->转换, window->编辑, window->保存,
                                                   window->清除, window->退出, window->单选框1}) {
    SCOPED_TRACE(w->objectName().toStdString());
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_Enter);
    EXPECT_TRUE(window->isVisible());
  }
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_FALSE(window->单选框1->isChecked());
}

TEST_F(MainWindowTest, SpaceOnAFocusedButtonClicksIt) {
  window->show();
  QApplication::setActiveWindow(window.get());
  window->保存->setFocus();
  QTest::keyClick(window->保存, Qt::Key_Space);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("输出图标为空，不能被保存！"));
}

TEST_F(MainWindowTest, EscClosesTheWindowFromAnyControl) {
  for (QWidget* w : std::initializer_list<QWidget*>{window.get(), window->转换, window->单选框2}) {
    window->show();
    QApplication::setActiveWindow(window.get());
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << w->objectName().toStdString();
  }
}

}  // namespace
}  // namespace tavo::testing
