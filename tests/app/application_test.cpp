// Start-up and the end of the run, in process: the real Application with
// scripted dialogs, its event loop ended by Esc or 退出.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/application.h"
#include "icon/templates.h"
#include "main_window/main_window.h"
#include "support/scripted_dialogs.h"

namespace tavo::testing {
namespace {

// Runs the application with `act` started once its loop runs; a run that
// does not end within 10 s ends with 99 and fails the test.
int runWith(Application& app, std::function<void()> act) {
  QTimer::singleShot(0, act);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(99); });
  guard.start(10000);
  return app.run();
}

Bytes bmp16(std::uint8_t seed) {
  Bytes b(54 + 768, 0);
  const std::uint8_t header[] = {'B', 'M', 0x36, 0x03, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                 16,  0,   0,    0,    16, 0, 0, 0, 1, 0, 24, 0};
  std::copy(std::begin(header), std::end(header), b.begin());
  for (std::size_t i = 54; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return b;
}

TEST(Application, StartsWithEmptyStateAndTheMainWindowShown) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  EXPECT_TRUE(app.state().outputIcon.empty());
  EXPECT_TRUE(app.state().grid16.empty());
  EXPECT_TRUE(app.state().grid32.empty());
  EXPECT_EQ(app.state().editSize, 0);
  bool shownWhileRunning = false;
  const int code = runWith(app, [&] {
    shownWhileRunning = app.mainWindow().isVisible();
    app.mainWindow().close();
  });
  EXPECT_TRUE(shownWhileRunning);
  EXPECT_EQ(code, 0);
}

TEST(Application, RightAfterStartSaveAndEditFindAnEmptyIcon) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  runWith(app, [&] {
    QTest::mouseClick(app.mainWindow().保存, Qt::LeftButton);
    QTest::mouseClick(app.mainWindow().编辑, Qt::LeftButton);  // wired to the editor
    app.mainWindow().close();
  });
  const std::vector<ShownBox> expected{
      {QStringLiteral("输出图标为空，不能被保存！"), 48, QStringLiteral("警告")},
      {QStringLiteral("还未进行转换！"), 48, QStringLiteral("警告")}};
  EXPECT_EQ(dialogs.boxes, expected);
}

TEST(Application, EscEndsTheRunWithCodeZeroAndTheRelease) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  const int code = runWith(app, [&] {
    app.state().pixels16 = Bytes(768, 1);
    app.state().workIcon32 = Bytes(3262, 2);
    QApplication::setActiveWindow(&app.mainWindow());
    QTest::keyClick(&app.mainWindow(), Qt::Key_Escape);
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(app.state().pixels16.empty());
  EXPECT_EQ(app.state().pixels16.capacity(), 0u);
  EXPECT_TRUE(app.state().workIcon32.empty());
}

TEST(Application, ExitEndsTheRunAtOnceWithAnUnsavedIcon) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  QTemporaryDir dir;
  QFile picture(dir.filePath("p.bmp"));
  ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
  const Bytes bmp = bmp16(3);
  picture.write(reinterpret_cast<const char*>(bmp.data()), static_cast<qint64>(bmp.size()));
  picture.close();
  bool convertedBeforeExit = false;
  const int code = runWith(app, [&] {
    MainWindow& w = app.mainWindow();
    w.单选框1->setChecked(true);
    dialogs.fileAnswers.push_back(picture.fileName());
    QTest::mouseClick(w.选择图片, Qt::LeftButton);
    QTest::mouseClick(w.转换, Qt::LeftButton);
    convertedBeforeExit = app.state().outputIcon.size() == 894;
    QTest::mouseClick(w.退出, Qt::LeftButton);
  });
  EXPECT_TRUE(convertedBeforeExit);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(dialogs.boxes.empty());  // no question
  EXPECT_TRUE(app.state().outputIcon.empty());
  EXPECT_TRUE(app.state().pixels16.empty());
}

TEST(Application, EndRunEndsNestedLoopsToo) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  bool nestedReturned = false;
  const int code = runWith(app, [&] {
    // As if a handler waited in a modal dialog when the run was ended.
    QEventLoop nested;
    QTimer::singleShot(0, [&] { app.endRun(); });
    nested.exec();
    nestedReturned = true;
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(nestedReturned);
}

// Select (through the scripted dialog), convert and save, as a user would
// with the buttons, and the file on disk holds the icon.
TEST(Application, PictureToIconFileEndToEnd) {
  ScriptedDialogs dialogs;
  Application app(&dialogs);
  QTemporaryDir dir;
  const Bytes small = bmp16(1);
  Bytes large(54 + 3072, 0);  // 32x32, 24 bits
  const std::uint8_t header[] = {'B', 'M', 0x36, 0x0C, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                 32,  0,   0,    0,    32, 0, 0, 0, 1, 0, 24, 0};
  std::copy(std::begin(header), std::end(header), large.begin());
  for (std::size_t i = 54; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 13 + 5);
  for (auto [name, bytes] : {std::pair{"s.bmp", &small}, std::pair{"l.bmp", static_cast<const Bytes*>(&large)}}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes->data()), static_cast<qint64>(bytes->size()));
  }
  const QString target = dir.filePath("out.ico");
  runWith(app, [&] {
    MainWindow& w = app.mainWindow();
    QTest::mouseClick(w.单选框3, Qt::LeftButton);
    dialogs.fileAnswers = {dir.filePath("s.bmp"), dir.filePath("l.bmp"), target};
    QTest::mouseClick(w.选择图片, Qt::LeftButton);
    QTest::mouseClick(w.转换, Qt::LeftButton);
    QTest::mouseClick(w.保存, Qt::LeftButton);
    w.close();
  });
  QFile saved(target);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  const Bytes file(bytes.begin(), bytes.end());
  Bytes expected = templateBoth();
  std::copy(small.begin() + 54, small.end(), expected.begin() + 78);
  std::copy(large.begin() + 54, large.end(), expected.begin() + 950);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(dialogs.boxes.size(), 2u);  // the two information boxes, no warning
}

}  // namespace
}  // namespace tavo::testing
