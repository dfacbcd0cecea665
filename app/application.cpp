#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "editor/editor_window.h"
#include "main_window/main_window.h"

namespace tavo {

namespace {

// Every caption is Chinese. Without a desktop theme Qt's default font is a
// Latin one whose fallback renders the captions too wide for the fixed
// places of the form, so the CJK font the scripts install is the GUI font.
void useCjkGuiFont() {
  const QString family = QStringLiteral("WenQuanYi Zen Hei");
  if (!QFontDatabase::families().contains(family)) return;
  QFont font(family);
  font.setPointSize(9);
  QApplication::setFont(font);
}

}  // namespace

Application::Application(Dialogs* dialogs) : dialogs_(dialogs ? *dialogs : static_cast<Dialogs&>(realDialogs_)) {
  useCjkGuiFont();
  window_ = std::make_unique<MainWindow>(state_, dialogs_);
  window_->endRun = [this] { endRun(); };
  // The main window knows nothing of the editor; the wiring lives here.
  QObject::connect(window_->编辑, &QPushButton::clicked, window_.get(),
                   [this] { clicked_编辑(state_, *window_, dialogs_); });
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
