/* The second start-up baseline: Kestrevane's main window as a plain C program would
   make it (the same controls, classes, styles, fonts, colours, size and place, and
   visual styles through the same manifest), with the log read and appended by bare
   Win32 calls. It does nothing else, so what Kestrevane costs beyond it is what its
   design and its other work cost. */
#include <windows.h>

#include <stddef.h>

enum { idBase = 100, controlCount = 12, shownBytes = 65536, recordRoom = 128 };
enum Kind { label, valueField, textBox, button };
enum ColourKind { none, rgb, systemColour };

typedef struct {
    enum ColourKind kind;
    COLORREF value; /* rgb: the colour; systemColour: the index */
} Colour;

typedef struct {
    enum Kind kind;
    const wchar_t *text;
    int left, top, width, height; /* twips, as designed */
    Colour textColour, background;
} Control;

#define BLUE {rgb, RGB(0, 0, 192)}
#define SYSTEM(index) {systemColour, index}
#define NONE {none, 0}

/* In the design's order, which gives the ids; a label here is a caption in bold
   that sizes itself to its text. */
static const Control controls[controlCount] = {
    {label, L"Computer:", 150, 165, 870, 195, NONE, NONE},
    {valueField, L"", 1125, 135, 1935, 240, BLUE, SYSTEM(COLOR_INACTIVEBORDER)},
    {label, L"Owner:", 150, 480, 615, 195, NONE, NONE},
    {valueField, L"", 1125, 450, 1935, 240, BLUE, SYSTEM(COLOR_INACTIVEBORDER)},
    {label, L"Date:", 150, 795, 480, 195, NONE, NONE},
    {valueField, L"", 1125, 765, 1935, 240, BLUE, NONE},
    {label, L"Startups:", 150, 1125, 780, 195, NONE, NONE},
    {valueField, L"", 1125, 1095, 1935, 240, {rgb, RGB(255, 255, 0)}, SYSTEM(COLOR_GRAYTEXT)},
    {textBox, L"", 3150, 120, 2385, 1230, NONE, SYSTEM(COLOR_SCROLLBAR)},
    {button, L"&About", 150, 1515, 1425, 345, NONE, NONE},
    {button, L"E&xit", 1635, 1515, 1425, 345, NONE, NONE},
    {button, L"&Quick Info", 3165, 1515, 2385, 345, NONE, NONE},
};
enum { text1 = 8 };
/* Windows moves the focus in creation order: the design's tab order. */
static const int tabOrder[controlCount] = {1, 3, 5, 7, 8, 9, 10, 11, 0, 2, 4, 6};

static const DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
static const int clientWidth = 5700, clientHeight = 1995; /* twips */

static HWND windows[controlCount];
static HFONT messageFont, captionFont;
static char *logText; /* the log's end and the new record */

static int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

static FARPROC user32Function(const char *name) { return GetProcAddress(GetModuleHandleW(L"user32.dll"), name); }

static int windowDpi(HWND hwnd)
{
    typedef UINT(WINAPI * GetDpiForWindowFn)(HWND);
    GetDpiForWindowFn getDpi = (GetDpiForWindowFn)(void (*)(void))user32Function("GetDpiForWindow");
    HDC screen;
    int dpi;
    if (getDpi && getDpi(hwnd) > 0) return (int)getDpi(hwnd);
    screen = GetDC(NULL);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : 96;
}

static void createFonts(int dpi)
{
    typedef BOOL(WINAPI * ParametersForDpiFn)(UINT, UINT, PVOID, UINT, UINT);
    ParametersForDpiFn parametersForDpi =
        (ParametersForDpiFn)(void (*)(void))user32Function("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics;
    LOGFONTW caption;
    ZeroMemory(&metrics, sizeof metrics);
    /* The XP size of the structure, as Kestrevane asks for. */
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    if (!parametersForDpi || !parametersForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, (UINT)dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, windowDpi(NULL));
    }
    messageFont = CreateFontIndirectW(&metrics.lfMessageFont);

    ZeroMemory(&caption, sizeof caption);
    caption.lfHeight = -MulDiv(825, dpi, 7200); /* 8.25 pt */
    caption.lfWeight = FW_BOLD;
    caption.lfCharSet = ANSI_CHARSET;
    caption.lfQuality = CLEARTYPE_QUALITY;
    caption.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpyW(caption.lfFaceName, L"Microsoft Sans Serif");
    captionFont = CreateFontIndirectW(&caption);
}

static void placeControls(int dpi)
{
    int i;
    for (i = 0; i < controlCount; ++i) {
        const Control *c = &controls[i];
        HFONT font = c->kind == label ? captionFont : messageFont;
        int width = twipsToPixels(c->width, dpi), height = twipsToPixels(c->height, dpi);
        SendMessageW(windows[i], WM_SETFONT, (WPARAM)font, FALSE);
        if (c->kind == label) {
            RECT r = {0, 0, 0, 0};
            HDC dc = GetDC(windows[i]);
            HGDIOBJ old = SelectObject(dc, font);
            DrawTextW(dc, c->text, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
            SelectObject(dc, old);
            ReleaseDC(windows[i], dc);
            width = r.right - r.left;
            if (r.bottom - r.top > height) height = r.bottom - r.top;
        }
        MoveWindow(windows[i], twipsToPixels(c->left, dpi), twipsToPixels(c->top, dpi), width, height, TRUE);
    }
}

/* Sized for the client area at the window's DPI and centred on its monitor's work area. */
static void placeWindow(HWND hwnd, int dpi)
{
    typedef BOOL(WINAPI * AdjustForDpiFn)(LPRECT, DWORD, BOOL, DWORD, UINT);
    AdjustForDpiFn adjustForDpi = (AdjustForDpiFn)(void (*)(void))user32Function("AdjustWindowRectExForDpi");
    RECT frame = {0, 0, twipsToPixels(clientWidth, dpi), twipsToPixels(clientHeight, dpi)};
    MONITORINFO monitor;
    int width, height;
    if (!adjustForDpi || !adjustForDpi(&frame, windowStyle, FALSE, 0, (UINT)dpi))
        AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    SetWindowPos(hwnd, NULL, monitor.rcWork.left + (monitor.rcWork.right - monitor.rcWork.left - width) / 2,
                 monitor.rcWork.top + (monitor.rcWork.bottom - monitor.rcWork.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

static void createControls(HWND parent)
{
    static const wchar_t *const classes[] = {L"STATIC", L"STATIC", L"EDIT", L"BUTTON"};
    static const DWORD styles[] = {
        SS_LEFT | SS_NOPREFIX,
        SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE,
        ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
        BS_PUSHBUTTON | WS_TABSTOP,
    };
    static const DWORD exStyles[] = {0, WS_EX_STATICEDGE, WS_EX_CLIENTEDGE, 0};
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(parent, GWLP_HINSTANCE);
    int n;
    for (n = 0; n < controlCount; ++n) {
        const int i = tabOrder[n];
        const enum Kind kind = controls[i].kind;
        windows[i] = CreateWindowExW(exStyles[kind], classes[kind], controls[i].text,
                                     WS_CHILD | WS_VISIBLE | styles[kind], 0, 0, 0, 0, parent,
                                     (HMENU)(INT_PTR)(idBase + i), instance, NULL);
    }
    /* Lift the 32K default, as Kestrevane does. */
    SendMessageW(windows[text1], EM_SETLIMITTEXT, 0, 0);
}

static COLORREF colourOf(Colour colour, COLORREF fallback)
{
    if (colour.kind == rgb) return colour.value;
    if (colour.kind == systemColour) return GetSysColor((int)colour.value);
    return fallback;
}

static LRESULT controlColour(HDC dc, HWND child)
{
    const int i = GetDlgCtrlID(child) - idBase;
    const Control *c;
    if (i < 0 || i >= controlCount) return 0;
    c = &controls[i];
    SetTextColor(dc, colourOf(c->textColour, GetSysColor(c->kind == textBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT)));
    if (c->background.kind == systemColour) {
        SetBkColor(dc, GetSysColor((int)c->background.value));
        return (LRESULT)GetSysColorBrush((int)c->background.value);
    }
    SetBkMode(dc, TRANSPARENT);
    return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
}

static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const int dpi = windowDpi(hwnd);
        createControls(hwnd);
        createFonts(dpi);
        placeControls(dpi);
        placeWindow(hwnd, dpi);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const LRESULT brush = controlColour((HDC)wParam, (HWND)lParam);
        if (brush) return brush;
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

/* The count in the last line's last quoted field; 0 when there is none. */
static unsigned long lastCount(const char *text, int length)
{
    int end = length, open, close;
    unsigned long count = 0;
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
    close = end - 1;
    if (close < 0 || text[close] != '"') return 0;
    for (open = close - 1; open >= 0 && text[open] >= '0' && text[open] <= '9'; --open)
        ;
    if (open < 0 || text[open] != '"' || open + 1 == close) return 0;
    for (++open; open < close; ++open) count = count * 10 + (unsigned long)(text[open] - '0');
    return count;
}

/* Reads the log's end into logText, appends today's record to the log and to logText,
   and returns where the text to show starts and, in `length`, how long it is. */
static const char *updateLog(int *length)
{
    wchar_t path[MAX_PATH];
    wchar_t *slash;
    HANDLE file;
    LARGE_INTEGER size, from;
    DWORD got = 0, written = 0;
    int filled = 0, start = 0;
    SYSTEMTIME now;
    char date[64];

    logText = (char *)HeapAlloc(GetProcessHeap(), 0, shownBytes + recordRoom);
    GetModuleFileNameW(NULL, path, MAX_PATH);
    slash = wcsrchr(path, L'\\');
    lstrcpyW(slash ? slash + 1 : path, L"kestrevane.kvn");

    size.QuadPart = 0;
    file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        GetFileSizeEx(file, &size);
        from.QuadPart = size.QuadPart > shownBytes ? size.QuadPart - shownBytes : 0;
        SetFilePointerEx(file, from, NULL, FILE_BEGIN);
        while (filled < shownBytes && ReadFile(file, logText + filled, (DWORD)(shownBytes - filled), &got, NULL) &&
               got > 0)
            filled += (int)got;
        CloseHandle(file);
    }

    GetLocalTime(&now);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, NULL, date, (int)sizeof date);
    got = (DWORD)wsprintfA(logText + filled, "\"%s\",\"%02u:%02u:%02u\",\"%lu\"\r\n", date, now.wHour, now.wMinute,
                           now.wSecond, lastCount(logText, filled) + 1);
    file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, logText + filled, got, &written, NULL);
        FlushFileBuffers(file);
        CloseHandle(file);
    }
    filled += (int)got;

    /* At most the last 64 KiB, from the start of a line. */
    if (filled > shownBytes) start = filled - shownBytes;
    if (start > 0 || size.QuadPart > shownBytes) {
        while (start < filled && logText[start] != '\n') ++start;
        if (start < filled) ++start;
    }
    *length = filled - start;
    return logText + start;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSEXW wc;
    HWND hwnd;
    MSG msg;
    int length, i, shown;
    char *text = (char *)updateLog(&length);
    wchar_t *shownText = (wchar_t *)HeapAlloc(GetProcessHeap(), 0, (shownBytes + recordRoom) * sizeof(wchar_t));
    (void)previous;
    (void)commandLine;
    (void)show;

    /* Quotes and commas blanked, so each record reads as date, time and count. */
    for (i = 0; i < length; ++i)
        if (text[i] == '"' || text[i] == ',') text[i] = ' ';
    shown = MultiByteToWideChar(CP_ACP, 0, text, length, shownText, shownBytes + recordRoom - 1);
    shownText[shown] = L'\0';

    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PlainMainWindow";
    RegisterClassExW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"Kestrevane", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, NULL,
                           NULL, instance, NULL);
    /* Shown first, then filled, as Kestrevane does. */
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetWindowTextW(windows[text1], shownText);
    UpdateWindow(hwnd);

    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
