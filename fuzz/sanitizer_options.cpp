// Built-in settings of the sanitizer build (linked into the program and the
// test binary when TARNELTHC_SANITIZE is on). The program itself exits with 1
// on every failure path, so a sanitizer finding must exit with a code of its
// own: otherwise an end-to-end test that expects exit code 1 would pass over
// a crash. Settings given in ASAN_OPTIONS / UBSAN_OPTIONS / LSAN_OPTIONS are
// applied after these and win.

extern "C" const char* __asan_default_options() {
  return "exitcode=86:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}

extern "C" const char* __ubsan_default_options() { return "exitcode=86:print_stacktrace=1"; }

extern "C" const char* __lsan_default_options() { return "exitcode=86"; }
