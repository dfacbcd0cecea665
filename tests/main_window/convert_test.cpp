// 转换: the picture of each slot drawn stretched on its icon canvas, captured,
// and patched into a fresh template at the pixel offsets of its format.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "icon/patch.h"
#include "icon/templates.h"

namespace tavo::testing {
namespace {

const ShownBox kNoPicture{QStringLiteral("你还未载入图像文件！"), 48, QStringLiteral("警告")};

class ConvertTest : public MainWindowTest {
 protected:
  void convert(QRadioButton* radio) {
    radio->setChecked(true);
    window->clicked_转换();
  }
  // Which of 图标画板1, 标签1, 图标画板2, 标签2 are shown.
  std::vector<bool> previews() const {
    return {shown(window->图标画板1), shown(window->标签1), shown(window->图标画板2), shown(window->标签2)};
  }
  // `icon` with `n` bytes at `at` replaced by `bytes`.
  static Bytes patched(Bytes icon, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), icon.begin() + static_cast<std::ptrdiff_t>(at));
    return icon;
  }
  void SetUp() override {
    MainWindowTest::SetUp();
    window->show();
  }
};

TEST_F(ConvertTest, EachFormatGivesItsTemplateWithThePicturesPixelRows) {
  const auto p16 = distinct(1), p32 = distinct(2), other = distinct(3);
  struct Case {
    const char* name;
    QRadioButton* radio;
    Bytes slot1, slot2;
    Bytes icon;
    Bytes pixels16, pixels32;
    std::vector<bool> previews;
  } cases[] = {
      {"16x16 only", window->单选框1, bmp24(16, 16, p16), bmp24(32, 32, other),
       patched(template16(), 62, block(16, p16)), block(16, p16), {}, {true, true, false, false}},
      // 32x32 only takes the first slot, never the second.
      {"32x32 only", window->单选框2, bmp24(32, 32, p32), bmp24(32, 32, other),
       patched(template32(), 62, block(32, p32)), {}, block(32, p32), {false, false, true, true}},
      {"both", window->单选框3, bmp24(16, 16, p16), bmp24(32, 32, p32),
       patched(patched(templateBoth(), 78, block(16, p16)), 950, block(32, p32)), block(16, p16), block(32, p32),
       {true, true, true, true}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    state.outputIcon.clear();
    state.pixels16.clear();
    state.pixels32.clear();
    window->clicked_清除();
    window->位图画板1->setPicture(k.slot1);
    window->位图画板2->setPicture(k.slot2);
    convert(k.radio);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(state.outputIcon.size(), k.icon.size());
    EXPECT_EQ(state.outputIcon, k.icon);
    EXPECT_EQ(state.pixels16, k.pixels16);
    EXPECT_EQ(state.pixels32, k.pixels32);
    EXPECT_EQ(previews(), k.previews);
  }
}

TEST_F(ConvertTest, NoPictureInTheFirstSlotWarnsAndChangesNothing) {
  window->位图画板1->setPicture(bmp24(16, 16, distinct(1)));
  convert(window->单选框1);
  const Bytes icon = state.outputIcon;
  // Only the first slot is tested, also for both sizes.
  window->位图画板1->setPicture({});
  window->位图画板2->setPicture(bmp24(32, 32, distinct(2)));
  convert(window->单选框3);
  EXPECT_EQ(dialogs.boxes, std::vector<ShownBox>{kNoPicture});
  EXPECT_EQ(state.outputIcon, icon);
  EXPECT_EQ(previews(), (std::vector<bool>{true, true, false, false}));  // nothing hidden
  EXPECT_TRUE(state.pixels32.empty());
}

TEST_F(ConvertTest, NoFormatHidesThePreviewsAndNothingElse) {
  window->位图画板1->setPicture(bmp24(16, 16, distinct(1)));
  convert(window->单选框1);
  const Bytes icon = state.outputIcon, pixels = state.pixels16;
  window->单选框1->setAutoExclusive(false);
  window->单选框1->setChecked(false);
  window->clicked_转换();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(previews(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(state.outputIcon, icon);
  EXPECT_EQ(state.pixels16, pixels);
}

TEST_F(ConvertTest, BothSizesWithAnEmptySecondSlotCaptureWhatTheCanvasShowed) {
  const auto earlier = distinct(4);
  window->位图画板1->setPicture(bmp24(32, 32, earlier));
  convert(window->单选框2);  // 图标画板2 now shows `earlier`
  window->位图画板1->setPicture(bmp24(16, 16, distinct(1)));
  window->位图画板2->setPicture({});
  convert(window->单选框3);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(state.pixels32, block(32, earlier));
  EXPECT_EQ(slice(state.outputIcon, 950, 3072), block(32, earlier));

  // After 清除 the canvas shows its background colour, which is captured.
  window->clicked_清除();
  window->位图画板1->setPicture(bmp24(16, 16, distinct(1)));
  convert(window->单选框3);
  const Colour face = window->图标画板2->resolve(kDefaultColour);
  EXPECT_EQ(state.pixels32, block(32, [face](int, int) { return face; }));
}

TEST_F(ConvertTest, OneSizeAfterBothKeepsTheOtherBlockAndGivesTheOneImageFile) {
  const auto p16 = distinct(1), p32 = distinct(2), again = distinct(5);
  window->位图画板1->setPicture(bmp24(16, 16, p16));
  window->位图画板2->setPicture(bmp24(32, 32, p32));
  convert(window->单选框3);
  window->位图画板1->setPicture(bmp24(16, 16, again));
  convert(window->单选框1);
  EXPECT_EQ(state.outputIcon.size(), 894u);
  EXPECT_EQ(slice(state.outputIcon, 62, 768), block(16, again));
  EXPECT_EQ(state.pixels32, block(32, p32));
  EXPECT_EQ(previews(), (std::vector<bool>{true, true, false, false}));

  // 16x16 then 32x32 only: pixels16 stays from the first.
  window->位图画板1->setPicture(bmp24(32, 32, p32));
  convert(window->单选框2);
  EXPECT_EQ(state.outputIcon.size(), 3262u);
  EXPECT_EQ(state.pixels16, block(16, again));
}

TEST_F(ConvertTest, ANonSquarePictureFillsTheSquare) {
  // Two columns, four rows: each source pixel covers exactly 8 x 4 icon pixels.
  const Colour colours[4][2] = {{0x000000FF, 0x00FF0000}, {0x0000FF00, 0x00FFFFFF},
                                {0x00808080, 0x00000000}, {0x0000FFFF, 0x00FF00FF}};
  window->位图画板1->setPicture(bmp24(2, 4, [&](int x, int y) { return colours[y][x]; }));
  convert(window->单选框1);
  EXPECT_EQ(state.pixels16, block(16, [&](int x, int y) { return colours[y / 4][x / 8]; }));
}

TEST_F(ConvertTest, TransparentPixelsOfAnIconSourceKeepTheCanvasPixels) {
  const auto earlier = distinct(6);
  window->位图画板1->setPicture(bmp24(16, 16, earlier));
  convert(window->单选框1);

  // A 16x16 icon file: opaque red except a transparent left half.
  Bytes icon = template16();
  for (int row = 1; row <= 16; ++row)
    for (int column = 1; column <= 16; ++column) patchIconBytes(icon, 16, column, row, column <= 8, 0x000000FF);
  window->位图画板1->setPicture(icon);
  ASSERT_FALSE(window->位图画板1->picture().empty()) << "the icon source did not decode";
  convert(window->单选框1);
  EXPECT_EQ(state.pixels16, block(16, [&](int x, int y) { return x < 8 ? earlier(x, y) : Colour{0x000000FF}; }));
  // Conversion writes no mask bits: the whole icon is opaque.
  EXPECT_EQ(slice(state.outputIcon, 830, 64), Bytes(64, 0));
}

}  // namespace
}  // namespace tavo::testing
