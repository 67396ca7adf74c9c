#include "platform/win32/dpi.h"

#include <cstddef>
#include <cwchar>

namespace kestrevane::win32 {

namespace {

template <typename Function>
Function lookUp(const wchar_t* module, const char* name)
{
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

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
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then the per-process fallbacks.
    if (auto setContext = lookUp<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
    }
    if (auto setAware = lookUp<SetAware>(L"user32.dll", "SetProcessDPIAware")) setAware();
}

UINT windowDpi(HWND hwnd)
{
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = lookUp<GetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && hwnd) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return dpi;
    }
    return screenDpi();
}

RECT windowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi)
{
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = lookUp<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

HFONT createMessageFont(UINT dpi)
{
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto parametersForDpi = lookUp<ParametersForDpi>(L"user32.dll", "SystemParametersInfoForDpi");

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

HFONT createDesignFont(const wchar_t* face, int pointsTimes100, int weight, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(pointsTimes100, static_cast<int>(dpi), 7200);
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfOutPrecision = OUT_TT_PRECIS;
    // The raster face only has bitmaps for a few sizes; its outline successor scales.
    const wchar_t* outline = std::wcscmp(face, L"MS Sans Serif") == 0 ? L"Microsoft Sans Serif" : face;
    wcsncpy(font.lfFaceName, outline, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

} // namespace kestrevane::win32
