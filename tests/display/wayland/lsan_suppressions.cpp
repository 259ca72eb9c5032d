// The leak check's suppressions for this test program, which opens
// libdecor's frames in its own process (the same as lsan.supp, which the
// program's runs under weston are given).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so.1\n"; }
