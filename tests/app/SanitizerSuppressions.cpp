// fontconfig keeps a process-wide cache that it never frees; not our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
