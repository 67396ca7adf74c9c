#include "platform/win32/form_window.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/failure.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

using ui::ControlKind;

struct Style {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

Style styleOf(const ui::ControlSpec& design)
{
    switch (design.kind) {
    case ControlKind::label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::link:
        // A button drawn as the label it looks like: it takes the focus, Space presses it,
        // it is told when to show the focus rectangle, and a screen reader can press it.
        return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    case ControlKind::valueField:
        return {L"STATIC", SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE, WS_EX_STATICEDGE};
    case ControlKind::textBox:
        return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    }
    return {L"STATIC", 0, 0};
}

COLORREF toColorRef(const ui::Colour& colour, COLORREF fallback)
{
    switch (colour.kind) {
    case ui::Colour::Kind::rgb:
        return RGB(colour.red, colour.green, colour.blue);
    case ui::Colour::Kind::system:
        return GetSysColor(colour.systemIndex);
    case ui::Colour::Kind::none:
        break;
    }
    return fallback;
}

void deleteBrushes(std::vector<HBRUSH>& brushes)
{
    for (HBRUSH brush : brushes)
        if (brush) DeleteObject(brush);
    brushes.clear();
}

// WM_SETTINGCHANGE for the message font: from SystemParametersInfo, or from a program
// that names only the section it changed.
bool messageFontChanged(WPARAM wParam, LPARAM lParam)
{
    if (wParam == SPI_SETNONCLIENTMETRICS) return true;
    const auto* section = reinterpret_cast<const wchar_t*>(lParam);
    return wParam == 0 && section && std::wcscmp(section, L"WindowMetrics") == 0;
}

} // namespace

FormWindow::~FormWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
    for (HFONT font : designFonts_)
        if (font) DeleteObject(font);
    if (messageFont_) DeleteObject(messageFont_);
    deleteBrushes(rgbBrushes_);
}

LRESULT CALLBACK FormWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* created = static_cast<FormWindow*>(create->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = window->handle(message, wParam, lParam);
    } catch (...) {
        keepCurrentFailure();
    }
    if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return result;
}

FormWindow* FormWindow::of(HWND hwnd)
{
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedure)) return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void FormWindow::createWindow(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className_, &wc)) {
        // The main window's icons follow its DPI, so the class carries none.
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = className_;
        RegisterClassExW(&wc);
    }
    CreateWindowExW(exStyle_, className_, widen(design_.caption).c_str(), style_, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    owner, nullptr, instance, this);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        createControls();
        // A window shows at its owner's DPI, which it does not have yet itself.
        const HWND owner = GetWindow(hwnd_, GW_OWNER);
        applyDpi(windowDpi(owner ? owner : hwnd_), nullptr);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_SETTINGCHANGE:
        if (messageFontChanged(wParam, lParam)) applyMessageFont();
        break;
    case wmDpiChanged:
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DRAWITEM:
        return drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_SYSCOMMAND:
        // Minimizing takes the focus away before it deactivates the window.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) rememberFocus(GetFocus());
        break;
    // What the window's own procedure does, not the system's: the focus to a control,
    // the colours, the commands, and closing.
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_SYSCOLORCHANGE:
    case WM_COMMAND:
    case WM_CLOSE:
        return 0;
    case WM_NCDESTROY: {
        const HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FormWindow::wantsFocusInControl(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus(GetFocus());
            return false;
        }
        // Minimized, it gets the focus when restored (WM_SETFOCUS, WM_SIZE).
        return !HIWORD(wParam);
    case WM_SETFOCUS:
        // Restoring a minimized window, for one, gives the frame the focus.
        rememberFocus(reinterpret_cast<HWND>(wParam));
        return !IsIconic(hwnd_);
    case WM_SIZE:
        // Restored, active, with the frame or nothing focused: the system may tell no more.
        return wParam == SIZE_RESTORED && GetActiveWindow() == hwnd_ && (!GetFocus() || GetFocus() == hwnd_);
    default:
        return false;
    }
}

bool FormWindow::systemColoursChanged(UINT message, WPARAM wParam)
{
    if (message == WM_SETTINGCHANGE) return wParam == SPI_SETHIGHCONTRAST;
    if (message != WM_SYSCOLORCHANGE) return false;
    // Top-level windows pass it on: the controls of Common Controls 6 keep brushes of their own.
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return true;
}

void FormWindow::createControls()
{
    const std::size_t n = design_.controls.size();
    controls_.assign(n, nullptr);
    designFonts_.assign(n, nullptr);

    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    for (const std::size_t i : ui::creationOrder(design_)) {
        const ui::ControlSpec& c = design_.controls[i];
        const Style s = styleOf(c);
        controls_[i] = CreateWindowExW(s.exStyle, s.className, widen(c.text).c_str(), WS_CHILD | WS_VISIBLE | s.style,
                                       0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::controlIdBase + c.id)),
                                       instance, nullptr);
        if (c.kind == ControlKind::textBox) {
            // Lift the 32K default so a long day's log is shown whole.
            SendMessageW(controls_[i], EM_SETLIMITTEXT, 0, 0);
        }
    }
}

HFONT FormWindow::fontFor(const ui::ControlSpec& design) const
{
    const HFONT own = designFonts_[static_cast<std::size_t>(design.id)];
    return own ? own : messageFont_;
}

SIZE FormWindow::layOut(UINT dpi)
{
    dpi_ = dpi;
    // New fonts first, old ones deleted only once no control uses them.
    std::vector<HFONT> oldFonts = designFonts_;
    const HFONT oldMessageFont = messageFont_;
    messageFont_ = createMessageFont(dpi);
    layoutDpi_ = static_cast<UINT>(ui::fittingDpi(design_, static_cast<int>(dpi), lineHeight(messageFont_),
                                                  {alphabetWidth(messageFont_), designAlphabetWidth(dpi)}));
    for (const ui::ControlSpec& c : design_.controls) {
        const std::size_t i = static_cast<std::size_t>(c.id);
        designFonts_[i] = c.font.face.empty() ? nullptr
                                              : createDesignFont(widen(c.font.face).c_str(), c.font.pointsTimes100,
                                                                 c.font.weight, layoutDpi_);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(c)), FALSE);
        place(c);
    }
    for (HFONT font : oldFonts)
        if (font) DeleteObject(font);
    if (oldMessageFont) DeleteObject(oldMessageFont);
    const int d = static_cast<int>(layoutDpi_);
    const SIZE client{ui::twipsToPixels(design_.clientWidth, d), ui::twipsToPixels(design_.clientHeight, d)};
    const RECT frame = windowRectForClient(client, style_, exStyle_, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void FormWindow::place(const ui::ControlSpec& c)
{
    const ui::PixelRect at = ui::pixelRect(c, static_cast<int>(layoutDpi_));
    const HWND hwnd = controls_[static_cast<std::size_t>(c.id)];
    int width = at.right - at.left;
    int height = at.bottom - at.top;
    if (c.autoSize) {
        // A label that sizes itself is as wide, and at least as high, as its text.
        const std::wstring text = widen(this->text(c.id));
        RECT r{0, 0, 0, 0};
        HDC dc = GetDC(hwnd);
        const HGDIOBJ old = SelectObject(dc, fontFor(c));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        width = r.right - r.left;
        height = std::max(height, static_cast<int>(r.bottom - r.top));
    }
    MoveWindow(hwnd, at.left, at.top, width, height, TRUE);
}

void FormWindow::applyDpi(UINT dpi, const RECT* suggested)
{
    const SIZE size = layOut(dpi);
    onDpiApplied(dpi);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : placeWindow(size);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::applyMessageFont()
{
    const SIZE size = layOut(dpi_);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(hwnd_) && GetWindowPlacement(hwnd_, &placement)) {
        // Minimized: the place it is restored to grows from its top-left corner.
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + size.cx;
        normal.bottom = normal.top + size.cy;
        placement.flags = 0;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(hwnd_, &placement);
        return;
    }
    RECT now{};
    GetWindowRect(hwnd_, &now);
    POINT at{now.left, now.top};
    // Grown past its monitor's work area, it moves back into it, but never above or left of it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        at.x = std::max(std::min(at.x, work.right - size.cx), work.left);
        at.y = std::max(std::min(at.y, work.bottom - size.cy), work.top);
    }
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // The lines and the picture are painted by the window itself, at their new places.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int FormWindow::idOf(HWND child) const
{
    const auto it = std::find(controls_.begin(), controls_.end(), child);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

void FormWindow::setText(int id, const std::string& utf8)
{
    SetWindowTextW(control(id), widen(utf8).c_str());
    const ui::ControlSpec& c = design_.controls[static_cast<std::size_t>(id)];
    if (c.autoSize) place(c);
}

std::string FormWindow::text(int id) const
{
    const HWND hwnd = control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(n, 0)));
    return narrow(text);
}

void FormWindow::applyColours(ui::FormColours colours)
{
    deleteBrushes(rgbBrushes_);
    colours_ = std::move(colours);
    for (const ui::ShownColours& c : colours_.controls)
        rgbBrushes_.push_back(c.background.kind == ui::Colour::Kind::rgb ? CreateSolidBrush(toColorRef(c.background, 0))
                                                                        : nullptr);
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH FormWindow::colour(HDC dc, HWND child)
{
    const int id = idOf(child);
    if (id < 0 || static_cast<std::size_t>(id) >= colours_.controls.size()) return nullptr;
    const ui::ShownColours& c = colours_.controls[static_cast<std::size_t>(id)];
    SetTextColor(dc, toColorRef(c.text, GetSysColor(COLOR_BTNTEXT)));
    switch (c.background.kind) {
    case ui::Colour::Kind::system:
        SetBkColor(dc, GetSysColor(c.background.systemIndex));
        return GetSysColorBrush(c.background.systemIndex);
    case ui::Colour::Kind::rgb:
        SetBkColor(dc, toColorRef(c.background, 0));
        return rgbBrushes_[static_cast<std::size_t>(id)];
    case ui::Colour::Kind::none:
        break;
    }
    // Transparent: the window's face shows through.
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

void FormWindow::paintLines(HDC dc) const
{
    const int d = static_cast<int>(layoutDpi_);
    for (std::size_t i = 0; i < design_.lines.size(); ++i) {
        const ui::LineSpec& line = design_.lines[i];
        // A line of n pixels is a band n pixels high starting at its own row.
        const int thickness = std::max(1, MulDiv(line.widthPixels, d, 96));
        const int y = ui::twipsToPixels(line.y1, d);
        RECT band{ui::twipsToPixels(line.x1, d), y, ui::twipsToPixels(line.x2, d), y + thickness};
        HBRUSH brush = CreateSolidBrush(toColorRef(i < colours_.lines.size() ? colours_.lines[i] : line.colour, 0));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

BOOL FormWindow::drawItem(const DRAWITEMSTRUCT& item)
{
    const int id = idOf(item.hwndItem);
    if (id < 0 || item.CtlType != ODT_BUTTON) return FALSE;
    // The whole control each time, whatever changed: it is one short line.
    const HDC dc = item.hDC;
    const HBRUSH background = colour(dc, item.hwndItem);
    FillRect(dc, &item.rcItem, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = widen(this->text(id));
    const HGDIOBJ old = SelectObject(dc, fontFor(design_.controls[static_cast<std::size_t>(id)]));
    RECT r = item.rcItem;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    // Hidden until the keyboard is used, where the user's settings say so.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &item.rcItem);
    return TRUE;
}

void FormWindow::rememberFocus(HWND focus)
{
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void FormWindow::restoreFocus(HWND first)
{
    // A remembered control that has gone or was disabled since gives way to the first.
    const bool usable = lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_);
    SetFocus(usable ? lastFocus_ : first);
}

POINT centredIn(const RECT& area, SIZE size)
{
    return {area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

int runMessageLoopWhile(const std::function<bool()>& keepGoing)
{
    MSG msg;
    while (keepGoing()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            const int code = static_cast<int>(msg.wParam);
            PostQuitMessage(code);
            return code;
        }
        if (got < 0) return 1;
        // A window sees the keys pressed in it before its focused control does.
        const HWND active = GetActiveWindow();
        if (active && msg.message == WM_KEYDOWN && (msg.hwnd == active || IsChild(active, msg.hwnd))) {
            FormWindow* window = FormWindow::of(active);
            if (window && window->previewKey(msg.wParam)) continue;
        }
        // Plain windows get dialog navigation from IsDialogMessage too.
        if (active && IsDialogMessageW(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace kestrevane::win32
