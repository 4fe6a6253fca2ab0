// AddressSanitizer's settings for every fuzz target, linked into each.
//
// The fuzz runs hold the process to the program's memory budget, and
// AddressSanitizer's memory counts in it. Its quarantine keeps freed blocks
// from being reused, to catch a use after free; at its default of 256 MiB
// it alone outgrows the budget within seconds. A sixteenth of that still
// holds the freed blocks of many inputs, and freed pages go back to the
// system soon, so the peak follows what an input takes.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:allocator_release_to_os_interval_ms=100";
}
