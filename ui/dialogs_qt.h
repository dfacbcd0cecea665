// The real dialogs behind the dialog seam: QMessageBox, QFileDialog and
// QColorDialog, each without an owner and modal to the whole program.
#pragma once

#include <QFileDialog>

#include "ui/dialogs.h"

namespace tavo {

class QtDialogs : public Dialogs {
 public:
  int messageBox(const QString& text, int flags, const QString& title) override;
  bool openFileDialog(FileDialogSettings& settings) override;
  std::optional<Colour> chooseColour(Colour initial) override;
};

// Sets `dialog` up from the settings of a file dialog control (kept apart so
// tests can inspect a dialog built exactly as the program builds it).
void setUpFileDialog(QFileDialog& dialog, const FileDialogSettings& settings);

}  // namespace tavo
