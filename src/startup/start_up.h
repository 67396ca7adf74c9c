// The program's start: bring the startup log up to date, then fill and show the main window.
#pragma once

#include <string>

#include "startup/date_time.h"
#include "startup/file_system.h"
#include "startup/startup_log.h"

namespace kestrevane::startup {

// What the start-up fills in and shows of the main window.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    // The first access: creates the window and runs its load handler.
    virtual void load() = 0;
    virtual void setDateCaption(const std::string& caption) = 0;   // lbldate
    virtual void setNumberCaption(const std::string& caption) = 0; // lblNUMBER
    virtual void setLogText(std::string text) = 0;                 // Text1
    virtual void setCaption(const std::string& caption) = 0;
    // Shows the window modelessly, without an owner; showing activates it.
    virtual void show() = 0;
};

struct StartUpServices {
    Clock& clock;
    DateLocale& locale;
    FileSystem& files;
    TextCodec& codec;
    // The executable's directory, UTF-8, without a trailing backslash.
    std::string directory;
    // Shared with other starts of the program; none: this start is alone.
    LogLock* lock = nullptr;
    LogLimits limits = {};
};

// What this start wrote; texts are UTF-8.
struct StartupResult {
    CivilDate date;
    std::string dateText;
    std::string timeText;
    std::string countText;
    // The end of the log after this start's record, as read and written: shown without a second read.
    ShownLog shown;
};

// True when the log can be opened for reading; a log that cannot counts as absent.
bool fileExists(FileSystem& files, const std::string& path);

// Wipes a log of another day and appends this start's record with the day's count,
// then has it flushed to disk. Reads only the log's last `limits.readWindow` bytes, so a
// log of any size costs the same. Throws FileError when the log cannot be read, deleted
// or written; a failed flush of the record written whole is no failure.
StartupResult updateStartupLog(StartUpServices& services);

// The whole start: the log first, then the main window. Throws FileError before any
// window is shown when the log cannot be kept.
void Main(StartUpServices& services, StartupWindow& frmmain);

} // namespace kestrevane::startup
