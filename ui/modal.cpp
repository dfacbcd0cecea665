#include "ui/modal.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <utility>
#include <vector>

namespace tavo {

namespace {

// Ends the nested loop when the window it watches is closed or hidden.
class CloseWatcher : public QObject {
 public:
  explicit CloseWatcher(QEventLoop& loop) : loop_(loop) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
      if (event->type() == QEvent::Hide || event->isAccepted())
        QMetaObject::invokeMethod(&loop_, "quit", Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QEventLoop& loop_;
};

}  // namespace

void openModal(QWidget* window) {
  std::vector<std::pair<QPointer<QWidget>, bool>> others;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top == window || !top->isWindow()) continue;
    others.emplace_back(top, top->isEnabled());
    top->setEnabled(false);
  }
  QEventLoop loop;
  CloseWatcher watcher(loop);
  window->installEventFilter(&watcher);
  window->show();
  if (window->isVisible()) loop.exec(QEventLoop::DialogExec);
  window->removeEventFilter(&watcher);
  for (auto& [top, wasEnabled] : others)
    if (top) top->setEnabled(wasEnabled);
}

void requestClose(QWidget* window) {
  QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
}

}  // namespace tavo
