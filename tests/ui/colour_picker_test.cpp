// The colour picker as the editor's user meets it: the field, the palette
// popup opened by a click, choosing by mouse and keyboard, dismissing, and
// the other-colour dialog through a scripted Dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <deque>
#include <optional>
#include <vector>

#include "ui/colour_picker.h"
#include "ui/dialogs.h"

namespace tavo {
namespace {

// Answers the colour dialog from a queue and records what it was started with.
class ScriptedColourDialog : public Dialogs {
 public:
  std::deque<std::optional<Colour>> answers;
  std::vector<Colour> startedWith;

  int messageBox(const QString&, int, const QString&) override { return mb::kOk; }
  bool openFileDialog(FileDialogSettings&) override { return false; }
  std::optional<Colour> chooseColour(Colour initial) override {
    startedWith.push_back(initial);
    std::optional<Colour> a = answers.empty() ? std::nullopt : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
};

Colour fromQRgb(QRgb p) {
  return makeColour(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                    static_cast<std::uint8_t>(qBlue(p)));
}

struct Named {
  Colour colour;
  const char* name;
};
// The palette as the user is promised it, in order.
const Named kExpected[32] = {
    {0x00000000, "黑色"}, {0x00800000, "藏青"}, {0x00008000, "墨绿"}, {0x00808000, "深青"},
    {0x00000080, "红褐"}, {0x00800080, "紫红"}, {0x00008080, "褐绿"}, {0x00C0C0C0, "浅灰"},
    {0x00808080, "灰色"}, {0x00FF0000, "蓝色"}, {0x0000FF00, "绿色"}, {0x00FFFF00, "艳青"},
    {0x000000FF, "红色"}, {0x00FF00FF, "品红"}, {0x0000FFFF, "黄色"}, {0x00FFFFFF, "白色"},
    {0x00FF8080, "蓝灰"}, {0x00E03058, "藏蓝"}, {0x0000E080, "嫩绿"}, {0x0080E000, "青绿"},
    {0x000060C0, "黄褐"}, {0x00FFA8FF, "粉红"}, {0x0000D8D8, "嫩黄"}, {0x00ECECEC, "银白"},
    {0x00FF0090, "紫色"}, {0x00FF8800, "天蓝"}, {0x0080A080, "灰绿"}, {0x00C06000, "青蓝"},
    {0x000080FF, "橙黄"}, {0x008050FF, "桃红"}, {0x00C080FF, "芙红"}, {0x00606060, "深灰"},
};

class Picker : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(300, 200);
    window.move(100, 100);
    picker = new ColourPicker(&window, &dialogs);
    picker->setGeometry(40, 30, 90, 24);
    picker->setColour(0x00FFFFFF);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void TearDown() override {
    if (ColourPopup* p = picker->popup()) p->close();
    QApplication::processEvents();
  }
  // A click on the field as the platform delivers it: the press opens the
  // popup, which then receives the release.
  ColourPopup* clickOpen() {
    const QPoint at = picker->mapTo(&window, QPoint(20, 12));
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, at);
    ColourPopup* p = picker->popup();
    if (p != nullptr) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(p));
    }
    return p;
  }
  // Keyboard focus needs the active window (on a real X server too).
  void focusPicker() {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    picker->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->hasFocus(); }));
  }
  static QPoint centre(ColourPopup* p, int entry) { return p->entryRect(entry).center(); }

  QWidget window;
  ScriptedColourDialog dialogs;
  ColourPicker* picker = nullptr;
};

TEST_F(Picker, PaletteHoldsThe32ColoursInOrderWithTheirNamesAsTooltips) {
  const auto& entries = ColourPicker::paletteEntries();
  ASSERT_EQ(entries.size(), 32u);
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  {
    QHelpEvent help(QEvent::ToolTip, centre(p, ColourPopup::kOther), p->mapToGlobal(centre(p, ColourPopup::kOther)));
    QApplication::sendEvent(p, &help);
    EXPECT_TRUE(QToolTip::text().isEmpty()) << "the button has no colour name";
  }
  const QImage shown = p->grab().toImage();
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].colour, kExpected[i].colour);
    EXPECT_STREQ(entries[i].name, kExpected[i].name);
    EXPECT_EQ(fromQRgb(shown.pixel(centre(p, i))), kExpected[i].colour) << "box shows its colour";
    QHelpEvent help(QEvent::ToolTip, centre(p, i), p->mapToGlobal(centre(p, i)));
    QApplication::sendEvent(p, &help);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8(kExpected[i].name));
  }
}

TEST_F(Picker, BoxesAre18PixelsSevenPerRowInFiveRowsWithTheButtonBelow) {
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  const int edge = ColourPopup::kEdge;
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(p->entryRect(i), QRect(edge + (i % 7) * 18, edge + (i / 7) * 18, 18, 18)) << i;
  EXPECT_EQ(p->entryRect(31).top(), edge + 4 * 18) << "the fifth row holds the last four";
  EXPECT_EQ(p->entryRect(31).left(), edge + 3 * 18);
  const QRect other = p->entryRect(ColourPopup::kOther);
  EXPECT_GE(other.top(), edge + 5 * 18);
  EXPECT_EQ(other.left(), edge);
  EXPECT_EQ(other.width(), 7 * 18);
  EXPECT_EQ(p->width(), 2 * edge + 7 * 18);
  EXPECT_EQ(p->height(), other.bottom() + 1 + edge);
  for (int i = 0; i <= ColourPopup::kOther; ++i) EXPECT_EQ(p->entryAt(centre(p, i)), i);
  EXPECT_EQ(p->entryAt(QPoint(0, 0)), ColourPopup::kNone) << "the raised edge is no entry";
  EXPECT_EQ(p->entryAt(QPoint(edge + 5 * 18, edge + 4 * 18 + 9)), ColourPopup::kNone)
      << "right of the last box";
}

TEST_F(Picker, ClickOpensAPopupJustBelowLeftEdgesAligned) {
  EXPECT_EQ(picker->focusPolicy(), Qt::StrongFocus);
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr) << "the release of the opening click must not close it";
  EXPECT_TRUE(p->isVisible());
  EXPECT_TRUE(p->windowFlags().testFlag(Qt::Popup));
  EXPECT_EQ(QApplication::activePopupWidget(), p) << "all mouse input goes to the popup";
  EXPECT_EQ(p->geometry().topLeft(), picker->mapToGlobal(QPoint(0, picker->height())));
}

TEST_F(Picker, PopupStaysOnTheScreen) {
  const QRect avail = picker->screen()->availableGeometry();
  window.move(avail.right() - window.width() + 1, avail.bottom() - window.height() + 1);
  picker->move(window.width() - 30, window.height() - 24);  // against the bottom-right corner
  QApplication::processEvents();
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(avail.contains(p->geometry())) << "popup " << p->geometry().x() << "," << p->geometry().y();
  EXPECT_EQ(p->geometry().bottom() + 1, picker->mapToGlobal(QPoint(0, 0)).y()) << "above the field instead";
}

TEST_F(Picker, HoverHighlightsAndReleasingTakesTheHighlightedBox) {
  QSignalSpy changed(picker, &ColourPicker::colourChanged);
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->highlighted(), 15) << "starts on the current colour, 白色";
  QTest::mouseMove(p->windowHandle(), centre(p, 20));
  EXPECT_EQ(p->highlighted(), 20);
  QTest::mouseMove(p->windowHandle(), centre(p, 12));
  EXPECT_EQ(p->highlighted(), 12);
  QTest::mousePress(p->windowHandle(), Qt::LeftButton, {}, centre(p, 12));
  QTest::mouseRelease(p->windowHandle(), Qt::LeftButton, {}, centre(p, 12));
  EXPECT_EQ(picker->popup(), nullptr);
  EXPECT_EQ(picker->colour(), 0x000000FFu) << "红色";
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toUInt(), 0x000000FFu);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(Picker, DraggingFromTheFieldIntoThePopupAndReleasingTakesTheBox) {
  const QPoint at = picker->mapTo(&window, QPoint(20, 12));
  QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
  ColourPopup* p = picker->popup();
  ASSERT_NE(p, nullptr);
  QTest::mouseMove(p->windowHandle(), centre(p, 9));
  QTest::mouseRelease(p->windowHandle(), Qt::LeftButton, {}, centre(p, 9));
  EXPECT_EQ(picker->colour(), 0x00FF0000u) << "蓝色";
}

TEST_F(Picker, ArrowKeysMoveTheHighlightAndEnterOrSpaceTakeIt) {
  struct Case {
    const char* name;
    Colour start;
    std::vector<Qt::Key> keys;
    int highlighted;
  };
  const Case cases[] = {
      {"right right down from 黑色", 0x00000000, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}, 9},
      {"left wraps from the first box to the button", 0x00000000, {Qt::Key_Left}, ColourPopup::kOther},
      {"down from the last row reaches the button", 0x00606060, {Qt::Key_Down}, ColourPopup::kOther},
      {"up from the top row reaches the button", 0x00800000, {Qt::Key_Up}, ColourPopup::kOther},
      {"up from the button returns to the last row", 0x00000000, {Qt::Key_Left, Qt::Key_Up}, 28},
      {"no current box: the first arrow starts at 黑色", 0x00123456, {Qt::Key_Right}, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    for (Qt::Key take : {Qt::Key_Return, Qt::Key_Space}) {
      picker->setColour(k.start);
      ColourPopup* p = clickOpen();
      ASSERT_NE(p, nullptr);
      for (Qt::Key key : k.keys) QTest::keyClick(p, key);
      EXPECT_EQ(p->highlighted(), k.highlighted);
      dialogs.answers = {0x00ABCDEF};
      QTest::keyClick(p, take);
      EXPECT_EQ(picker->popup(), nullptr);
      const Colour expected =
          k.highlighted == ColourPopup::kOther ? 0x00ABCDEF : ColourPicker::paletteEntries()[k.highlighted].colour;
      EXPECT_EQ(picker->colour(), expected);
      QApplication::processEvents();
    }
  }
}

TEST_F(Picker, EscapeOutsideReleaseAndSwitchingApplicationLeaveTheColour) {
  QSignalSpy changed(picker, &ColourPicker::colourChanged);
  picker->setColour(0x00FF8800);
  changed.clear();

  // Keys typed at the window go to the open popup.
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  QTest::keyClick(window.windowHandle(), Qt::Key_Right);
  EXPECT_EQ(p->highlighted(), 26);
  QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
  EXPECT_EQ(picker->popup(), nullptr);

  // While the popup is open, a click on another control reaches only the popup.
  auto* other = new QPushButton(QStringLiteral("按钮"), &window);
  other->setGeometry(200, 150, 60, 24);
  other->show();
  QSignalSpy clicked(other, &QPushButton::clicked);
  p = clickOpen();
  ASSERT_NE(p, nullptr);
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(230, 162));
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(picker->popup(), nullptr);

  // Highlight a box, then press and release outside the popup (on the window).
  p = clickOpen();
  ASSERT_NE(p, nullptr);
  QTest::mouseMove(p->windowHandle(), centre(p, 3));
  ASSERT_EQ(p->highlighted(), 3);
  const QPoint outside = p->mapFromGlobal(window.mapToGlobal(QPoint(250, 20)));
  QTest::mousePress(p->windowHandle(), Qt::LeftButton, {}, outside);
  EXPECT_NE(picker->popup(), nullptr) << "a press outside does not yet close it";
  QTest::mouseRelease(p->windowHandle(), Qt::LeftButton, {}, outside);
  EXPECT_EQ(picker->popup(), nullptr);

  // Another click on the field closes the open popup.
  p = clickOpen();
  ASSERT_NE(p, nullptr);
  clickOpen();
  EXPECT_EQ(picker->popup(), nullptr);

  // The program loses the focus to another application.
  p = clickOpen();
  ASSERT_NE(p, nullptr);
  QMetaObject::invokeMethod(qApp, "applicationStateChanged", Q_ARG(Qt::ApplicationState, Qt::ApplicationInactive));
  EXPECT_EQ(picker->popup(), nullptr);

  // The editor hides the picker, or it is disabled, while the popup is open.
  ASSERT_NE(clickOpen(), nullptr);
  picker->hide();
  EXPECT_EQ(picker->popup(), nullptr);
  picker->show();
  ASSERT_NE(clickOpen(), nullptr);
  picker->setEnabled(false);
  EXPECT_EQ(picker->popup(), nullptr);
  picker->setEnabled(true);

  EXPECT_EQ(picker->colour(), 0x00FF8800u);
  EXPECT_EQ(changed.count(), 0);
  EXPECT_TRUE(dialogs.startedWith.empty());
}

TEST_F(Picker, OtherColoursOpensTheColourDialogWithTheCurrentColour) {
  picker->setColour(0x00C06000);
  dialogs.answers = {0x00123456, std::nullopt};

  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  QTest::mouseMove(p->windowHandle(), centre(p, ColourPopup::kOther));
  QTest::mouseRelease(p->windowHandle(), Qt::LeftButton, {}, centre(p, ColourPopup::kOther));
  ASSERT_EQ(dialogs.startedWith, std::vector<Colour>{0x00C06000});
  EXPECT_EQ(picker->colour(), 0x00123456u) << "confirmed";
  EXPECT_EQ(picker->popup(), nullptr);

  p = clickOpen();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->marked(), ColourPopup::kNone) << "a colour outside the palette marks no box";
  QTest::mouseMove(p->windowHandle(), centre(p, ColourPopup::kOther));
  QTest::mouseRelease(p->windowHandle(), Qt::LeftButton, {}, centre(p, ColourPopup::kOther));
  ASSERT_EQ(dialogs.startedWith.size(), 2u);
  EXPECT_EQ(dialogs.startedWith[1], 0x00123456u);
  EXPECT_EQ(picker->colour(), 0x00123456u) << "cancelled: unchanged";
}

TEST_F(Picker, TheCurrentColoursBoxIsMarked) {
  picker->setColour(0x00FF8800);  // 天蓝
  ColourPopup* p = clickOpen();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->marked(), 25);
  // Move the highlight away so only the mark distinguishes the box.
  QTest::mouseMove(p->windowHandle(), centre(p, 0));
  const QImage shown = p->grab().toImage();
  const QRect marked = p->entryRect(25), plain = p->entryRect(24);
  bool differs = false;
  for (int dy = 0; dy < 18; ++dy)
    for (int dx = 0; dx < 3; ++dx)  // the frame around the swatch
      differs |= shown.pixel(marked.topLeft() + QPoint(dx, dy)) != shown.pixel(plain.topLeft() + QPoint(dx, dy));
  EXPECT_TRUE(differs) << "the marked box looks different from its neighbour";
}

TEST_F(Picker, FieldShowsTheColourAndIsGreyedWhenDisabled) {
  picker->setColour(0x00E03058);
  picker->clearFocus();
  QImage shown = picker->grab().toImage();
  const QPoint swatch(10, 12), fieldBackground(4, 12);  // between the edge and the swatch
  EXPECT_EQ(fromQRgb(shown.pixel(swatch)), 0x00E03058u);
  EXPECT_EQ(fromQRgb(shown.pixel(fieldBackground)), 0x00FFFFFFu) << "white field";
  EXPECT_EQ(fromQRgb(shown.pixel(picker->width() / 2 - 10, 5)), 0x00000000u) << "black outline";

  focusPicker();
  EXPECT_NE(picker->grab().toImage(), shown) << "the focus rectangle shows";

  picker->setEnabled(false);
  shown = picker->grab().toImage();
  EXPECT_NE(fromQRgb(shown.pixel(swatch)), 0x00E03058u);
  EXPECT_NE(fromQRgb(shown.pixel(fieldBackground)), 0x00FFFFFFu);
  clickOpen();
  EXPECT_EQ(picker->popup(), nullptr) << "a disabled picker opens nothing";
}

TEST_F(Picker, SpaceOnTheFocusedFieldOpensThePopup) {
  focusPicker();
  QTest::keyClick(picker, Qt::Key_Space);
  ASSERT_NE(picker->popup(), nullptr);
  QTest::keyClick(picker->popup(), Qt::Key_Escape);
  EXPECT_EQ(picker->popup(), nullptr);
}

}  // namespace
}  // namespace tavo
