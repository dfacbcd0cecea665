#include "main_window/main_window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>
#include <qdrawutil.h>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "icon/app_icon.h"
#include "icon/picture.h"
#include "icon/templates.h"
#include "main_window/files.h"

namespace tavo {

namespace {

const QString kTitle = QStringLiteral("TavoICO图标提取器 1.0");
const QString kOpenFilter =
    QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png|所有文件(*.*)|*.*");
const QString kSaveFilter = QStringLiteral("图标文件|*.ico");
const QString kWarningTitle = QStringLiteral("警告");
const QString kOpenTitle = QStringLiteral("打开文件");

// The outer size the window is centred by: the client area plus a 3-pixel
// frame on each side and a 19-pixel title bar.
constexpr int kOuterWidth = 340;
constexpr int kOuterHeight = 253;

QIcon applicationIcon() {
  QIcon icon;
  for (const Bytes& image : {appIcon16(), appIcon32()}) {
    const std::vector<std::uint32_t> argb = iconArgb(image);
    const int n = image.size() == layout::kSize16 ? 16 : 32;
    QImage picture(n, n, QImage::Format_ARGB32);
    for (int y = 0; y < n; ++y)
      std::memcpy(picture.scanLine(y), argb.data() + static_cast<std::size_t>(y) * n, 4 * static_cast<std::size_t>(n));
    icon.addPixmap(QPixmap::fromImage(picture));
  }
  return icon;
}

Canvas* makeCanvas(QWidget* parent, const char16_t* name, int left, int top, int size, bool autoRedraw) {
  auto* canvas = new Canvas(parent, size, size, autoRedraw, Canvas::Border::None);
  canvas->setObjectName(QString::fromUtf16(name));
  canvas->move(left, top);
  // The remaining form settings are the canvas's own defaults: default back
  // colour, picture mode 2, solid black pen, solid white brush, arrow pointer.
  return canvas;
}

// Group boxes as an etched frame with the caption on its top line and
// nothing filled inside, so an empty canvas in its default colour looks like
// plain background there too (some styles tint the inside of a group box).
class EtchedGroupStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    const QFontMetrics metrics = widget ? widget->fontMetrics() : painter->fontMetrics();
    QRect frame = option->rect;
    frame.setTop(frame.top() + metrics.height() / 2);
    qDrawShadeRect(painter, frame, option->palette, true, 1, 0);
    if (box->text.isEmpty()) return;
    const QRect caption(option->rect.left() + 6, option->rect.top(), metrics.horizontalAdvance(box->text) + 4,
                        metrics.height());
    painter->fillRect(caption, option->palette.window());
    painter->setPen(option->palette.color(QPalette::WindowText));
    painter->drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, box->text);
  }
};

QGroupBox* makeGroup(QWidget* parent, const char16_t* name, const QString& text, int l, int t, int w, int h) {
  auto* group = new QGroupBox(text, parent);
  static auto* style = new EtchedGroupStyle;  // lives as long as the program
  group->setStyle(style);
  group->setObjectName(QString::fromUtf16(name));
  group->setGeometry(l, t, w, h);
  group->setAlignment(Qt::AlignLeft);
  return group;
}

QLabel* makeLabel(QWidget* parent, const char16_t* name, const QString& text, int l, int t) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf16(name));
  label->setGeometry(l, t, 42, 18);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->hide();
  return label;
}

QRadioButton* makeRadio(QWidget* parent, const char16_t* name, const QString& text, int t, int w) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QString::fromUtf16(name));
  radio->setGeometry(6, t, w, 18);
  radio->setChecked(false);  // no format is chosen when the window opens
  return radio;
}

QPushButton* makeButton(QWidget* parent, const char16_t* name, const QString& text, int t) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromUtf16(name));
  button->setGeometry(258, t, 66, 24);
  // The window has no default button: Enter must do nothing.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

// The pixel rows at the end of a capture; a capture of an icon canvas is
// always at least that long.
Bytes lastBytes(const Bytes& capture, std::size_t count) {
  if (capture.size() < count) return Bytes(count, 0);
  return Bytes(capture.end() - static_cast<std::ptrdiff_t>(count), capture.end());
}

void overwrite(Bytes& icon, std::size_t at, const Bytes& block) {
  std::copy(block.begin(), block.end(), icon.begin() + static_cast<std::ptrdiff_t>(at));
}

// Draws the picture of `source` stretched over the whole of `target` and
// returns the captured pixel rows.
Bytes drawAndCapture(Canvas* source, Canvas* target, int n, std::size_t blockSize) {
  const Bytes bytes = source->picture();
  // The picture is only ever drawn n x n here, so a large JPEG may decode reduced.
  const std::optional<Picture> picture = decodePicture(bytes, n, n);
  target->drawPicture(picture, 0, 0, n, n);
  return lastBytes(target->capture(), blockSize);
}

}  // namespace

MainWindow::MainWindow(AppState& state, Dialogs& dialogs)
    : QWidget(nullptr), 通用对话框1(dialogs), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("主窗口"));
  setWindowTitle(kTitle);
  // Fixed frame: system menu, minimise and close, no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kOuterWidth - 2 * 3, kOuterHeight - 2 * 3 - 19);
  setWindowIcon(applicationIcon());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kOuterWidth) / 2, area.y() + (area.height() - kOuterHeight) / 2);
  }

  分组框2 = makeGroup(this, u"分组框2", QStringLiteral("图像文件预览"), 6, 18, 114, 198);
  位图画板1 = makeCanvas(分组框2, u"位图画板1", 15, 18, 84, false);
  位图画板2 = makeCanvas(分组框2, u"位图画板2", 15, 105, 84, false);

  分组框3 = makeGroup(this, u"分组框3", QStringLiteral("图标效果"), 132, 18, 114, 102);
  图标画板1 = makeCanvas(分组框3, u"图标画板1", 12, 30, 16, true);
  图标画板2 = makeCanvas(分组框3, u"图标画板2", 12, 60, 32, true);
  标签1 = makeLabel(分组框3, u"标签1", QStringLiteral("16×16"), 60, 31);
  标签2 = makeLabel(分组框3, u"标签2", QStringLiteral("32×32"), 60, 69);

  分组框1 = makeGroup(this, u"分组框1", QStringLiteral("图标格式"), 132, 132, 114, 84);
  // Radio buttons sharing a parent are exclusive in Qt: checking one unchecks
  // the others, clicking a checked one keeps it checked, none at start.
  单选框1 = makeRadio(分组框1, u"单选框1", QStringLiteral("单16×16"), 21, 84);
  单选框2 = makeRadio(分组框1, u"单选框2", QStringLiteral("单32×32"), 39, 84);
  单选框3 = makeRadio(分组框1, u"单选框3", QStringLiteral("16×16,32×32"), 57, 102);

  选择图片 = makeButton(this, u"选择图片", QStringLiteral("选择图片"), 24);
  转换 = makeButton(this, u"转换", QStringLiteral("转　　换"), 53);
  编辑 = makeButton(this, u"编辑", QStringLiteral("编　　辑"), 82);
  保存 = makeButton(this, u"保存", QStringLiteral("保存图标"), 111);
  清除 = makeButton(this, u"清除", QStringLiteral("清    除"), 140);
  退出 = makeButton(this, u"退出", QStringLiteral("退　　出"), 186);

  // The file dialog control's form values.
  FileDialogSettings& dialog = 通用对话框1.settings;
  dialog = FileDialogSettings{};
  dialog.type = 0;
  dialog.filter = QStringLiteral("图像文件|*.bmp;*.jpg;*.gif;*.tif;*.pcx;*.ico;*.cur;*.png");
  dialog.filterIndex = 0;
  dialog.fileMustExist = true;
  dialog.pathMustExist = true;
  dialog.overwritePrompt = true;
  dialog.createPrompt = false;
  dialog.noChangeDir = false;

  connect(选择图片, &QPushButton::clicked, this, [this] { clicked_选择图片(); });
  connect(转换, &QPushButton::clicked, this, [this] { clicked_转换(); });
  connect(保存, &QPushButton::clicked, this, [this] { clicked_保存(); });
  connect(清除, &QPushButton::clicked, this, [this] { clicked_清除(); });
  connect(退出, &QPushButton::clicked, this, [this] { clicked_退出(); });
  // 编辑 belongs to the editor; app/ connects it.

  created();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);  // ignored: Enter and the rest do nothing
}

void MainWindow::created() { state_.outputIcon = Bytes(); }

void MainWindow::clicked_选择图片() {
  通用对话框1.settings.filter = kOpenFilter;
  通用对话框1.settings.type = 0;
  通用对话框1.settings.defaultExt = QString();

  if (!单选框1->isChecked() && !单选框2->isChecked() && !单选框3->isChecked()) {
    dialogs_.messageBox(QStringLiteral("请先设置图标格式!"), mb::kWarning, kWarningTitle);
    return;
  }
  if (单选框3->isChecked()) {
    dialogs_.messageBox(QStringLiteral("即将打开欲转换为16x16格式的图像文件。"), mb::kInformation, kOpenTitle);
    if (通用对话框1.open()) 位图画板1->setPicture(readWholeFile(通用对话框1.settings.fileName));
    dialogs_.messageBox(QStringLiteral("即将打开欲转换为32x32格式的图像文件。"), mb::kInformation, kOpenTitle);
    if (通用对话框1.open()) 位图画板2->setPicture(readWholeFile(通用对话框1.settings.fileName));
    return;
  }
  if (通用对话框1.open()) 位图画板1->setPicture(readWholeFile(通用对话框1.settings.fileName));
}

void MainWindow::clicked_转换() {
  // Only the first slot is tested, also for the two-size format.
  if (位图画板1->picture().empty()) {
    dialogs_.messageBox(QStringLiteral("你还未载入图像文件！"), mb::kWarning, kWarningTitle);
    return;
  }
  图标画板1->hide();
  图标画板2->hide();
  标签1->hide();
  标签2->hide();
  if (单选框1->isChecked()) {
    convert16();
    图标画板1->show();
    标签1->show();
  } else if (单选框2->isChecked()) {
    convert32();
    图标画板2->show();
    标签2->show();
  } else if (单选框3->isChecked()) {
    convertBoth();
    图标画板1->show();
    标签1->show();
    图标画板2->show();
    标签2->show();
  }
}

// The icon canvas is not cleared first: where the picture draws nothing (an
// icon's transparent pixels) the capture keeps what the canvas showed.
void MainWindow::convert16() {
  state_.outputIcon = template16();
  state_.pixels16 = drawAndCapture(位图画板1, 图标画板1, 16, layout::kPixels16);
  overwrite(state_.outputIcon, layout::kPixelsAt, state_.pixels16);
}

void MainWindow::convert32() {
  state_.outputIcon = template32();
  state_.pixels32 = drawAndCapture(位图画板1, 图标画板2, 32, layout::kPixels32);
  overwrite(state_.outputIcon, layout::kPixelsAt, state_.pixels32);
}

void MainWindow::convertBoth() {
  state_.outputIcon = templateBoth();
  state_.pixels16 = drawAndCapture(位图画板1, 图标画板1, 16, layout::kPixels16);
  overwrite(state_.outputIcon, layout::kBothPixels16At, state_.pixels16);
  state_.pixels32 = drawAndCapture(位图画板2, 图标画板2, 32, layout::kPixels32);
  overwrite(state_.outputIcon, layout::kBothPixels32At, state_.pixels32);
}

void MainWindow::clicked_保存() {
  if (state_.outputIcon.empty()) {
    dialogs_.messageBox(QStringLiteral("输出图标为空，不能被保存！"), mb::kWarning, kWarningTitle);
    return;
  }
  通用对话框1.settings.type = 1;
  通用对话框1.settings.filter = kSaveFilter;
  通用对话框1.settings.fileName = QString();
  通用对话框1.settings.defaultExt = QStringLiteral("ico");

  // A cancelled dialog, an empty name or a failed write keep the icon, the
  // previews and the pixel blocks, so the user can save again elsewhere.
  if (!通用对话框1.open()) return;
  const QString fileName = 通用对话框1.settings.fileName;
  if (fileName.isEmpty()) {
    dialogs_.messageBox(QStringLiteral("文件名称不能为空！"), mb::kWarning, kWarningTitle);
    return;
  }
  if (!writeWholeFile(fileName, state_.outputIcon)) {
    dialogs_.messageBox(QStringLiteral("图标文件保存失败！"), mb::kWarning, kWarningTitle);
    return;
  }

  // Saved: ready for the next picture. Clearing keeps a background picture
  // the editor gave an icon canvas.
  位图画板1->setPicture(Bytes());
  位图画板2->setPicture(Bytes());
  图标画板1->clear();
  图标画板2->clear();
  state_.pixels16 = Bytes();
  state_.pixels32 = Bytes();
  标签1->hide();
  标签2->hide();
  state_.outputIcon = Bytes();
}

void MainWindow::clicked_清除() {
  位图画板1->setPicture(Bytes());
  位图画板2->setPicture(Bytes());
  图标画板1->setPicture(Bytes());
  图标画板1->clear();
  图标画板2->setPicture(Bytes());
  图标画板2->clear();
  state_.outputIcon = Bytes();
  state_.pixels16 = Bytes();
  state_.pixels32 = Bytes();
  标签1->hide();
  标签2->hide();
}

void MainWindow::clicked_退出() {
  if (endRun) endRun();
}

}  // namespace tavo
