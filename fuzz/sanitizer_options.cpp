// Built-in AddressSanitizer options of the fuzz targets (ASAN_OPTIONS in the
// environment still override them, e.g. quarantine_size_mb=256 to look for a
// use after free across many inputs).
//
// ASan keeps freed memory in a quarantine of 256 MB by default. With that, a
// target's resident memory creeps past 1 GB after about half a million inputs,
// and from half of its RSS limit (-rss_limit_mb, 2048 by default) libFuzzer
// purges the allocator every second: everything freed goes back to the kernel
// and is faulted in again, and the fuzz_theme_loader rate fell from about 800
// to under 250 inputs per second (docs/reliability.md). A 64 MB quarantine
// still holds the memory freed by many inputs, far more than one input frees.

extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=64";
}
