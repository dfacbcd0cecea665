// The real dialogs: message boxes and the file and colour dialogs as Qt
// builds them from our settings, driven while they are open.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/dialogs_qt.h"
#include "ui/file_dialog.h"

namespace tavo {
namespace {

// Runs `act` on the first modal widget of type T once it is open; the
// caller then runs the dialog's own exec. Fails the test after 5 s.
template <typename T>
void whenOpen(std::function<void(T*)> act) {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [act, timer, poll] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
      act(w);
      return;
    }
    if (timer->elapsed() > 5000) {
      ADD_FAILURE() << "no dialog opened";
      if (QWidget* any = QApplication::activeModalWidget()) any->close();
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

QAbstractButton* buttonOf(QMessageBox* box, QMessageBox::StandardButton which) { return box->button(which); }

TEST(QtMessageBox, YesNoAnswersFiveForYesAndSixForNo) {
  QtDialogs dialogs;
  for (auto [button, answer] : {std::pair{QMessageBox::Yes, 5}, std::pair{QMessageBox::No, 6}}) {
    whenOpen<QMessageBox>([button = button](QMessageBox* box) {
      EXPECT_EQ(box->text(), QStringLiteral("真的放弃编辑成果？"));
      EXPECT_EQ(box->windowTitle(), QStringLiteral("信息"));
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
      buttonOf(box, button)->click();
    });
    EXPECT_EQ(dialogs.messageBox(QStringLiteral("真的放弃编辑成果？"), 68, QStringLiteral("信息")), answer);
  }
}

TEST(QtMessageBox, OneButtonBoxesHaveTheirIconNoOwnerAndAnswerZeroAlsoForEsc) {
  QtDialogs dialogs;
  enum class How { Ok, Esc, CloseButton };
  struct {
    int flags;
    QMessageBox::Icon icon;
    How how;
  } rows[] = {{48, QMessageBox::Warning, How::Ok},
              {48, QMessageBox::Warning, How::Esc},
              {48, QMessageBox::Warning, How::CloseButton},
              {64, QMessageBox::Information, How::Esc}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.flags);
    whenOpen<QMessageBox>([row](QMessageBox* box) {
      EXPECT_EQ(box->icon(), row.icon);
      EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
      EXPECT_EQ(box->parentWidget(), nullptr);
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
      switch (row.how) {
        case How::Ok: box->button(QMessageBox::Ok)->click(); break;
        case How::Esc: QTest::keyClick(box, Qt::Key_Escape); break;
        case How::CloseButton: box->close(); break;  // what the title bar's close button asks
      }
    });
    EXPECT_EQ(dialogs.messageBox(QStringLiteral("你还未载入图像文件！"), row.flags, QStringLiteral("警告")), 0);
  }
}

TEST(QtFileDialog, SaveDialogTakesFilterDefaultSuffixAndOverwriteQuestionFromTheSettings) {
  QTemporaryDir dir;
  QtDialogs dialogs;
  FileDialogSettings s;
  s.type = 1;
  s.filter = QStringLiteral("图标文件|*.ico");
  s.defaultExt = QStringLiteral("ico");
  s.initialDir = dir.path();
  s.overwritePrompt = true;
  whenOpen<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(d->nameFilters(), QStringList{QStringLiteral("图标文件 (*.ico)")});
    auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), QStringLiteral("图标文件"));  // the description as given
    EXPECT_EQ(d->defaultSuffix(), QStringLiteral("ico"));
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
    // A typed name without extension gets the default one.
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("图标"));
    QMetaObject::invokeMethod(d, "accept");
  });
  ASSERT_TRUE(dialogs.openFileDialog(s));
  EXPECT_EQ(s.fileName, dir.filePath(QStringLiteral("图标.ico")));
}

TEST(QtFileDialog, SaveDialogAsksBeforeReplacingAnExistingFile) {
  QTemporaryDir dir;
  QFile existing(dir.filePath("old.ico"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  QtDialogs dialogs;
  FileDialogSettings s;
  s.type = 1;
  s.filter = QStringLiteral("图标文件|*.ico");
  s.defaultExt = QStringLiteral("ico");
  s.initialDir = dir.path();
  bool asked = false;
  whenOpen<QFileDialog>([&](QFileDialog* d) {
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("old.ico"));
    whenOpen<QMessageBox>([&](QMessageBox* question) {
      asked = true;
      question->button(QMessageBox::Yes)->click();
    });
    QMetaObject::invokeMethod(d, "accept");
  });
  ASSERT_TRUE(dialogs.openFileDialog(s));
  EXPECT_TRUE(asked);
  EXPECT_EQ(s.fileName, dir.filePath("old.ico"));
}

TEST(QtFileDialog, OpenDialogListsTheDescriptionsSelectsTheIndexAndCancelKeepsTheSettings) {
  QTemporaryDir dir;
  QtDialogs dialogs;
  FileDialogSettings s;
  s.type = 0;
  s.filter = QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png|所有文件(*.*)|*.*");
  s.filterIndex = 1;
  s.fileName = dir.filePath("chosen.bmp");
  s.title = QStringLiteral("选择");
  const FileDialogSettings before = s;
  whenOpen<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);  // file must exist
    EXPECT_EQ(d->windowTitle(), QStringLiteral("选择"));
    auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), QStringLiteral("图像文件"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("所有文件(*.*)"));
    EXPECT_EQ(types->currentIndex(), 1);  // initial filter index 1: the second pair
    EXPECT_EQ(d->directory().absolutePath(), QDir(dir.path()).absolutePath());
    d->reject();
  });
  EXPECT_FALSE(dialogs.openFileDialog(s));
  EXPECT_EQ(s.fileName, before.fileName);
  EXPECT_EQ(s.filter, before.filter);
}

TEST(QtFileDialog, OpenDialogReturnsTheChosenFullPath) {
  QTemporaryDir dir;
  QFile picture(dir.filePath("p.bmp"));
  ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
  picture.close();
  QtDialogs dialogs;
  FileDialogSettings s;
  s.filter = QStringLiteral("图像文件|*.bmp");
  s.initialDir = dir.path();
  whenOpen<QFileDialog>([&](QFileDialog* d) {
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("p.bmp"));
    QMetaObject::invokeMethod(d, "accept");
  });
  ASSERT_TRUE(dialogs.openFileDialog(s));
  EXPECT_EQ(s.fileName, dir.filePath("p.bmp"));
}

TEST(QtColourDialog, StartsFromTheColourAndCancelGivesNothing) {
  QtDialogs dialogs;
  whenOpen<QColorDialog>([](QColorDialog* d) {
    EXPECT_EQ(d->currentColor(), QColor(0x12, 0x34, 0x56));
    d->setCurrentColor(QColor(0xFF, 0x80, 0x00));
    QMetaObject::invokeMethod(d, "accept");
  });
  EXPECT_EQ(dialogs.chooseColour(makeColour(0x12, 0x34, 0x56)), std::optional<Colour>(0x000080FFu));
  whenOpen<QColorDialog>([](QColorDialog* d) { d->reject(); });
  EXPECT_EQ(dialogs.chooseColour(0x00FFFFFF), std::nullopt);
}

TEST(QtFilters, PairsBecomeQtFiltersWithTheDescriptionsAsGiven) {
  struct Case {
    const char* name;
    QString filter;
    QStringList filters, descriptions;
  } cases[] = {
      {"open filter",
       QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png|所有文件(*.*)|*.*"),
       {QStringLiteral("图像文件 (*.bmp *.jpg *.gif *.tif *.pcx *.ico *.cur *.png)"), QStringLiteral("所有文件(*.*) (*.*)")},
       {QStringLiteral("图像文件"), QStringLiteral("所有文件(*.*)")}},
      {"one pair", QStringLiteral("图标文件|*.ico"), {QStringLiteral("图标文件 (*.ico)")}, {QStringLiteral("图标文件")}},
      {"already ending in ||", QStringLiteral("图标文件|*.ico||"), {QStringLiteral("图标文件 (*.ico)")},
       {QStringLiteral("图标文件")}},
      {"trailing blanks", QStringLiteral("图标文件|*.ico  "), {QStringLiteral("图标文件 (*.ico)")},
       {QStringLiteral("图标文件")}},
      {"empty", QString(), {}, {}},
      {"blanks only", QStringLiteral("   "), {}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    QStringList descriptions{QStringLiteral("stale")};
    EXPECT_EQ(qtFilters(k.filter, &descriptions), k.filters);
    EXPECT_EQ(descriptions, k.descriptions);
  }
}

}  // namespace
}  // namespace tavo
