#include "platform/win32/program.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/dpi.h"
#include "platform/win32/failure.h"
#include "platform/win32/main_window.h"
#include "platform/win32/system_functions.h"
#include "platform/win32/win32_files.h"
#include "startup/start_up.h"
#include "startup/startup_log.h"

namespace kestrevane::win32 {

void prepareProcess()
{
    restrictDllSearch();
    // The manifest asks for Common Controls 6, and with it XP's user32 hands BUTTON, EDIT
    // and STATIC (message boxes' too) to that DLL's classes, which exist only once they
    // are registered here: later systems load them on demand, XP does not. Where an older
    // Common Controls is loaded, user32 keeps its own classes and this changes nothing.
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    enableDpiAwareness();
}

int runProgram(ProgramServices& s)
{
    // COM, set up for the shell or a screen reader, ends with the program, after the windows.
    struct ComUse {
        ~ComUse() { endComUse(); }
    } comUse;
    return runReportingFailures(std::string(startup::logFileName), [&] {
        startup::StartUpServices services{s.clock, s.locale, s.files, s.codec, executableDirectory(), &s.lock};
        watchForCrashes(startup::logPath(services.directory));

        MainWindow window(s.system, s.clock, s.appearance);
        startup::Main(services, window.frmmain());
        return runMessageLoopWhile([] { return true; });
    });
}

} // namespace kestrevane::win32
