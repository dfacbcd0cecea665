// The drawing canvas: a child control that shows a background colour and
// picture, keeps (with auto redraw) a backing bitmap that every drawing goes
// to, and can be captured as a 24-bit bitmap file image. All pixels are
// drawn by the icon layer's raster code; QPainter only puts the bitmap on the
// screen and draws the border.
#pragma once

#include <QWidget>
#include <optional>

#include "icon/bitmap.h"
#include "icon/picture.h"
#include "icon/types.h"

namespace tavo {

class Canvas : public QWidget {
  Q_OBJECT

 public:
  enum class Border { None, ThinSunken, RaisedFrame };

  // The widget's size is the drawable area plus the border on each side.
  Canvas(QWidget* parent, int drawableWidth, int drawableHeight, bool autoRedraw,
         Border border = Border::None);

  int drawableWidth() const { return drawableWidth_; }
  int drawableHeight() const { return drawableHeight_; }
  Border border() const { return border_; }
  static int borderWidth(Border b);
  bool autoRedraw() const { return autoRedraw_; }

  // Settings.
  Colour backColour() const { return backColour_; }
  void setBackColour(Colour colour);   // rebuilds only when it differs
  Bytes picture();                      // decodes first if needed; empty when the bytes failed
  void setPicture(const Bytes& bytes);  // always rebuilds, also for the same bytes
  int pictureMode() const { return pictureMode_; }
  void setPictureMode(int mode);
  Pen pen() const { return pen_; }
  void setPen(Pen pen) { pen_ = pen; }
  bool brushHollow() const { return brush_.hollow; }
  void setBrushHollow(bool hollow) { brush_.hollow = hollow; }
  Colour brushColour() const { return brush_.colour; }
  void setBrushColour(Colour colour) { brush_.colour = colour; }
  Colour textColour() const { return textColour_; }
  void setTextColour(Colour colour) { textColour_ = colour; }
  Colour textBackColour() const { return textBackColour_; }
  void setTextBackColour(Colour colour) { textBackColour_ = colour; }

  // Operations.
  void clear();
  void drawRectangle(int left, int top, int right, int bottom);
  void drawPoint(int x, int y, Colour colour);
  void drawPicture(const std::optional<Picture>& picture, int x, int y);
  void drawPicture(const std::optional<Picture>& picture, int x, int y, int w, int h);
  Bytes capture();

  // The backing bitmap (auto redraw on), for tests and benchmarks.
  const Bitmap& backing() const { return backing_; }
  // The colour the default colour 0xFF000000 is painted as.
  Colour resolve(Colour colour) const;

 signals:
  // Positions are pixels of the drawable area; keys: 1 Ctrl, 2 Shift, 4 Alt.
  void mousePressed(int x, int y, int keys);
  void mouseMoved(int x, int y, int keys);
  void mouseReleased(int x, int y, int keys);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void rebuild();
  void paintScreenBackground();  // the background alone into backing_
  void ensureDecoded();
  Bitmap& target();  // the backing bitmap, or the scratch screen image without auto redraw
  void changed(Rect r);
  bool toDrawable(const QPointF& pos, int& x, int& y) const;
  void forwardMove(QMouseEvent* event);

  int drawableWidth_;
  int drawableHeight_;
  bool autoRedraw_;
  Border border_;
  Colour backColour_ = kDefaultColour;
  Bytes pictureBytes_;
  std::optional<Picture> decoded_;
  bool decodeTried_ = false;
  int pictureMode_ = 2;
  Pen pen_{};
  Brush brush_{};
  Colour textColour_ = 0;
  Colour textBackColour_ = kDefaultColour;
  bool screenStale_ = true;  // without auto redraw: the screen image needs its background again
  Bitmap backing_;  // auto redraw: the canvas's image; otherwise the last painted background
};

}  // namespace tavo
