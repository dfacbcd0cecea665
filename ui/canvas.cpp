#include "ui/canvas.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <qdrawutil.h>

namespace tavo {

namespace {

int keyState(Qt::KeyboardModifiers m) {
  return (m.testFlag(Qt::ControlModifier) ? 1 : 0) + (m.testFlag(Qt::ShiftModifier) ? 2 : 0) +
         (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

int Canvas::borderWidth(Border b) {
  switch (b) {
    case Border::None: return 0;
    case Border::ThinSunken: return 1;
    case Border::RaisedFrame: return 3;
  }
  return 0;
}

Canvas::Canvas(QWidget* parent, int drawableWidth, int drawableHeight, bool autoRedraw, Border border)
    : QWidget(parent),
      drawableWidth_(std::max(drawableWidth, 1)),
      drawableHeight_(std::max(drawableHeight, 1)),
      autoRedraw_(autoRedraw),
      border_(border) {
  const int b = borderWidth(border_);
  setFixedSize(drawableWidth_ + 2 * b, drawableHeight_ + 2 * b);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);  // moves without a button held are events too
  setAttribute(Qt::WA_OpaquePaintEvent);
  rebuild();
}

Colour Canvas::resolve(Colour colour) const {
  if (colour != kDefaultColour) return colour & 0x00FFFFFFu;
  const QColor face = palette().color(QPalette::Button);
  return makeColour(static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                    static_cast<std::uint8_t>(face.blue()));
}

void Canvas::ensureDecoded() {
  if (decodeTried_) return;
  decodeTried_ = true;
  if (pictureBytes_.empty()) return;
  // Only a centred picture is promised never to be drawn larger than the
  // canvas; at the top-left or tiled it is drawn at natural size.
  const bool fits = pictureMode_ == 2;
  decoded_ = decodePicture(pictureBytes_, fits ? drawableWidth_ : 0, fits ? drawableHeight_ : 0);
  if (!decoded_) pictureBytes_.clear();  // bytes that are no picture are dropped
}

void Canvas::rebuild() {
  if (!autoRedraw_) {
    // No backing bitmap: the background is painted again at the next repaint.
    screenStale_ = true;
    update();
    return;
  }
  paintScreenBackground();
  update();
}

void Canvas::paintScreenBackground() {
  Bitmap fresh(drawableWidth_, drawableHeight_);
  ensureDecoded();
  paintBackground(fresh, decoded_ ? &*decoded_ : nullptr, pictureMode_, resolve(backColour_));
  backing_ = std::move(fresh);
  screenStale_ = false;
}

Bitmap& Canvas::target() {
  // Without auto redraw a drawing goes to the screen image as it stands,
  // which starts from the background; it lasts until the next repaint.
  if (!autoRedraw_ && screenStale_) paintScreenBackground();
  return backing_;
}

void Canvas::changed(Rect r) {
  if (r.empty()) return;
  const int b = borderWidth(border_);
  update(QRect(r.x + b, r.y + b, r.w, r.h));
}

void Canvas::setBackColour(Colour colour) {
  if (colour == backColour_) return;
  backColour_ = colour;
  rebuild();
}

Bytes Canvas::picture() {
  ensureDecoded();
  return pictureBytes_;
}

void Canvas::setPicture(const Bytes& bytes) {
  pictureBytes_ = bytes;
  decoded_.reset();
  decodeTried_ = false;
  rebuild();  // without auto redraw, decoded at the next repaint
}

void Canvas::setPictureMode(int mode) {
  mode = std::clamp(mode, 0, 2);
  if (mode == pictureMode_) return;
  pictureMode_ = mode;
  // The decoding may depend on the placement; start again from the bytes.
  decoded_.reset();
  decodeTried_ = false;
  rebuild();
}

void Canvas::clear() { rebuild(); }

void Canvas::drawRectangle(int left, int top, int right, int bottom) {
  Pen pen = pen_;
  pen.colour = resolve(pen.colour);
  Brush brush = brush_;
  brush.colour = resolve(brush.colour);
  changed(tavo::drawRectangle(target(), left, top, right, bottom, pen, brush));
}

void Canvas::drawPoint(int x, int y, Colour colour) {
  tavo::drawPoint(target(), x, y, resolve(colour));
  changed(clipped(target(), {x, y, 1, 1}));
}

void Canvas::drawPicture(const std::optional<Picture>& picture, int x, int y) {
  if (!picture) return;
  drawPicture(picture, x, y, picture->width, picture->height);
}

void Canvas::drawPicture(const std::optional<Picture>& picture, int x, int y, int w, int h) {
  if (!picture) return;
  tavo::drawPicture(target(), *picture, x, y, w, h);
  changed(clipped(target(), {x, y, w, h}));
}

Bytes Canvas::capture() { return captureBitmap(target()); }

void Canvas::paintEvent(QPaintEvent* event) {
  // Without a backing bitmap a repaint the platform asks for starts again
  // from the background; one asked for by a drawing shows the drawing.
  if (!autoRedraw_ && screenStale_) paintScreenBackground();
  QPainter painter(this);
  const int b = borderWidth(border_);
  const QImage image(reinterpret_cast<const uchar*>(backing_.data()), backing_.width(), backing_.height(),
                     backing_.width() * 4, QImage::Format_RGB32);
  const QRect area = event->rect().intersected(QRect(b, b, drawableWidth_, drawableHeight_));
  if (!area.isEmpty()) painter.drawImage(area, image, area.translated(-b, -b));
  if (border_ == Border::ThinSunken) {
    // One pixel: shadow above and left, light below and right. (qDrawShadeRect
    // with a line width of 1 still draws two pixels and would cover the edge
    // pixels of the drawable area.)
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), palette().dark());
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), palette().dark());
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), palette().light());
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), palette().light());
  } else if (border_ == Border::RaisedFrame) {
    qDrawWinPanel(&painter, rect(), palette(), false);
    painter.fillRect(QRect(2, 2, width() - 4, 1), palette().button());
    painter.fillRect(QRect(2, 2, 1, height() - 4), palette().button());
    painter.fillRect(QRect(2, height() - 3, width() - 4, 1), palette().button());
    painter.fillRect(QRect(width() - 3, 2, 1, height() - 4), palette().button());
  }
}

void Canvas::showEvent(QShowEvent* event) {
  if (!autoRedraw_) screenStale_ = true;
  QWidget::showEvent(event);
}

bool Canvas::toDrawable(const QPointF& pos, int& x, int& y) const {
  const int b = borderWidth(border_);
  x = static_cast<int>(std::floor(pos.x())) - b;
  y = static_cast<int>(std::floor(pos.y())) - b;
  return x >= 0 && y >= 0 && x < drawableWidth_ && y < drawableHeight_;
}

// Qt grabs the mouse for the widget that got the press. This control must not:
// while the pointer is off the canvas the moves belong to whatever lies under
// it, so they are handed on to that widget.
void Canvas::forwardMove(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  if (rect().contains(mapFromGlobal(global))) return;  // over the border: nobody's
  QWidget* under = QApplication::widgetAt(global);
  if (under == nullptr || under == this) return;
  QMouseEvent moved(QEvent::MouseMove, QPointF(under->mapFromGlobal(global)), event->globalPosition(),
                    Qt::NoButton, event->buttons(), event->modifiers());
  QCoreApplication::sendEvent(under, &moved);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
  int x, y;
  if (event->button() == Qt::LeftButton && toDrawable(event->position(), x, y))
    emit mousePressed(x, y, keyState(event->modifiers()));
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
  int x, y;
  if (toDrawable(event->position(), x, y))
    emit mouseMoved(x, y, keyState(event->modifiers()));
  else if (event->buttons() != Qt::NoButton)
    forwardMove(event);
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
  int x, y;
  if (event->button() == Qt::LeftButton && toDrawable(event->position(), x, y))
    emit mouseReleased(x, y, keyState(event->modifiers()));
}

}  // namespace tavo
