// The real tavoico binary of this build under Xvfb: its window appears with
// its title, and Esc ends the run with exit code 0 (through scripts/smoke).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

TEST(RealBinary, EscEndsTheRunWithCodeZero) {
  for (const char* tool : {"Xvfb", "xdotool", "xdpyinfo"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      GTEST_SKIP() << tool << " is not installed";
  // The test programs live in <build>/tests, the program in <build>.
  const QString binary = QCoreApplication::applicationDirPath() + QStringLiteral("/../tavoico");
  const QString smoke = QDir::cleanPath(QStringLiteral(TAVO_FIXTURES_DIR "/../../scripts/smoke"));
  ASSERT_TRUE(QFileInfo(binary).isExecutable()) << binary.toStdString();
  ASSERT_TRUE(QFileInfo(smoke).isExecutable()) << smoke.toStdString();

  QProcess run;
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(smoke, {binary});
  ASSERT_TRUE(run.waitForFinished(60000));
  const QString output = QString::fromUtf8(run.readAll());
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("window 'TavoICO图标提取器 1.0' is shown"))) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("exit code 0"))) << output.toStdString();
}

}  // namespace
