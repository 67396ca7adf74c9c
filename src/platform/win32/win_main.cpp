// The program's entry: the start-up, then the main window's message loop.
#include <windows.h>

#include <memory>

#include "platform/win32/about_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/executable_directory.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_date_locale.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_log_lock.h"
#include "platform/win32/win32_system_query.h"
#include "platform/win32/win32_text_codec.h"
#include "startup/file_error_message.h"
#include "startup/start_up.h"
#include "ui/frm_main.h"

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
    startup::StartUpServices services{clock, locale, files, codec, win32::executableDirectory(), &lock};

    ui::FrmMain* frmmain = nullptr;
    win32::MainWindow window([&](HWND owner) {
        win32::AboutWindow about(clock, [&] { frmmain->minimize(); });
        about.runModal(owner);
    });
    ui::FrmMain main(window, system);
    frmmain = &main;
    window.attach(main);

    try {
        startup::Main(services, main);
    } catch (const startup::FileError& error) {
        MessageBoxW(nullptr, win32::widen(startup::fileErrorMessage(error)).c_str(), L"Kestrevane",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    return win32::runMessageLoopWhile([] { return true; });
}
