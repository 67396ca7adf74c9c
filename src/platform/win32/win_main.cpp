// The program's entry: the system's own services, then the program over them.
#include <windows.h>

#include "platform/win32/program.h"
#include "platform/win32/win32_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    kestrevane::win32::prepareProcess();
    kestrevane::win32::Win32Services system;
    kestrevane::win32::ProgramServices services = system.program();
    return kestrevane::win32::runProgram(services);
}
