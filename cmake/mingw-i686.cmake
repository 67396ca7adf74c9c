set(CMAKE_SYSTEM_PROCESSOR i686)
set(KESTREVANE_MINGW_TRIPLET i686-w64-mingw32)
# The win32-thread compilers: the 32-bit exe is the one for old Windows, and without
# winpthread it is smaller and imports nothing Windows XP lacks. Nothing in it needs
# std::thread; its tests (which GoogleTest would need posix threads for) are not built.
set(KESTREVANE_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
