#include "platform/win32/program.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/com.h"
#include "platform/win32/dpi.h"
#include "platform/win32/executable_directory.h"
#include "platform/win32/failure.h"
#include "platform/win32/main_window.h"
#include "platform/win32/system_library.h"
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
    std::string logFile(startup::logFileName);
    // COM, set up for the shell or a screen reader, ends with the program, after the windows.
    struct ComUse {
        ~ComUse() { endComUse(); }
    } comUse;
    try {
        startup::StartUpServices services{s.clock, s.locale, s.files, s.codec, executableDirectory(), &s.lock};
        logFile = startup::logPath(services.directory);
        showUnhandledFailures(logFile);

        MainWindow window(s.system, s.clock, s.appearance);
        startup::Main(services, window.frmmain());
        const int code = runMessageLoopWhile([] { return true; });
        startup::FailureReport failure;
        if (!takeKeptFailure(failure)) return code;
        window.unload(); // the message stands alone
        return showFailure(failure);
    } catch (...) {
        // The windows are gone by now: the message stands alone.
        return showCurrentFailure(logFile);
    }
}

} // namespace kestrevane::win32
