// Shared set-up of the editor tests: a main window with a scripted Dialogs,
// a state as a conversion of the chosen format leaves it, and an editor
// window built and set up the way the 编辑 button does it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <memory>

#include "app/state.h"
#include "editor/editor_window.h"
#include "icon/templates.h"
#include "main_window/main_window.h"
#include "support/scripted_dialogs.h"
#include "ui/colour_picker.h"

namespace tavo::testing {

enum class Format { Only16, Only32, Both };


// A pixel block in which every pixel differs from its neighbours: blue
// from the stored row, green from the column, red from the seed.
inline Bytes patternPixels(int n, std::uint8_t seed) {
  Bytes block(static_cast<std::size_t>(3 * n * n));
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      const std::size_t p = static_cast<std::size_t>(r * 3 * n + 3 * c);
      block[p] = static_cast<std::uint8_t>(7 * r + 1);
      block[p + 1] = static_cast<std::uint8_t>(5 * c + 2);
      block[p + 2] = static_cast<std::uint8_t>(seed + r + c);
    }
  return block;
}

// What a conversion of `format` writes into outputIcon.
inline Bytes convertedIcon(Format format, const Bytes& pixels16, const Bytes& pixels32) {
  Bytes icon;
  switch (format) {
    case Format::Only16:
      icon = template16();
      std::copy(pixels16.begin(), pixels16.end(), icon.begin() + layout::kPixelsAt);
      break;
    case Format::Only32:
      icon = template32();
      std::copy(pixels32.begin(), pixels32.end(), icon.begin() + layout::kPixelsAt);
      break;
    case Format::Both:
      icon = templateBoth();
      std::copy(pixels16.begin(), pixels16.end(), icon.begin() + layout::kBothPixels16At);
      std::copy(pixels32.begin(), pixels32.end(), icon.begin() + layout::kBothPixels32At);
      break;
  }
  return icon;
}

inline Bytes workIconFrom(const Bytes& blank, const Bytes& pixels) {
  Bytes icon = blank;
  std::copy(pixels.begin(), pixels.end(), icon.begin() + layout::kPixelsAt);
  return icon;
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override { main = std::make_unique<MainWindow>(state, dialogs); }

  void TearDown() override {
    editor.reset();
    main.reset();
  }

  // The state a conversion of `format` leaves (both blocks are always
  // filled, as after earlier conversions), and the format chosen.
  void converted(Format format) {
    chooseFormat(format);
    state.pixels16 = patternPixels(16, 0x40);
    state.pixels32 = patternPixels(32, 0x80);
    state.outputIcon = convertedIcon(format, state.pixels16, state.pixels32);
  }

  void chooseFormat(Format format) {
    (format == Format::Only16 ? main->单选框1 : format == Format::Only32 ? main->单选框2 : main->单选框3)
        ->setChecked(true);
  }

  // What the 编辑 button does before opening the window.
  EditorWindow& openEditor(Format format) {
    converted(format);
    if (format != Format::Only32) state.grid16 = gridFromPixels(state.pixels16, 16);
    if (format != Format::Only16) state.grid32 = gridFromPixels(state.pixels32, 32);
    editor = std::make_unique<EditorWindow>(state, *main, dialogs);
    editor->created();
    return *editor;
  }

  // Shows the editor and waits until it can take input.
  void showEditor() {
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    QApplication::setActiveWindow(editor.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
  }

  // A press and release at drawable position (x, y) of 画板1, as the user
  // clicks it: the widget position includes the 1-pixel border.
  void clickGrid(int x, int y) {
    QTest::mousePress(editor->画板1, Qt::LeftButton, {}, QPoint(x + 1, y + 1));
    QTest::mouseRelease(editor->画板1, Qt::LeftButton, {}, QPoint(x + 1, y + 1));
  }

  void usePalettePen(Colour colour) {
    editor->单选框2->click();
    editor->颜色选择器1->setColour(colour);
  }

  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<EditorWindow> editor;
};

// The colour inside the cell of screen column j, row i (away from its outline).
inline Colour cellInside(const Canvas& canvas, int s, int j, int i) {
  return canvas.backing().colourAt(j * s + s / 2, i * s + s / 2);
}

}  // namespace tavo::testing
