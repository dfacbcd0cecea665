// The file dialog control: settings that persist between uses, and opening
// the dialog they describe through the dialog seam.
#pragma once

#include <QStringList>

#include "ui/dialogs.h"

namespace tavo {

class FileDialogControl {
 public:
  explicit FileDialogControl(Dialogs& dialogs) : dialogs_(dialogs) {}

  FileDialogSettings settings;  // the form values of the main window by default

  // true when the user confirmed; settings.fileName then holds the full path.
  bool open() { return dialogs_.openFileDialog(settings); }

 private:
  Dialogs& dialogs_;
};

// The "|"-separated filter as Qt's filter list, e.g. "图像文件 (*.bmp *.jpg)".
// Trailing blanks are removed and "||" completes the last pair.
QStringList qtFilters(const QString& filter, QStringList* descriptions = nullptr);

}  // namespace tavo
