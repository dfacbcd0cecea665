// 保存, 清除 and the writing of an icon file.
#include <gtest/gtest.h>

#include <QDir>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fixtures.h"
#include "icon/templates.h"
#include "main_window/files.h"

namespace tavo::testing {
namespace {

const ShownBox kNothingToSave{QStringLiteral("输出图标为空，不能被保存！"), 48, QStringLiteral("警告")};
const ShownBox kEmptyName{QStringLiteral("文件名称不能为空！"), 48, QStringLiteral("警告")};
const ShownBox kSaveFailed{QStringLiteral("图标文件保存失败！"), 48, QStringLiteral("警告")};
const ShownBox kNoPicture{QStringLiteral("你还未载入图像文件！"), 48, QStringLiteral("警告")};

class SaveTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    window->show();
  }
  // Converts pictures in the given format and returns the icon made.
  Bytes converted(QRadioButton* radio) {
    window->位图画板1->setPicture(bmp24(16, 16, distinct(1)));
    window->位图画板2->setPicture(bmp24(32, 32, distinct(2)));
    radio->setChecked(true);
    window->clicked_转换();
    return state.outputIcon;
  }
  void save(std::optional<QString> answer) {
    dialogs.fileAnswers.push_back(answer);
    window->clicked_保存();
    EXPECT_TRUE(dialogs.fileAnswers.empty()) << "no save dialog opened";
  }
  // Everything a kept icon consists of.
  struct Snapshot {
    Bytes icon, pixels16, pixels32, picture1, picture2, capture1, capture2;
    bool label1, label2;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  Snapshot snapshot() {
    return {state.outputIcon,           state.pixels16,          state.pixels32,
            window->位图画板1->picture(), window->位图画板2->picture(), window->图标画板1->capture(),
            window->图标画板2->capture(),  shown(window->标签1),     shown(window->标签2)};
  }
  void expectReset() {
    EXPECT_TRUE(state.outputIcon.empty());
    EXPECT_TRUE(state.pixels16.empty());
    EXPECT_TRUE(state.pixels32.empty());
    EXPECT_TRUE(window->位图画板1->picture().empty());
    EXPECT_TRUE(window->位图画板2->picture().empty());
    EXPECT_FALSE(shown(window->标签1));
    EXPECT_FALSE(shown(window->标签2));
  }
};

TEST_F(SaveTest, NothingToSaveWarnsWithoutADialog) {
  window->clicked_保存();
  converted(window->单选框1);
  window->clicked_清除();
  window->clicked_保存();
  EXPECT_EQ(dialogs.boxes, (std::vector<ShownBox>{kNothingToSave, kNothingToSave}));
  EXPECT_TRUE(dialogs.fileDialogs.empty());
}

TEST_F(SaveTest, TheSavedFileHoldsExactlyTheIconOfEachFormat) {
  struct {
    QRadioButton* radio;
    std::size_t size;
  } rows[] = {{window->单选框1, 894}, {window->单选框2, 3262}, {window->单选框3, 4150}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.size);
    const Bytes icon = converted(row.radio);
    ASSERT_EQ(icon.size(), row.size);
    const QString target = path(QStringLiteral("icon%1.ico").arg(row.size));
    dialogs.fileDialogs.clear();
    save(target);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(readAll(target), icon);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    const FileDialogSettings& s = dialogs.fileDialogs[0];
    EXPECT_EQ(s.type, 1);
    EXPECT_EQ(s.filter, QStringLiteral("图标文件|*.ico"));
    EXPECT_TRUE(s.fileName.isEmpty());
    EXPECT_EQ(s.defaultExt, QStringLiteral("ico"));
    EXPECT_TRUE(s.overwritePrompt);
    expectReset();
    // The icon canvases stay visible, cleared to their background.
    EXPECT_TRUE(shown(window->图标画板1) || row.radio == window->单选框2);
    const Colour face = window->图标画板1->resolve(kDefaultColour);
    EXPECT_EQ(slice(window->图标画板1->capture(), 54, 768), block(16, [face](int, int) { return face; }));
  }
  // The next conversion needs a new picture.
  window->clicked_转换();
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kNoPicture});
}

TEST_F(SaveTest, OverwritingALongerFileLeavesExactlyTheNewBytes) {
  const QString target = path("old.ico");
  ASSERT_TRUE(writeAll(target, Bytes(10000, 0xAB)));
  const Bytes icon = converted(window->单选框1);
  save(target);
  EXPECT_EQ(readAll(target), icon);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.ico"});  // no temporary left
}

TEST_F(SaveTest, CancelKeepsEverythingAndASecondSaveWritesTheSameBytes) {
  const Bytes icon = converted(window->单选框3);
  const Snapshot before = snapshot();
  save(std::nullopt);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(snapshot() == before);
  const QString target = path("again.ico");
  save(target);
  EXPECT_EQ(readAll(target), icon);
}

TEST_F(SaveTest, AConfirmedEmptyNameWarnsAndKeepsEverything) {
  converted(window->单选框2);
  const Snapshot before = snapshot();
  save(QString());
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kEmptyName});
  EXPECT_TRUE(snapshot() == before);
}

TEST_F(SaveTest, AFailedWriteWarnsAndKeepsEverything) {
  const QString notAFolder = file("plain", Bytes{1, 2, 3});
  const QString target = notAFolder + QStringLiteral("/icon.ico");
  converted(window->单选框1);
  const Snapshot before = snapshot();
  save(target);
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kSaveFailed});
  EXPECT_TRUE(snapshot() == before);
  EXPECT_EQ(readAll(notAFolder), (Bytes{1, 2, 3}));

  // A folder as the target cannot be written either.
  dialogs.boxes.clear();
  save(dir.path());
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kSaveFailed});
  EXPECT_TRUE(snapshot() == before);
}

// A write that fails part-way (here at a file-size limit, as on a full disk)
// leaves the existing file as it was and no temporary beside it.
TEST_F(SaveTest, AWriteFailingPartWayLeavesTheExistingFileUntouched) {
  const QString target = path("keep.ico");
  const Bytes old(300, 0x5A);
  ASSERT_TRUE(writeAll(target, old));
  const Bytes icon = converted(window->单选框3);
  ASSERT_EQ(icon.size(), 4150u);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // the write reports EFBIG instead of killing
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    dialogs.boxes.clear();
    dialogs.fileAnswers.push_back(target);
    window->clicked_保存();
    const bool warned = dialogs.boxes == std::vector<ShownBox>{kSaveFailed};
    const bool kept = state.outputIcon == icon && !state.pixels16.empty();
    _exit(warned && kept ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the handler did not warn or did not keep the icon";
  EXPECT_EQ(readAll(target), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.ico"});
}

TEST(WriteWholeFile, WritesOrReportsFailure) {
  QTemporaryDir dir;
  EXPECT_FALSE(writeWholeFile(QString(), Bytes{1}));
  EXPECT_TRUE(writeWholeFile(dir.filePath("empty"), Bytes()));
  EXPECT_TRUE(readAll(dir.filePath("empty")).empty());
  EXPECT_TRUE(QFile::exists(dir.filePath("empty")));
  EXPECT_FALSE(writeWholeFile(dir.filePath("missing/x.ico"), Bytes{1}));
}

TEST_F(SaveTest, ClearResetsTheWindowButNotTheFormatChoice) {
  converted(window->单选框3);
  // An icon the editor committed as a canvas's background picture.
  window->图标画板1->setPicture(state.outputIcon);
  window->clicked_清除();
  expectReset();
  EXPECT_TRUE(window->单选框3->isChecked());
  EXPECT_TRUE(window->图标画板1->picture().empty());
  EXPECT_TRUE(shown(window->图标画板1));
  EXPECT_TRUE(shown(window->图标画板2));
  const Colour face = window->图标画板2->resolve(kDefaultColour);
  EXPECT_EQ(slice(window->图标画板2->capture(), 54, 3072), block(32, [face](int, int) { return face; }));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SaveTest, ASavedIconCanvasKeepsACommittedBackgroundPicture) {
  converted(window->单选框1);
  Bytes committed = template16();  // all black, opaque
  window->图标画板1->setPicture(committed);
  state.outputIcon = committed;
  save(path("committed.ico"));
  EXPECT_EQ(readAll(path("committed.ico")), committed);
  // Clearing repaints the background picture: the canvas still shows it.
  EXPECT_EQ(slice(window->图标画板1->capture(), 54, 768), Bytes(768, 0));
}

}  // namespace
}  // namespace tavo::testing
