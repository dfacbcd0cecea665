// Start-up and the end of the run: one state object, the real dialogs, the
// main window, the event loop and the shutdown release.
#pragma once

#include <memory>

#include "app/state.h"
#include "ui/dialogs_qt.h"

namespace tavo {

class MainWindow;

class Application {
 public:
  // Needs a QApplication. Creates the main window (its created handler
  // runs) with the 编辑 button wired to the editor. `dialogs` replaces the
  // real dialogs (tests); it must outlive the Application.
  explicit Application(Dialogs* dialogs = nullptr);
  ~Application();

  // Shows the main window and runs the event loop until the last window
  // has closed or endRun; then the shutdown release. Returns the exit code.
  int run();

  // 退出: the shutdown release, and every running event loop, nested ones
  // included, ends at once with exit code 0.
  void endRun();

  AppState& state() { return state_; }
  MainWindow& mainWindow() { return *window_; }

 private:
  void release();

  AppState state_;
  QtDialogs realDialogs_;
  Dialogs& dialogs_;
  std::unique_ptr<MainWindow> window_;
  bool released_ = false;
};

}  // namespace tavo
