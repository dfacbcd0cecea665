// Program entry: no command line, no configuration.
#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tavo::Application program;
  return program.run();
}
