// The icon editor window "图标编辑": its 13 controls, the magnified grid, the
// two pens, size switching, commit and cancel. It is created afresh at every
// opening by clicked_编辑 and shown modally over the main window.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

#include "app/state.h"
#include "icon/types.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"

namespace tavo {

class MainWindow;
class ColourPicker;

// The handler of the main window's 编辑 button: checks that there is a
// conversion matching the format choice, builds the grids from the pixel
// blocks and opens the editor modally. Returns when the editor has closed.
void clicked_编辑(AppState& state, MainWindow& main, Dialogs& dialogs);

// An n x n colour grid from a 768- or 3072-byte pixel block (bottom row
// first, blue, green, red): element [r][c] is 0x00BBGGRR of that pixel.
ColourGrid gridFromPixels(const Bytes& block, int n);

// A label that keeps its colours as stored colour values, so reading the
// background gives back 0xFF000000 (the default colour) rather than the
// palette colour it is painted in. Reports left-button presses.
class SizeLabel : public QLabel {
 public:
  SizeLabel(const QString& text, QWidget* parent);
  Colour backColour() const { return backColour_; }
  void setBackColour(Colour colour);
  Colour textColour() const { return textColour_; }
  void setTextColour(Colour colour);
  std::function<void()> onPressed;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void applyColours();
  Colour backColour_ = kDefaultColour;
  Colour textColour_ = 0x00000000;
};

// A rectangle with the sunken look: a black outline over a white one
// shifted one pixel right and down, no fill. Also a container.
class FrameShape : public QWidget {
 public:
  explicit FrameShape(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
};

class EditorWindow : public QDialog {
 public:
  EditorWindow(AppState& state, MainWindow& main, Dialogs& dialogs);

  // Controls, named as the form names them (also their object names).
  Canvas* 画板1;
  FrameShape* 外形框1;
  Canvas* 画板2;
  SizeLabel* 标签1;
  FrameShape* 外形框2;
  Canvas* 画板3;
  SizeLabel* 标签2;
  QGroupBox* 分组框1;
  QRadioButton* 单选框1;
  QRadioButton* 单选框2;
  ColourPicker* 颜色选择器1;
  QPushButton* 按钮1;
  QPushButton* 按钮2;

  // Handlers, one per event.
  void created();
  void pressed_画板1(int x, int y);
  void moved_画板1(int x, int y);
  void released_画板1();
  void moved_window();  // the pointer over the window's own client area
  void pressed_标签1();
  void pressed_标签2();
  void clicked_单选框2();
  void clicked_按钮1();
  void clicked_按钮2();

  // Shared operations.
  void drawGrid(int size);
  void paintCell(int x, int y);
  void patchIconPixel(int size, int column, int row);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void highlight(SizeLabel* label);
  void normal(SizeLabel* label);

  AppState& state_;
  MainWindow& main_;
  Dialogs& dialogs_;
  bool transparentPen_ = true;  // the pen of the last press on the grid
};

}  // namespace tavo
