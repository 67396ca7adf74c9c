// Dots per inch of a window and the system metrics that follow it; newer APIs looked up at run time.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

// Asks to be per-monitor aware when the manifest could not (older systems ignore it).
void enableDpiAwareness();

// The DPI the window is shown at: its monitor's on per-monitor aware systems.
UINT windowDpi(HWND hwnd);

// The window rectangle that gives `client` at `dpi`.
RECT windowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// The user's message font at `dpi`; the caller deletes it.
HFONT createMessageFont(UINT dpi);

// The height of one line of `font` as static texts, buttons and edit controls step it:
// the cell's height, without external leading; 0 when it cannot be measured.
int lineHeight(HFONT font);

// How wide `font` writes, as dialog units take it: the alphabet's width in pixels, not
// rounded to a character, so that ratios of two fonts keep their precision; 0 when it
// cannot be measured.
int alphabetWidth(HFONT font);

// That of the font the windows were designed in (8-point MS Shell Dlg 2, Windows XP's
// and Wine's message font) at `dpi`.
int designAlphabetWidth(UINT dpi);

// A font of the design at `dpi`; old raster faces are replaced by their TrueType successors.
HFONT createDesignFont(const wchar_t* face, int pointsTimes100, int weight, UINT dpi);

inline constexpr UINT wmDpiChanged = 0x02E0; // WM_DPICHANGED, absent from XP-era headers

} // namespace kestrevane::win32
