// Program entry: no command line, no configuration.
#include <QApplication>

#include "app/state.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tavo::AppState state;
  state.release();
  return 0;
}
