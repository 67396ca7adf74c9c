// The program's entry: the system's own services, then the program over them.
#include <windows.h>

#include "platform/win32/dpi.h"
#include "platform/win32/program.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_date_locale.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_log_lock.h"
#include "platform/win32/win32_system_query.h"
#include "platform/win32/win32_text_codec.h"

using namespace kestrevane;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    win32::enableDpiAwareness();

    win32::Win32Clock clock;
    win32::Win32DateLocale locale;
    win32::Win32Files files;
    win32::Win32TextCodec codec;
    win32::Win32SystemQuery system;
    win32::Win32LogLock lock;
    win32::ProgramServices services{clock, locale, files, codec, system, lock};
    return win32::runProgram(services);
}
