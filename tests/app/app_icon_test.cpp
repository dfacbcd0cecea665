// The application icon: drawn into the blank templates, so it is a valid
// icon file image, with transparent corners and an opaque picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>

#include "icon/app_icon.h"
#include "icon/picture.h"
#include "icon/templates.h"
#include "main_window/main_window.h"
#include "support/scripted_dialogs.h"

namespace tavo::testing {
namespace {

TEST(AppIcon, IsATemplateWithOnlyPixelsAndMaskChanged) {
  struct {
    Bytes icon, blank;
    int n;
  } rows[] = {{appIcon16(), template16(), 16}, {appIcon32(), template32(), 32}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.n);
    ASSERT_EQ(row.icon.size(), row.blank.size());
    EXPECT_TRUE(std::equal(row.icon.begin(), row.icon.begin() + 62, row.blank.begin()));  // headers
    const std::vector<std::uint32_t> argb = iconArgb(row.icon);
    ASSERT_EQ(argb.size(), static_cast<std::size_t>(row.n * row.n));
    const int n = row.n;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{n - 1, 0}, std::pair{0, n - 1}, std::pair{n - 1, n - 1}})
      EXPECT_EQ(argb[y * n + x], 0u) << "corner " << x << "," << y;
    EXPECT_EQ(argb[(n / 2) * n + n / 2] >> 24, 0xFFu);
    // Our own decoder reads it back as the same picture.
    const std::optional<Picture> picture = decodePicture(row.icon);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, n);
    EXPECT_EQ(picture->kind, Picture::Kind::Icon);
  }
  const Bytes both = appIconFile();
  ASSERT_EQ(both.size(), 4150u);
  EXPECT_TRUE(std::equal(both.begin() + 38, both.begin() + 910, appIcon16().begin() + 22));
  EXPECT_TRUE(std::equal(both.begin() + 910, both.end(), appIcon32().begin() + 22));
  EXPECT_TRUE(iconArgb(both).empty());
}

TEST(AppIcon, TheMainWindowShowsTheseVeryPixels) {
  AppState state;
  ScriptedDialogs dialogs;
  MainWindow window(state, dialogs);
  for (int n : {16, 32}) {
    SCOPED_TRACE(n);
    const QImage shown = window.windowIcon().pixmap(QSize(n, n)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(n, n));
    const std::vector<std::uint32_t> argb = iconArgb(n == 16 ? appIcon16() : appIcon32());
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        const std::uint32_t want = argb[y * n + x];
        const QRgb got = shown.pixel(x, y);
        if ((want >> 24) == 0)
          EXPECT_EQ(qAlpha(got), 0) << x << "," << y;
        else
          EXPECT_EQ(got, want) << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace tavo::testing
