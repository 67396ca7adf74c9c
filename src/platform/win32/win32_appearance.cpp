#include "platform/win32/win32_appearance.h"

#include <windows.h>

namespace kestrevane::win32 {

bool Win32Appearance::highContrast()
{
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof settings;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
           (settings.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace kestrevane::win32
