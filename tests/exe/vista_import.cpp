// Beside everything the exe imports, a function Windows XP lacks (GetErrorMode, Vista),
// for the test that the import check sees it. Never called: the import is what counts.
#include <windows.h>

extern "C" UINT kestrevaneVistaImport() { return GetErrorMode(); }
