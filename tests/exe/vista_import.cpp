// Imports a function Windows XP lacks, for the test that the import check sees it.
#include <windows.h>

int main() { return GetThreadId(GetCurrentThread()) == 0 ? 1 : 0; }
