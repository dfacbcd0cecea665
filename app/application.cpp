#include "app/application.h"

#include <QApplication>

#include "main_window/main_window.h"

namespace tavo {

Application::Application(Dialogs* dialogs)
    : dialogs_(dialogs ? *dialogs : static_cast<Dialogs&>(realDialogs_)),
      window_(std::make_unique<MainWindow>(state_, dialogs_)) {
  window_->endRun = [this] { endRun(); };
}

Application::~Application() = default;

int Application::run() {
  // Closing the main window (close button or Esc) ends the run; the editor
  // window closing never does, as the main window stays open beneath it.
  QApplication::setQuitOnLastWindowClosed(true);
  window_->show();
  const int code = QApplication::exec();
  release();
  return code;
}

void Application::release() {
  if (released_) return;
  released_ = true;
  state_.release();
}

void Application::endRun() {
  release();
  QApplication::exit(0);
}

}  // namespace tavo
