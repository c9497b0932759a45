// Linked into the test executable and the probe: what the sanitizers should not
// report about system libraries that are not built for them.

// Fontconfig keeps its caches until exit on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
// Qt, GLib and libdbus are not built for ThreadSanitizer: their own synchronisation
// (futexes and atomics out of its sight) makes their allocations look like races.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libdbus-1.so.3\ncalled_from_lib:libQt6Core.so.6\ncalled_from_lib:libQt6DBus.so.6\n"
         "called_from_lib:libQt6Gui.so.6\ncalled_from_lib:libglib-2.0.so.0\n";
}
