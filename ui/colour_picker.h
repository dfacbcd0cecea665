// The colour picker control: a sunken field showing the current colour with a
// drop-down arrow; a click opens a popup with the 32 palette colours and a
// "其它颜色..." button that opens the system colour dialog.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "icon/types.h"

namespace tavo {

class Dialogs;
class ColourPopup;

struct PaletteEntry {
  Colour colour;      // 0x00BBGGRR
  const char* name;   // UTF-8, shown as the box's tooltip
};

class ColourPicker : public QWidget {
  Q_OBJECT

 public:
  // `dialogs` answers "其它颜色..."; without one that entry does nothing.
  explicit ColourPicker(QWidget* parent = nullptr, Dialogs* dialogs = nullptr);
  ~ColourPicker() override;

  Colour colour() const { return colour_; }
  // Redraws at once; emits colourChanged whenever the value changes, by the
  // user or by a call.
  void setColour(Colour colour);
  // Kept as a setting only: the program keeps it off, and the popup offers
  // no transparent entry.
  bool allowTransparent() const { return allowTransparent_; }
  void setAllowTransparent(bool allow) { allowTransparent_ = allow; }
  void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

  // The popup's colours in their order.
  static const std::array<PaletteEntry, 32>& paletteEntries();

  // Opens the popup below the field (what a click does). The popup is open
  // until an entry is taken or it is dismissed; popup() is null otherwise.
  void openPopup();
  ColourPopup* popup() const { return popup_; }

  QSize sizeHint() const override { return {60, 22}; }

 signals:
  void colourChanged(quint32 colour);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class ColourPopup;
  void taken(int index);  // from the popup: a palette index, or kOther

  Colour colour_ = 0;
  bool allowTransparent_ = false;
  Dialogs* dialogs_ = nullptr;
  ColourPopup* popup_ = nullptr;
};

// The palette popup. Public so tests can find its entries.
class ColourPopup : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kBox = 18;       // box size in pixels
  static constexpr int kColumns = 7;
  static constexpr int kEdge = 2;       // the system edge width
  static constexpr int kOther = 32;     // entry index of "其它颜色..."
  static constexpr int kNone = -1;

  ColourPopup(ColourPicker* picker, Colour current);

  int highlighted() const { return highlighted_; }
  int marked() const { return marked_; }  // the current colour's box, or kNone
  QRect entryRect(int index) const;       // a box or the "其它颜色..." button
  int entryAt(const QPoint& pos) const;   // kNone outside every entry

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  friend class ColourPicker;
  void setHighlight(int index);
  void take(int index);
  void dismiss();

  ColourPicker* picker_;
  // Opened by a press on the field: the release of that click is not a choice.
  bool awaitingOpeningRelease_ = false;
  int highlighted_ = kNone;
  int marked_ = kNone;
  bool done_ = false;
};

}  // namespace tavo
