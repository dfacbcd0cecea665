#include "editor/editor_window.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "icon/patch.h"
#include "icon/picture.h"
#include "icon/templates.h"
#include "main_window/main_window.h"
#include "ui/colour_picker.h"
#include "ui/modal.h"

namespace tavo {

namespace {

constexpr int kOuterWidth = 409;
constexpr int kOuterHeight = 300;
// The client area: the outer size less a 3-pixel frame and a 19-pixel title bar.
constexpr int kClientWidth = kOuterWidth - 2 * 3;
constexpr int kClientHeight = kOuterHeight - 2 * 3 - 19;

constexpr Colour kGridBack = 0x00A75450;
constexpr Colour kGridPen = 0x0080A080;
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlack = 0x00000000;
constexpr Colour kHighlightBack = 0x00FF0000;  // blue
constexpr Colour kHighlightText = 0x00FFFFFF;

const QString kWarningTitle = QStringLiteral("警告");

struct GridGeometry {
  int n;  // cells per side
  int s;  // cell size in pixels
};

GridGeometry geometryOf(int size) { return size == 1 ? GridGeometry{16, 16} : GridGeometry{32, 8}; }

QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// The pen pointer: a slanted pen nib pointing up and to the left, black
// outline, white inside, its point (and the hot spot) at pixel (0, 0).
QCursor penPointer() {
  constexpr int kSize = 32;
  auto inside = [](int x, int y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
    const double u = (x + y) / std::sqrt(2.0);  // along the pen, from the point
    const double v = (y - x) / std::sqrt(2.0);  // across it
    if (u < 8.0) return std::abs(v) <= u * 0.45 + 0.5;  // the nib
    return u <= 30.0 && std::abs(v) <= 4.0;             // the barrel
  };
  // Rows of 32 bits, least significant bit first (QImage::Format_MonoLSB).
  uchar colour[kSize * kSize / 8] = {};  // 1: black, 0: white
  uchar mask[kSize * kSize / 8] = {};    // 1: part of the pointer
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!inside(x, y)) continue;
      const double u = (x + y) / std::sqrt(2.0);
      const double v = (y - x) / std::sqrt(2.0);
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      const bool slit = u >= 2.0 && u < 6.0 && std::abs(v) < 0.5;  // the nib's split
      const bool ferrule = u >= 8.0 && u < 9.0;                    // where nib meets barrel
      const int bit = y * kSize + x;
      mask[bit / 8] |= static_cast<uchar>(1u << (bit % 8));
      if (edge || slit || ferrule) colour[bit / 8] |= static_cast<uchar>(1u << (bit % 8));
    }
  }
  const QBitmap bitmap = QBitmap::fromData(QSize(kSize, kSize), colour, QImage::Format_MonoLSB);
  const QBitmap maskBitmap = QBitmap::fromData(QSize(kSize, kSize), mask, QImage::Format_MonoLSB);
  return QCursor(bitmap, maskBitmap, 0, 0);
}

}  // namespace

ColourGrid gridFromPixels(const Bytes& block, int n) {
  ColourGrid grid(n, std::vector<Colour>(n, 0));
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const std::size_t p = static_cast<std::size_t>(r) * 3 * n + 3 * static_cast<std::size_t>(c);
      grid[r][c] = makeColour(block[p + 2], block[p + 1], block[p]);
    }
  }
  return grid;
}

// ---------------------------------------------------------------- SizeLabel

SizeLabel::SizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setWordWrap(true);
  setAutoFillBackground(true);
  setAttribute(Qt::WA_NoMousePropagation);  // a control: not the window's own area
  applyColours();
}

void SizeLabel::setBackColour(Colour colour) {
  backColour_ = colour;
  applyColours();
}

void SizeLabel::setTextColour(Colour colour) {
  textColour_ = colour;
  applyColours();
}

void SizeLabel::applyColours() {
  QPalette p = palette();
  // The default colour is painted as the button face, but stays stored as 0xFF000000.
  p.setColor(QPalette::Window, backColour_ == kDefaultColour ? QPalette().color(QPalette::Button)
                                                             : toQColor(backColour_));
  p.setColor(QPalette::WindowText, toQColor(textColour_));
  setPalette(p);
}

void SizeLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onPressed) onPressed();
}

void SizeLabel::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

// --------------------------------------------------------------- FrameShape

FrameShape::FrameShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoMousePropagation);
}

void FrameShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = width(), h = height();
  // A one-pixel outline covering columns x..x+w'-1 and rows y..y+h'-1.
  auto outline = [&](int x, int y, int ow, int oh, const QColor& colour) {
    painter.fillRect(QRect(x, y, ow, 1), colour);
    painter.fillRect(QRect(x, y + oh - 1, ow, 1), colour);
    painter.fillRect(QRect(x, y, 1, oh), colour);
    painter.fillRect(QRect(x + ow - 1, y, 1, oh), colour);
  };
  outline(1, 1, w - 1, h - 1, Qt::white);
  outline(0, 0, w - 1, h - 1, Qt::black);
}

void FrameShape::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

// ------------------------------------------------------------- EditorWindow

EditorWindow::EditorWindow(AppState& state, MainWindow& main, Dialogs& dialogs)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      main_(main),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("图标编辑"));
  setWindowTitle(QStringLiteral("图标编辑"));
  setWindowIcon(main.windowIcon());
  setFixedSize(kClientWidth, kClientHeight);
  setMouseTracking(true);  // the window's own mouse-moved event ends a stroke

  画板1 = new Canvas(this, 256, 256, true, Canvas::Border::ThinSunken);
  画板1->setObjectName(QStringLiteral("画板1"));
  画板1->move(6, 6);
  画板1->setPictureMode(1);
  画板1->setBackColour(kGridBack);
  画板1->setPen({PenStyle::Dotted, kGridPen});
  画板1->setBrushHollow(false);
  画板1->setBrushColour(kWhite);
  画板1->setTextColour(kWhite);
  画板1->setCursor(penPointer());

  外形框1 = new FrameShape(this);
  外形框1->setObjectName(QStringLiteral("外形框1"));
  外形框1->setGeometry(270, 6, 126, 108);

  画板2 = new Canvas(外形框1, 16, 16, true, Canvas::Border::RaisedFrame);
  画板2->setObjectName(QStringLiteral("画板2"));
  画板2->move(18, 15);
  画板2->setPictureMode(1);
  画板2->setPen({PenStyle::Solid, kBlack});
  画板2->setBrushHollow(false);
  画板2->setBrushColour(kWhite);
  画板2->setTextColour(kBlack);

  标签1 = new SizeLabel(QStringLiteral("16x16 true"), 外形框1);
  标签1->setObjectName(QStringLiteral("标签1"));
  标签1->setGeometry(60, 15, 46, 24);

  外形框2 = new FrameShape(外形框1);
  外形框2->setObjectName(QStringLiteral("外形框2"));
  外形框2->setGeometry(7, 53, 113, 2);

  画板3 = new Canvas(外形框1, 32, 32, true, Canvas::Border::RaisedFrame);
  画板3->setObjectName(QStringLiteral("画板3"));
  画板3->move(12, 62);
  画板3->setPictureMode(1);
  画板3->setPen({PenStyle::Solid, kBlack});
  画板3->setBrushHollow(true);
  画板3->setTextColour(kBlack);

  标签2 = new SizeLabel(QStringLiteral("32x32 true"), 外形框1);
  标签2->setObjectName(QStringLiteral("标签2"));
  标签2->setGeometry(60, 70, 46, 24);

  分组框1 = new QGroupBox(QStringLiteral("画笔颜色"), this);
  分组框1->setObjectName(QStringLiteral("分组框1"));
  分组框1->setGeometry(270, 120, 126, 36);
  // The group box lets the pointer through to the window: it takes tracking
  // moves and ignores them, so they reach the window's own handler.
  分组框1->setMouseTracking(true);

  单选框1 = new QRadioButton(QStringLiteral("透明色"), 分组框1);
  单选框1->setObjectName(QStringLiteral("单选框1"));
  单选框1->setGeometry(6, 14, 56, 18);
  单选框1->setChecked(true);

  单选框2 = new QRadioButton(QStringLiteral("调色板"), 分组框1);
  单选框2->setObjectName(QStringLiteral("单选框2"));
  单选框2->setGeometry(66, 14, 56, 18);

  颜色选择器1 = new ColourPicker(this, &dialogs_);
  颜色选择器1->setObjectName(QStringLiteral("颜色选择器1"));
  颜色选择器1->setGeometry(288, 162, 90, 24);
  颜色选择器1->setAllowTransparent(false);
  颜色选择器1->setColour(kWhite);
  颜色选择器1->setFocusPolicy(Qt::StrongFocus);
  颜色选择器1->hide();

  按钮1 = new QPushButton(QStringLiteral("确定"), this);
  按钮1->setObjectName(QStringLiteral("按钮1"));
  按钮1->setGeometry(278, 232, 50, 24);
  按钮2 = new QPushButton(QStringLiteral("取消"), this);
  按钮2->setObjectName(QStringLiteral("按钮2"));
  按钮2->setGeometry(344, 232, 50, 24);
  // Enter is 确定 whichever control has the focus: no button becomes the
  // default just by being focused, so the key always reaches 按钮1.
  按钮1->setAutoDefault(false);
  按钮2->setAutoDefault(false);
  按钮1->setDefault(true);

  // Every control except the group box is "over a control": its mouse
  // moves never reach the window's own handler (the labels and frame shapes
  // see to that themselves).
  for (QWidget* control : std::initializer_list<QWidget*>{画板1, 画板2, 画板3, 单选框1, 单选框2, 颜色选择器1, 按钮1, 按钮2})
    control->setAttribute(Qt::WA_NoMousePropagation);

  setTabOrder(单选框1, 单选框2);
  setTabOrder(单选框2, 颜色选择器1);
  setTabOrder(颜色选择器1, 按钮1);
  setTabOrder(按钮1, 按钮2);

  connect(画板1, &Canvas::mousePressed, this, [this](int x, int y, int) { pressed_画板1(x, y); });
  connect(画板1, &Canvas::mouseMoved, this, [this](int x, int y, int) { moved_画板1(x, y); });
  connect(画板1, &Canvas::mouseReleased, this, [this](int, int, int) { released_画板1(); });
  标签1->onPressed = [this] { pressed_标签1(); };
  标签2->onPressed = [this] { pressed_标签2(); };
  connect(单选框2, &QRadioButton::clicked, this, [this] { clicked_单选框2(); });
  connect(按钮1, &QPushButton::clicked, this, [this] { clicked_按钮1(); });
  connect(按钮2, &QPushButton::clicked, this, [this] { clicked_按钮2(); });

  // Centred on the screen by its outer size.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kOuterWidth) / 2, area.y() + (area.height() - kOuterHeight) / 2);
  }

  // Owned by the main window while it is open, so it gets no task-bar entry.
  // It has no parent widget: the modal opening disables the other windows,
  // and a child window would be disabled along with its parent.
  winId();
  if (QWindow* owner = main.window()->windowHandle()) windowHandle()->setTransientParent(owner);
}

void EditorWindow::created() {
  state_.labelBackColour = 标签1->backColour();
  state_.gridBackColour = 画板1->backColour();
  if (main_.单选框2->isChecked()) {
    drawGrid(2);
    highlight(标签2);
    state_.editSize = 2;
  } else {
    drawGrid(1);
    highlight(标签1);
    state_.editSize = 1;
  }
  if (main_.单选框1->isChecked()) {
    画板3->hide();
    标签2->hide();
  } else if (main_.单选框2->isChecked()) {
    画板2->hide();
    标签1->hide();
  }
  const bool both = main_.单选框3->isChecked();
  if (main_.单选框1->isChecked() || both) {
    state_.workIcon16 = template16();
    std::copy(state_.pixels16.begin(), state_.pixels16.end(),
              state_.workIcon16.begin() + layout::kPixelsAt);
    画板2->drawPicture(decodePicture(state_.workIcon16), 0, 0);
  }
  if (main_.单选框2->isChecked() || both) {
    state_.workIcon32 = template32();
    std::copy(state_.pixels32.begin(), state_.pixels32.end(),
              state_.workIcon32.begin() + layout::kPixelsAt);
    画板3->setPicture(state_.workIcon32);
  }
}

void EditorWindow::drawGrid(int size) {
  const auto [n, s] = geometryOf(size);
  const ColourGrid& grid = size == 1 ? state_.grid16 : state_.grid32;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      画板1->setBrushColour(grid[n - 1 - i][j]);
      画板1->drawRectangle(j * s, i * s, j * s + s + 1, i * s + s + 1);
    }
  }
}

void EditorWindow::paintCell(int x, int y) {
  const auto [n, s] = geometryOf(state_.editSize);
  const int column = x / s;
  const int row = y / s;
  if (column < 0 || row < 0 || column >= n || row >= n) return;
  画板1->drawRectangle(column * s, row * s, column * s + s + 1, row * s + s + 1);
  ColourGrid& grid = state_.editSize == 1 ? state_.grid16 : state_.grid32;
  grid[n - 1 - row][column] = 画板1->brushColour();
  Canvas* preview = state_.editSize == 1 ? 画板2 : 画板3;
  preview->drawPoint(column, row, state_.previewColour);
  patchIconPixel(state_.editSize, column + 1, row + 1);
}

// The pen is the one chosen at the press, like the brush and previewColour:
// a radio switched by keyboard during a drag must not make the icon pixel
// disagree with the cell and the preview painted with it.
void EditorWindow::patchIconPixel(int size, int column, int row) {
  if (size == 1)
    patchIconBytes(state_.workIcon16, 16, column, row, transparentPen_, state_.previewColour);
  else
    patchIconBytes(state_.workIcon32, 32, column, row, transparentPen_, state_.previewColour);
}

void EditorWindow::pressed_画板1(int x, int y) {
  state_.penDown = true;
  transparentPen_ = 单选框1->isChecked();
  if (transparentPen_) {
    // The transparent pen: the cell looks like the empty canvas, the preview
    // pixel turns the complement of the label background (white).
    画板1->setBrushColour(state_.gridBackColour);
    state_.previewColour = ~state_.labelBackColour;
  } else {
    画板1->setBrushColour(颜色选择器1->colour());
    state_.previewColour = 颜色选择器1->colour();
  }
  paintCell(x, y);
}

void EditorWindow::moved_画板1(int x, int y) {
  if (state_.penDown) paintCell(x, y);
}

void EditorWindow::released_画板1() { state_.penDown = false; }

void EditorWindow::moved_window() { state_.penDown = false; }

void EditorWindow::mouseMoveEvent(QMouseEvent* event) {
  moved_window();
  event->accept();
}

void EditorWindow::highlight(SizeLabel* label) {
  label->setBackColour(kHighlightBack);
  label->setTextColour(kHighlightText);
}

void EditorWindow::normal(SizeLabel* label) {
  label->setBackColour(state_.labelBackColour);
  label->setTextColour(kBlack);
}

void EditorWindow::pressed_标签1() {
  highlight(标签1);
  normal(标签2);
  if (main_.单选框3->isChecked()) 画板1->clear();
  drawGrid(1);
  state_.editSize = 1;
}

void EditorWindow::pressed_标签2() {
  highlight(标签2);
  normal(标签1);
  if (main_.单选框3->isChecked()) 画板1->clear();
  drawGrid(2);
  state_.editSize = 2;
}

void EditorWindow::clicked_单选框2() {
  if (单选框2->isChecked()) 颜色选择器1->show();
}

void EditorWindow::clicked_按钮1() {
  if (main_.单选框1->isChecked()) {
    main_.图标画板1->setPicture(state_.workIcon16);
    state_.outputIcon = state_.workIcon16;
  } else if (main_.单选框2->isChecked()) {
    main_.图标画板2->setPicture(state_.workIcon32);
    state_.outputIcon = state_.workIcon32;
  } else if (main_.单选框3->isChecked()) {
    main_.图标画板1->setPicture(state_.workIcon16);
    main_.图标画板2->setPicture(state_.workIcon32);
    // Each working icon's whole image (header, pixels, mask) replaces the
    // matching image of the two-image file; its first 38 bytes stay.
    std::copy(state_.workIcon16.begin() + 22, state_.workIcon16.end(),
              state_.outputIcon.begin() + layout::kBothImage16At);
    std::copy(state_.workIcon32.begin() + 22, state_.workIcon32.end(),
              state_.outputIcon.begin() + layout::kBothImage32At);
  }
  requestClose(this);
}

void EditorWindow::clicked_按钮2() {
  if (dialogs_.messageBox(QStringLiteral("真的放弃编辑成果？"), mb::kYesNo, QStringLiteral("信息")) == mb::kYes)
    requestClose(this);
}

// ---------------------------------------------------------------- 编辑 button

void clicked_编辑(AppState& state, MainWindow& main, Dialogs& dialogs) {
  if (state.outputIcon.empty()) {
    dialogs.messageBox(QStringLiteral("还未进行转换！"), mb::kWarning, kWarningTitle);
    return;
  }
  const bool both = main.单选框3->isChecked();
  const bool with16 = main.单选框1->isChecked() || both;
  const bool with32 = main.单选框2->isChecked() || both;
  // The format choice can change after a conversion. Grids need the complete
  // pixel blocks of the chosen sizes, and the two-size commit writes into the
  // two-image layout; refuse rather than build from missing pixels.
  const bool matches = (with16 || with32) && (!with16 || state.pixels16.size() == layout::kPixels16) &&
                       (!with32 || state.pixels32.size() == layout::kPixels32) &&
                       (!both || state.outputIcon.size() == layout::kSizeBoth);
  if (!matches) {
    dialogs.messageBox(QStringLiteral("图标格式与转换结果不符，请重新转换！"), mb::kWarning, kWarningTitle);
    return;
  }
  if (with16) state.grid16 = gridFromPixels(state.pixels16, 16);
  if (with32) state.grid32 = gridFromPixels(state.pixels32, 32);
  EditorWindow editor(state, main, dialogs);
  editor.created();
  openModal(&editor);
}

}  // namespace tavo
