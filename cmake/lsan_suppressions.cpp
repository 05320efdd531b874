// Linked into every program of a sanitizer build: leaks inside system libraries that Qt loads
// (D-Bus keeps a cache for the life of the process) are not ours to fix.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
