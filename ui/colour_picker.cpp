#include "ui/colour_picker.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>
#include <qdrawutil.h>

#include "ui/dialogs.h"

namespace tavo {

namespace {

constexpr int kFieldEdge = 2;     // the sunken field's edge
constexpr int kArrowWidth = 16;   // the drop-down button, as wide as a scroll bar
constexpr int kOtherHeight = 22;  // the "其它颜色..." button
constexpr int kOtherGap = 2;      // between the boxes and the button
constexpr int kRows = 5;

QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

const std::array<PaletteEntry, 32> kPalette = {{
    {0x00000000, "黑色"}, {0x00800000, "藏青"}, {0x00008000, "墨绿"}, {0x00808000, "深青"},
    {0x00000080, "红褐"}, {0x00800080, "紫红"}, {0x00008080, "褐绿"}, {0x00C0C0C0, "浅灰"},
    {0x00808080, "灰色"}, {0x00FF0000, "蓝色"}, {0x0000FF00, "绿色"}, {0x00FFFF00, "艳青"},
    {0x000000FF, "红色"}, {0x00FF00FF, "品红"}, {0x0000FFFF, "黄色"}, {0x00FFFFFF, "白色"},
    {0x00FF8080, "蓝灰"}, {0x00E03058, "藏蓝"}, {0x0000E080, "嫩绿"}, {0x0080E000, "青绿"},
    {0x000060C0, "黄褐"}, {0x00FFA8FF, "粉红"}, {0x0000D8D8, "嫩黄"}, {0x00ECECEC, "银白"},
    {0x00FF0090, "紫色"}, {0x00FF8800, "天蓝"}, {0x0080A080, "灰绿"}, {0x00C06000, "青蓝"},
    {0x000080FF, "橙黄"}, {0x008050FF, "桃红"}, {0x00C080FF, "芙红"}, {0x00606060, "深灰"},
}};

}  // namespace

// ---------------------------------------------------------------- the field

ColourPicker::ColourPicker(QWidget* parent, Dialogs* dialogs) : QWidget(parent), dialogs_(dialogs) {
  setFocusPolicy(Qt::StrongFocus);
}

ColourPicker::~ColourPicker() {
  if (popup_ != nullptr) {
    popup_->picker_ = nullptr;
    delete popup_;
  }
}

const std::array<PaletteEntry, 32>& ColourPicker::paletteEntries() { return kPalette; }

void ColourPicker::setColour(Colour colour) {
  if (colour == colour_) return;
  colour_ = colour;
  repaint();  // at once, not at the next turn of the event loop
  emit colourChanged(colour_);
}

void ColourPicker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const bool enabled = isEnabled();
  const QRect all = rect();
  qDrawWinPanel(&p, all, pal, true);
  const QRect inner = all.adjusted(kFieldEdge, kFieldEdge, -kFieldEdge, -kFieldEdge);
  // A disabled field loses its white background, like any greyed edit field.
  p.fillRect(inner, enabled ? QBrush(Qt::white) : pal.button());

  const QRect arrow(inner.right() - kArrowWidth + 1, inner.top(), kArrowWidth, inner.height());
  qDrawWinButton(&p, arrow, pal, popup_ != nullptr, &pal.button());
  QStyleOption arrowOption;
  arrowOption.initFrom(this);
  arrowOption.rect = arrow.adjusted(3, 3, -3, -3);
  if (popup_ != nullptr) arrowOption.rect.translate(1, 1);
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrowOption, &p, this);

  const QRect swatch(inner.left() + 3, inner.top() + 3, inner.width() - kArrowWidth - 6, inner.height() - 6);
  if (swatch.width() > 0 && swatch.height() > 0) {
    if (enabled) {
      const QColor fill = colour_ == kDefaultColour ? pal.color(QPalette::Button) : toQColor(colour_);
      p.fillRect(swatch, fill);
      p.setPen(Qt::black);
    } else {
      p.setPen(pal.color(QPalette::Disabled, QPalette::WindowText));
    }
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
  }
  if (hasFocus()) {
    QPen dots(Qt::black, 1, Qt::DotLine);
    dots.setCosmetic(true);
    p.setPen(dots);
    p.drawRect(swatch.adjusted(-2, -2, 1, 1));
  }
}

void ColourPicker::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    openPopup();
    if (popup_ != nullptr) popup_->awaitingOpeningRelease_ = true;
  } else
    QWidget::mousePressEvent(event);
}

void ColourPicker::keyPressEvent(QKeyEvent* event) {
  const bool altDown = event->key() == Qt::Key_Down && event->modifiers().testFlag(Qt::AltModifier);
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_F4 || altDown)
    openPopup();
  else
    QWidget::keyPressEvent(event);
}

// A picker that is hidden or disabled while its popup is open takes nothing.
void ColourPicker::hideEvent(QHideEvent* event) {
  if (popup_ != nullptr) popup_->dismiss();
  QWidget::hideEvent(event);
}

void ColourPicker::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled() && popup_ != nullptr) popup_->dismiss();
  QWidget::changeEvent(event);
}

void ColourPicker::openPopup() {
  if (popup_ != nullptr || !isEnabled()) return;
  popup_ = new ColourPopup(this, colour_);
  QPoint at = mapToGlobal(QPoint(0, height()));
  // Keep the whole popup on the screen: shift it left, or put it above the
  // field when there is no room below.
  if (QScreen* s = screen()) {
    const QRect avail = s->availableGeometry();
    const QSize size = popup_->size();
    if (at.x() + size.width() > avail.right() + 1) at.setX(avail.right() + 1 - size.width());
    if (at.x() < avail.left()) at.setX(avail.left());
    if (at.y() + size.height() > avail.bottom() + 1) at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
    if (at.y() < avail.top()) at.setY(avail.top());
  }
  popup_->setGeometry(QRect(at, popup_->size()));  // the popup itself, not a frame around it
  popup_->show();
  popup_->setFocus(Qt::PopupFocusReason);
  update();
}

void ColourPicker::taken(int index) {
  popup_ = nullptr;
  update();
  if (index >= 0 && index < static_cast<int>(kPalette.size())) {
    setColour(kPalette[index].colour);
  } else if (index == ColourPopup::kOther && dialogs_ != nullptr) {
    if (const std::optional<Colour> chosen = dialogs_->chooseColour(colour_)) setColour(*chosen);
  }
}

// ---------------------------------------------------------------- the popup

ColourPopup::ColourPopup(ColourPicker* picker, Colour current)
    : QWidget(picker, Qt::Popup), picker_(picker) {
  setAttribute(Qt::WA_DeleteOnClose);
  setMouseTracking(true);  // hover moves the highlight
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(2 * kEdge + kColumns * kBox, kEdge + kRows * kBox + kOtherGap + kOtherHeight + kEdge);
  for (int i = 0; i < static_cast<int>(kPalette.size()); ++i)
    if (kPalette[i].colour == current) {
      marked_ = i;
      break;
    }
  highlighted_ = marked_;
  // Switching to another application dismisses the popup.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) dismiss();
  });
}

QRect ColourPopup::entryRect(int index) const {
  if (index >= 0 && index < kOther)
    return QRect(kEdge + (index % kColumns) * kBox, kEdge + (index / kColumns) * kBox, kBox, kBox);
  if (index == kOther) return QRect(kEdge, kEdge + kRows * kBox + kOtherGap, kColumns * kBox, kOtherHeight);
  return {};
}

int ColourPopup::entryAt(const QPoint& pos) const {
  for (int i = 0; i <= kOther; ++i)
    if (entryRect(i).contains(pos)) return i;
  return kNone;
}

void ColourPopup::setHighlight(int index) {
  if (index == highlighted_) return;
  highlighted_ = index;
  update();
}

void ColourPopup::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), pal.button());
  qDrawWinPanel(&p, rect(), pal, false);

  for (int i = 0; i < kOther; ++i) {
    const QRect cell = entryRect(i);
    if (i == marked_) {
      // The current colour sits in a pressed-in, lighter cell.
      p.fillRect(cell, pal.light());
      qDrawShadeRect(&p, cell, pal, true, 1, 0);
    }
    if (i == highlighted_) {
      p.setPen(pal.color(QPalette::Highlight));
      p.drawRect(cell.adjusted(0, 0, -1, -1));
      p.drawRect(cell.adjusted(1, 1, -2, -2));
    }
    const QRect swatch = cell.adjusted(3, 3, -3, -3);
    p.fillRect(swatch, toQColor(kPalette[i].colour));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
  }

  const QRect other = entryRect(kOther);
  qDrawWinButton(&p, other, pal, false, &pal.button());
  if (highlighted_ == kOther) {
    p.setPen(pal.color(QPalette::Highlight));
    p.drawRect(other.adjusted(2, 2, -3, -3));
  }
  p.setPen(pal.color(QPalette::ButtonText));
  p.drawText(other, Qt::AlignCenter, QStringLiteral("其它颜色..."));
}

// The popup is closed by a release outside it, not already by the press.
void ColourPopup::mousePressEvent(QMouseEvent* event) {
  awaitingOpeningRelease_ = false;
  mouseMoveEvent(event);
  event->accept();
}

void ColourPopup::mouseMoveEvent(QMouseEvent* event) {
  const int at = entryAt(event->position().toPoint());
  if (at != kNone) setHighlight(at);
}

void ColourPopup::mouseReleaseEvent(QMouseEvent* event) {
  const bool inside = rect().contains(event->position().toPoint());
  if (awaitingOpeningRelease_) {
    // The end of the click that opened the popup; a drag from the field into
    // the popup and a release there still takes the entry.
    awaitingOpeningRelease_ = false;
    if (!inside) return;
  }
  if (!inside) {
    dismiss();
  } else if (event->button() == Qt::LeftButton) {
    take(highlighted_);
  }
}

void ColourPopup::keyPressEvent(QKeyEvent* event) {
  const int n = kOther + 1;  // the boxes, then the button
  const int h = highlighted_;
  switch (event->key()) {
    case Qt::Key_Escape: dismiss(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: take(highlighted_); return;
    case Qt::Key_Left: setHighlight(h == kNone ? 0 : (h + n - 1) % n); return;
    case Qt::Key_Right: setHighlight(h == kNone ? 0 : (h + 1) % n); return;
    case Qt::Key_Down:
      if (h == kNone) setHighlight(0);
      else if (h == kOther) setHighlight(h % kColumns);  // back to the top row
      else setHighlight(h + kColumns < kOther ? h + kColumns : kOther);
      return;
    case Qt::Key_Up:
      if (h == kNone) setHighlight(0);
      else if (h == kOther) setHighlight((kRows - 1) * kColumns);
      else setHighlight(h >= kColumns ? h - kColumns : kOther);
      return;
    default: QWidget::keyPressEvent(event);
  }
}

bool ColourPopup::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int at = entryAt(help->pos());
    if (at >= 0 && at < kOther)
      QToolTip::showText(help->globalPos(), QString::fromUtf8(kPalette[at].name), this, entryRect(at));
    else
      QToolTip::hideText();
    return true;
  }
  if (event->type() == QEvent::Close && !done_) {
    // Closed by Qt (a press outside): nothing is taken.
    done_ = true;
    if (picker_ != nullptr) picker_->taken(kNone);
  }
  return QWidget::event(event);
}

void ColourPopup::take(int index) {
  if (done_) return;
  done_ = true;
  ColourPicker* picker = picker_;
  close();
  if (picker != nullptr) picker->taken(index);
}

void ColourPopup::dismiss() { take(kNone); }

}  // namespace tavo
