// A Dialogs implementation for headless tests: records every message box and
// file dialog, answers file dialogs from a queue (a path confirms it, nullopt
// cancels), message boxes from a queue (0 when the queue is empty) and the
// colour dialog from a queue (nullopt cancels).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "ui/dialogs.h"

namespace tavo::testing {

struct ShownBox {
  QString text;
  int flags = 0;
  QString title;
  friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

inline void PrintTo(const ShownBox& b, std::ostream* os) {
  *os << "{\"" << b.text.toStdString() << "\", " << b.flags << ", \"" << b.title.toStdString() << "\"}";
}

class ScriptedDialogs : public Dialogs {
 public:
  // What the handlers showed, in order.
  std::vector<ShownBox> boxes;
  std::vector<FileDialogSettings> fileDialogs;  // the settings at each opening
  int colourDialogs = 0;

  // Answers, taken from the front.
  std::deque<std::optional<QString>> fileAnswers;
  std::deque<int> boxAnswers;
  std::deque<std::optional<Colour>> colourAnswers;

  int messageBox(const QString& text, int flags, const QString& title) override {
    boxes.push_back({text, flags, title});
    if (boxAnswers.empty()) return mb::kOk;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
  }

  bool openFileDialog(FileDialogSettings& settings) override {
    fileDialogs.push_back(settings);
    if (fileAnswers.empty()) {
      ADD_FAILURE() << "a file dialog opened that the test did not expect";
      return false;
    }
    const std::optional<QString> answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer) return false;
    settings.fileName = *answer;
    return true;
  }

  std::optional<Colour> chooseColour(Colour) override {
    ++colourDialogs;
    if (colourAnswers.empty()) return std::nullopt;
    const std::optional<Colour> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
  }
};

}  // namespace tavo::testing
