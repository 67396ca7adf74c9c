// The system's own services behind the core's interfaces, as the program uses them.
#pragma once

#include "platform/win32/program.h"
#include "platform/win32/win32_appearance.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_date_locale.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_log_lock.h"
#include "platform/win32/win32_system_query.h"
#include "platform/win32/win32_text_codec.h"

namespace kestrevane::win32 {

struct Win32Services {
    Win32Clock clock;
    Win32DateLocale locale;
    Win32Files files;
    Win32TextCodec codec;
    Win32SystemQuery system;
    Win32LogLock lock;
    Win32Appearance appearance;

    ProgramServices program() { return {clock, locale, files, codec, system, lock, appearance}; }
};

} // namespace kestrevane::win32
