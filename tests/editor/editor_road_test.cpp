// The whole road through the real modal loop: pictures chosen and converted
// on the main window, the editor opened by the 编辑 button, cells painted
// with both pens by mouse, 确定, then saving; the saved file holds exactly the
// converted icon with the painted pixels and mask bits.
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "app/application.h"
#include "editor_fixture.h"
#include "support/bitmap_file.h"

namespace tavo::testing {
namespace {

void writeFile(const QString& path, const Bytes& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

Bytes readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray a = f.readAll();
  return Bytes(a.begin(), a.end());
}

EditorWindow* shownEditor() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("图标编辑") && w->isVisible()) return static_cast<EditorWindow*>(w);
  return nullptr;
}

// Offsets in the two-image file of a 1-based (column, row from the top) pixel.
std::size_t pixelAt(int n, int column, int row) {
  return (n == 16 ? 78 : 950) + static_cast<std::size_t>((n - row) * 3 * n + 3 * (column - 1));
}
std::size_t maskByteAt(int n, int column, int row) {
  return (n == 16 ? 846 : 4022) + static_cast<std::size_t>((n - row) * 4 + (column - 1) / 8);
}
std::uint8_t maskBit(int column) { return static_cast<std::uint8_t>(0x80 >> ((column - 1) % 8)); }

TEST(EditorRoad, ConvertEditCommitSave) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  AppState& state = app.state();
  MainWindow& main = app.mainWindow();
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // 4x4 pictures: stretched to 16x16 and 32x32 every source pixel becomes a
  // uniform block, so the converted pixels are known exactly.
  writeFile(dir.filePath("a.bmp"), bmp24(4, 4, [](int x, int y) { return makeColour(40 * x, 50 * y, 200); }));
  writeFile(dir.filePath("b.bmp"), bmp24(4, 4, [](int x, int y) { return makeColour(10, 30 * x, 60 * y); }));
  QTest::mouseClick(main.单选框3, Qt::LeftButton);
  dialogs.fileAnswers = {dir.filePath("a.bmp"), dir.filePath("b.bmp")};
  QTest::mouseClick(main.选择图片, Qt::LeftButton);
  QTest::mouseClick(main.转换, Qt::LeftButton);
  ASSERT_EQ(state.outputIcon.size(), 4150u);
  const Bytes converted = state.outputIcon;
  ASSERT_EQ(converted[pixelAt(16, 5, 1) + 2], 40) << "red of source pixel (1, 0)";
  dialogs.boxes.clear();

  bool edited = false;
  QTimer::singleShot(0, [&] {
    EditorWindow* e = shownEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(main.isEnabled());
    QWindow* window = e->windowHandle();
    const QPoint grid(7, 7);  // 画板1's drawable (0, 0) in the window
    // Palette pen, red: a drag over columns 4 and 5 of row 3 (16-pixel cells).
    QTest::mouseClick(e->单选框2, Qt::LeftButton);
    EXPECT_TRUE(e->颜色选择器1->isVisible());
    e->颜色选择器1->setColour(0x000000FF);
    QTest::mousePress(window, Qt::LeftButton, {}, grid + QPoint(3 * 16 + 4, 2 * 16 + 4));
    QTest::mouseMove(window, grid + QPoint(4 * 16 + 4, 2 * 16 + 4));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grid + QPoint(4 * 16 + 4, 2 * 16 + 4));
    // The 32x32 grid, transparent pen, the bottom-right cell.
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(270 + 80, 6 + 75));  // 标签2
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(270 + 80, 6 + 75));
    EXPECT_EQ(state.editSize, 2);
    QTest::mouseClick(e->单选框1, Qt::LeftButton);
    QTest::mouseClick(window, Qt::LeftButton, {}, grid + QPoint(255, 255));
    QTest::mouseClick(e->按钮1, Qt::LeftButton);
    edited = true;
  });
  QTest::mouseClick(main.编辑, Qt::LeftButton);  // wired to clicked_编辑 by the application
  ASSERT_TRUE(edited);
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(shownEditor(), nullptr);

  // Opening again and leaving with Esc changes nothing.
  const Bytes committed = state.outputIcon;
  QTimer::singleShot(0, [&] {
    if (EditorWindow* e = shownEditor()) QTest::keyClick(e, Qt::Key_Escape);
  });
  QTest::mouseClick(main.编辑, Qt::LeftButton);  // wired to clicked_编辑 by the application
  EXPECT_EQ(state.outputIcon, committed);
  EXPECT_TRUE(dialogs.boxes.empty());

  dialogs.fileAnswers = {dir.filePath("edited.ico")};
  QTest::mouseClick(main.保存, Qt::LeftButton);
  const Bytes saved = readFile(dir.filePath("edited.ico"));

  Bytes expected = converted;
  for (int column : {4, 5}) {
    expected[pixelAt(16, column, 3)] = 0x00;
    expected[pixelAt(16, column, 3) + 1] = 0x00;
    expected[pixelAt(16, column, 3) + 2] = 0xFF;
  }
  for (int i = 0; i < 3; ++i) expected[pixelAt(32, 32, 32) + i] = 0x00;
  expected[maskByteAt(32, 32, 32)] |= maskBit(32);
  EXPECT_EQ(saved, expected);
  EXPECT_EQ(saved[4025], 0x01) << "the bottom-right mask bit of the 32x32 image";
  EXPECT_TRUE(state.outputIcon.empty()) << "saving empties it";
}

}  // namespace
}  // namespace tavo::testing
