// Opening a window modally and closing it after the running handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "ui/modal.h"

namespace tavo {
namespace {

TEST(OpenModal, OtherWindowsRefuseInputMeanwhileAndGetTheirStateBack) {
  QWidget enabled, disabled;
  disabled.setEnabled(false);
  enabled.show();
  disabled.show();
  QWidget modal;
  bool othersDisabledWhileOpen = false;
  bool returnedAfterClose = false;
  QTimer::singleShot(0, [&] {
    othersDisabledWhileOpen = modal.isVisible() && !enabled.isEnabled() && !disabled.isEnabled();
    modal.close();
  });
  openModal(&modal);
  returnedAfterClose = !modal.isVisible();
  EXPECT_TRUE(othersDisabledWhileOpen);
  EXPECT_TRUE(returnedAfterClose);
  EXPECT_TRUE(enabled.isEnabled());
  EXPECT_FALSE(disabled.isEnabled());
}

TEST(RequestClose, StatementsAfterItRunBeforeTheWindowCloses) {
  QWidget modal;
  auto* button = new QPushButton(QStringLiteral("确定"), &modal);
  std::vector<std::string> steps;
  QObject::connect(button, &QPushButton::clicked, [&] {
    requestClose(&modal);
    steps.push_back(modal.isVisible() ? "after request, still open" : "closed too early");
  });
  QTimer::singleShot(0, button, [button] { button->click(); });
  openModal(&modal);
  steps.push_back(modal.isVisible() ? "returned while open" : "returned closed");
  EXPECT_EQ(steps, (std::vector<std::string>{"after request, still open", "returned closed"}));
}

}  // namespace
}  // namespace tavo
