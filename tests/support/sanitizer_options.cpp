// The sanitized tests stop at their first finding, whether ctest runs them
// or a person does; settings in the environment still win.
extern "C" const char* __asan_default_options() { return "halt_on_error=1:detect_stack_use_after_return=1"; }
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
