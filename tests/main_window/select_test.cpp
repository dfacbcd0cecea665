// 选择图片: the format check, the information boxes, one or two open dialogs,
// and the chosen bytes as the preview canvases' pictures.
#include <gtest/gtest.h>

#include "fixtures.h"

namespace tavo::testing {
namespace {

const QString kOpenFilter =
    QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png|所有文件(*.*)|*.*");
const ShownBox kNoFormat{QStringLiteral("请先设置图标格式!"), 48, QStringLiteral("警告")};
const ShownBox kOpen16{QStringLiteral("即将打开欲转换为16x16格式的图像文件。"), 64, QStringLiteral("打开文件")};
const ShownBox kOpen32{QStringLiteral("即将打开欲转换为32x32格式的图像文件。"), 64, QStringLiteral("打开文件")};

class SelectTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    a = bmp24(16, 16, distinct(1));
    b = bmp24(32, 32, distinct(2));
    c = bmp24(20, 10, distinct(3));
    pathA = file("a.bmp", a);
    pathB = file("b.bmp", b);
    pathC = file("c.bmp", c);
  }
  Bytes a, b, c;
  QString pathA, pathB, pathC;
};

TEST_F(SelectTest, NoFormatWarnsAndOpensNoDialog) {
  window->通用对话框1.settings.filter = QStringLiteral("x|*.x");
  window->通用对话框1.settings.type = 1;
  window->通用对话框1.settings.defaultExt = QStringLiteral("ico");
  window->clicked_选择图片();
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kNoFormat});
  EXPECT_TRUE(dialogs.fileDialogs.empty());
  // The dialog settings are written before the format is checked.
  EXPECT_EQ(window->通用对话框1.settings.filter, kOpenFilter);
  EXPECT_EQ(window->通用对话框1.settings.type, 0);
  EXPECT_TRUE(window->通用对话框1.settings.defaultExt.isEmpty());
}

TEST_F(SelectTest, OneSizeOpensOneDialogWithTheOpenSettings) {
  for (QRadioButton* radio : {window->单选框1, window->单选框2}) {
    SCOPED_TRACE(radio->objectName().toStdString());
    dialogs.fileDialogs.clear();
    window->通用对话框1.settings.defaultExt = QStringLiteral("ico");
    select(radio, {pathA});
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs[0].type, 0);
    EXPECT_EQ(dialogs.fileDialogs[0].filter, kOpenFilter);
    EXPECT_TRUE(dialogs.fileDialogs[0].defaultExt.isEmpty());
    EXPECT_TRUE(dialogs.fileDialogs[0].fileMustExist);
    EXPECT_EQ(window->位图画板1->picture(), a);
    EXPECT_TRUE(window->位图画板2->picture().empty());
  }
}

TEST_F(SelectTest, BothSizesShowTwoBoxesAndTwoDialogsWhateverIsCancelled) {
  struct Case {
    const char* name;
    std::optional<QString> first, second;
    bool slot1New, slot2New;
  } cases[] = {
      {"both confirmed", pathA, pathB, true, true},
      {"first cancelled", std::nullopt, pathB, false, true},
      {"second cancelled", pathA, std::nullopt, true, false},
      {"both cancelled", std::nullopt, std::nullopt, false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    window->位图画板1->setPicture(c);  // earlier pictures
    window->位图画板2->setPicture(c);
    dialogs.boxes.clear();
    select(window->单选框3, {k.first, k.second});
    EXPECT_EQ(dialogs.boxes, (std::vector<ShownBox>{kOpen16, kOpen32}));
    EXPECT_EQ(window->位图画板1->picture(), k.slot1New ? a : c);
    EXPECT_EQ(window->位图画板2->picture(), k.slot2New ? b : c);
  }
}

TEST_F(SelectTest, SecondDialogStartsFromTheFirstFilesName) {
  window->通用对话框1.settings.fileName = QString();
  select(window->单选框3, {pathA, pathB});
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_TRUE(dialogs.fileDialogs[0].fileName.isEmpty());
  EXPECT_EQ(dialogs.fileDialogs[1].fileName, pathA);
  EXPECT_EQ(window->通用对话框1.settings.fileName, pathB);
  // A cancel keeps the last chosen name for the next use.
  select(window->单选框1, {std::nullopt});
  EXPECT_EQ(window->通用对话框1.settings.fileName, pathB);
}

TEST_F(SelectTest, OneSizeAfterTwoSizesLeavesTheSecondSlot) {
  select(window->单选框3, {pathA, pathB});
  select(window->单选框1, {pathC});
  EXPECT_EQ(window->位图画板1->picture(), c);
  EXPECT_EQ(window->位图画板2->picture(), b);
  select(window->单选框2, {pathA});
  EXPECT_EQ(window->位图画板1->picture(), a);
  EXPECT_EQ(window->位图画板2->picture(), b);
}

TEST_F(SelectTest, UnreadableFileBlanksThePreviewSilently) {
  const QString empty = file("empty.bmp", {});
  for (const QString& bad : {path("vanished.bmp"), dir.path(), empty}) {
    SCOPED_TRACE(bad.toStdString());
    window->位图画板1->setPicture(a);
    select(window->单选框1, {bad});
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(window->位图画板1->picture().empty());
  }
}

TEST_F(SelectTest, BytesThatAreNoPictureAreDropped) {
  // A PNG is offered by the filter but not decoded.
  const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R'};
  select(window->单选框1, {file("p.png", png)});
  EXPECT_TRUE(window->位图画板1->picture().empty());
  EXPECT_TRUE(dialogs.boxes.empty());
  window->clicked_转换();
  const ShownBox noPicture{QStringLiteral("你还未载入图像文件！"), 48, QStringLiteral("警告")};
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{noPicture});
  EXPECT_TRUE(state.outputIcon.empty());
}

}  // namespace
}  // namespace tavo::testing
