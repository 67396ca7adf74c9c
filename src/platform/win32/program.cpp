#include "platform/win32/program.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/about_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/failure.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/system_functions.h"
#include "platform/win32/win32_files.h"
#include "startup/start_up.h"
#include "startup/startup_log.h"
#include "ui/frm_main.h"

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

        ui::FrmMain* frmmain = nullptr;
        MainWindow window([&](HWND owner) {
            AboutWindow about(s.clock, s.appearance, [&] { frmmain->minimize(); });
            about.runModal(owner);
        });
        ui::FrmMain main(window, s.system, s.appearance);
        frmmain = &main;
        window.attach(main);

        startup::Main(services, main);
        return runMessageLoopWhile([] { return true; });
    });
}

} // namespace kestrevane::win32
