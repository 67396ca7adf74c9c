// The whole program over its system services: the start-up, then the main window.
#pragma once

#include "startup/date_time.h"
#include "startup/file_system.h"
#include "startup/startup_log.h"
#include "sysinfo/system_info.h"
#include "ui/layout.h"

namespace kestrevane::win32 {

struct ProgramServices {
    startup::Clock& clock;
    startup::DateLocale& locale;
    startup::FileSystem& files;
    startup::TextCodec& codec;
    sysinfo::SystemQuery& system;
    startup::LogLock& lock;
    ui::Appearance& appearance;
};

// What the process sets up before anything else: where DLLs come from, the common
// controls, DPI awareness.
void prepareProcess();

// Runs until the main window is closed and gives the exit code. Every failure ends in a
// message box and a non-zero code: 1 when the log could not be kept, 3 after a crash
// (std::terminate, an access violation), 2 otherwise.
int runProgram(ProgramServices& services);

} // namespace kestrevane::win32
