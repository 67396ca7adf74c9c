#include "platform/win32/dpi.h"

#include <cstddef>
#include <cwchar>

#include "platform/win32/system_functions.h"

namespace kestrevane::win32 {

namespace {

UINT screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

} // namespace

void enableDpiAwareness()
{
    // Per monitor (version 2), then the per-process fallbacks.
    if (const auto setContext = system::SetProcessDpiAwarenessContext.find()) {
        if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
    }
    if (const auto setAware = system::SetProcessDPIAware.find()) setAware();
}

UINT windowDpi(HWND hwnd)
{
    if (!hwnd) return screenDpi();
    if (const auto getDpiForWindow = system::GetDpiForWindow.find()) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return dpi;
    }
    // Windows 8.1 and 10 before 1607 know the monitor's DPI, not yet the window's.
    if (const auto getDpiForMonitor = system::GetDpiForMonitor.find()) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(getDpiForMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI, &x, &y)) &&
            y > 0)
            return y;
    }
    return screenDpi();
}

RECT windowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi)
{
    const auto adjustForDpi = system::AdjustWindowRectExForDpi.find();
    RECT rect{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

HFONT createMessageFont(UINT dpi)
{
    const auto parametersForDpi = system::SystemParametersInfoForDpi.find();

    NONCLIENTMETRICSW metrics{};
    // The XP structure size, so the call succeeds there too.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(metrics.lfMessageFont);
    if (parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                                static_cast<int>(screenDpi()));
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    return createDesignFont(L"MS Shell Dlg 2", 800, FW_NORMAL, dpi);
}

int lineHeight(HFONT font)
{
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    const BOOL measured = GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return measured ? static_cast<int>(metrics.tmHeight) : 0;
}

int alphabetWidth(HFONT font)
{
    static constexpr wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    const BOOL measured = GetTextExtentPoint32W(screen, alphabet, 52, &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return measured ? static_cast<int>(size.cx) : 0;
}

int designAlphabetWidth(UINT dpi)
{
    const HFONT design = createDesignFont(L"MS Shell Dlg 2", 800, FW_NORMAL, dpi);
    const int width = design ? alphabetWidth(design) : 0;
    if (design) DeleteObject(design);
    return width;
}

HFONT createDesignFont(const wchar_t* face, int pointsTimes100, int weight, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(pointsTimes100, static_cast<int>(dpi), 7200);
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    // The user's smoothing, ClearType or not, as every other text on the screen.
    font.lfQuality = DEFAULT_QUALITY;
    font.lfOutPrecision = OUT_TT_PRECIS;
    // The raster face only has bitmaps for a few sizes; its outline successor scales.
    const wchar_t* outline = std::wcscmp(face, L"MS Sans Serif") == 0 ? L"Microsoft Sans Serif" : face;
    wcsncpy(font.lfFaceName, outline, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

} // namespace kestrevane::win32
