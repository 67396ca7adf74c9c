set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESTREVANE_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix-thread compilers: GoogleTest needs std::thread for the tests.
set(KESTREVANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
