#include "toolkit/headless/HeadlessHost.h"

#include <QGuiApplication>

namespace koru {

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "koru-headless";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends; Qt must not be torn down under static destructors.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace koru
