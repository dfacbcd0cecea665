#include "ui/dialogs_qt.h"

#include <QColorDialog>
#include <QMessageBox>

#include "ui/file_dialog.h"

namespace tavo {

int QtDialogs::messageBox(const QString& text, int flags, const QString& title) {
  QMessageBox box;
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(title);
  box.setText(text);
  if (flags == mb::kYesNo) {
    box.setIcon(QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else {
    box.setIcon(flags == mb::kWarning ? QMessageBox::Warning : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return mb::kYes;
    case QMessageBox::No: return mb::kNo;
    case QMessageBox::Cancel: return mb::kCancel;
    case QMessageBox::Abort: return mb::kAbort;
    case QMessageBox::Retry: return mb::kRetry;
    case QMessageBox::Ignore: return mb::kIgnore;
    default: break;
  }
  // A one-button box closed by its close button or Esc answers OK; a Yes/No
  // box closed that way takes its escape button, No.
  return flags == mb::kYesNo ? mb::kNo : mb::kOk;
}

void setUpFileDialog(QFileDialog& dialog, const FileDialogSettings& settings) {
  // Qt's own dialog on every desktop, so the file-type box shows our
  // descriptions exactly and behaves the same for every user.
  QFileDialog::Options options = QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails;
  if (!settings.overwritePrompt) options |= QFileDialog::DontConfirmOverwrite;
  dialog.setOptions(options);
  dialog.setAcceptMode(settings.type == 1 ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (settings.type == 1)
    dialog.setFileMode(QFileDialog::AnyFile);
  else
    dialog.setFileMode(settings.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);

  const QStringList filters = qtFilters(settings.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = settings.filterIndex >= 0 && settings.filterIndex < filters.size() ? settings.filterIndex : 0;
    dialog.selectNameFilter(filters[index]);
  }
  if (!settings.title.isEmpty()) dialog.setWindowTitle(settings.title);
  if (!settings.initialDir.isEmpty()) dialog.setDirectory(settings.initialDir);
  if (!settings.fileName.isEmpty()) dialog.selectFile(settings.fileName);
  if (!settings.defaultExt.isEmpty()) dialog.setDefaultSuffix(settings.defaultExt);
}

bool QtDialogs::openFileDialog(FileDialogSettings& settings) {
  QFileDialog dialog;
  dialog.setWindowModality(Qt::ApplicationModal);
  setUpFileDialog(dialog, settings);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  settings.fileName = chosen.front();
  return true;
}

std::optional<Colour> QtDialogs::chooseColour(Colour initial) {
  const QColor start(redOf(initial), greenOf(initial), blueOf(initial));
  QColorDialog dialog(start);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor c = dialog.selectedColor();
  return makeColour(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue()));
}

}  // namespace tavo
