// The seam between handlers and the program's modal dialogs. Handlers call
// Dialogs; the program installs QtDialogs, tests a scripted implementation.
#pragma once

#include <QString>
#include <optional>

#include "icon/types.h"

class QWidget;

namespace tavo {

// Message box flags and answers, as the platform numbers them.
namespace mb {
inline constexpr int kWarning = 48;      // OK button, exclamation icon
inline constexpr int kInformation = 64;  // OK button, information icon
inline constexpr int kYesNo = 68;        // Yes and No buttons, information icon
inline constexpr int kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6;
}  // namespace mb

// The settings of a file dialog control; they persist between uses.
struct FileDialogSettings {
  int type = 0;  // 0 open, 1 save
  QString title;
  QString fileName;  // initial name; after a confirmed dialog the chosen full path
  QString filter;    // "description|patterns|description|patterns..."
  int filterIndex = 0;  // 0-based
  QString initialDir;
  QString defaultExt;  // without the dot
  bool fileMustExist = true;
  bool pathMustExist = true;
  bool overwritePrompt = true;
  bool createPrompt = false;
  bool noChangeDir = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // No owner window, modal to the whole program. Returns an answer code of mb.
  virtual int messageBox(const QString& text, int flags, const QString& title) = 0;
  // Confirmed: true and settings.fileName holds the chosen full path.
  // Cancelled: false and the settings are as they were.
  virtual bool openFileDialog(FileDialogSettings& settings) = 0;
  // The system colour dialog started from `initial`; nothing when cancelled.
  virtual std::optional<Colour> chooseColour(Colour initial) = 0;
};

}  // namespace tavo
