#pragma once
// The environment the process tests start the program in: a private session
// bus, a home folder of the test's own, no display.
#include <QProcessEnvironment>
#include <QString>

namespace koru::test {

inline QProcessEnvironment ProgramEnvironment(const QString& busAddress, const QString& home) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
  environment.insert("HOME", home);
  environment.insert("XDG_CONFIG_HOME", home + "/config");
  environment.insert("XDG_DATA_HOME", home + "/data");
  environment.insert("XDG_RUNTIME_DIR", home);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("KORU_DEBUG", "1");
  environment.insert("ASAN_OPTIONS", "detect_leaks=0");
  // Qt paints on its own uninstrumented worker threads, which ThreadSanitizer
  // reports; these tests are about the processes, the threads have tests of their own.
  environment.insert("TSAN_OPTIONS", "halt_on_error=0:exitcode=0:report_bugs=0");
  return environment;
}

}  // namespace koru::test
