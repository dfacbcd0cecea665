// The main window: its 19 controls and the handlers of its buttons.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

#include "app/state.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/file_dialog.h"

namespace tavo {

class MainWindow : public QWidget {
 public:
  MainWindow(AppState& state, Dialogs& dialogs);

  // Controls, named as the form names them (also their object names).
  QGroupBox* 分组框2;
  Canvas* 位图画板1;
  Canvas* 位图画板2;
  QGroupBox* 分组框3;
  Canvas* 图标画板1;
  Canvas* 图标画板2;
  QLabel* 标签1;
  QLabel* 标签2;
  QGroupBox* 分组框1;
  QRadioButton* 单选框1;
  QRadioButton* 单选框2;
  QRadioButton* 单选框3;
  QPushButton* 选择图片;
  QPushButton* 转换;
  QPushButton* 编辑;
  QPushButton* 保存;
  QPushButton* 清除;
  QPushButton* 退出;
  FileDialogControl 通用对话框1;

  // Handlers, one per event.
  void created();
  void clicked_选择图片();
  void clicked_转换();
  void clicked_保存();
  void clicked_清除();
  void clicked_退出();

  // The per-format conversions.
  void convert16();
  void convert32();
  void convertBoth();

  // Ends the run at once (release, exit code 0); app/ installs it. 退出 calls it.
  std::function<void()> endRun;

 protected:
  // Esc closes the window like its close button; Enter does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  AppState& state_;
  Dialogs& dialogs_;
};

}  // namespace tavo
