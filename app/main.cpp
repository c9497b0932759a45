// The program's entry point: the Qt window host, then the application.
#include <QApplication>

#include <string>

#include "app/Application.h"
#include "toolkit/qt/QtWindowBackend.h"

int main(int argc, char** argv) {
  koru::UseQtWindowBackend(argc, argv);
  // The main window hides to the tray; only the tray menu's "exit" ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  koru::ApplicationOptions options;
  for (int i = 1; i < argc; ++i) options.arguments.emplace_back(argv[i]);
  return koru::RunApplication(options);
}
