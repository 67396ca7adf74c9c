// What every designed window of the program does alike: its controls are created from
// its layout table, placed and sized for its DPI and the message font, coloured as its
// logic decides, and its messages reach its own procedure; and the message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/layout.h"

namespace kestrevane::win32 {

class FormWindow {
public:
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The window object of a window of this program's classes; null for any other window.
    static FormWindow* of(HWND hwnd);
    // A key pressed while this window is active, before the focused control gets it; true
    // when the window used it.
    virtual bool previewKey(WPARAM) { return false; }

protected:
    FormWindow(const ui::WindowSpec& design, const wchar_t* className, DWORD style, DWORD exStyle)
        : design_(design), className_(className), style_(style), exStyle_(exStyle)
    {
    }
    virtual ~FormWindow();

    // Each window's procedure: its messages to its logic's handlers, the rest to the
    // base's handle().
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Where a window of `size` goes when the system suggests no place.
    virtual POINT placeWindow(SIZE size) = 0;
    // What a window does beyond its layout at a new DPI (icons, say).
    virtual void onDpiApplied(UINT) {}

    // Creates the window and its controls, hidden, laid out for the DPI it will show at.
    void createWindow(HWND owner);
    // True after the messages that leave the focus to the window's logic: the window
    // itself has the focus, or was activated, and is not minimized, so a control should
    // have it, as the frame takes no keys. Remembers the focus a deactivation takes away.
    bool wantsFocusInControl(UINT message, WPARAM wParam);
    // True after the messages that say the user's colours changed, or High Contrast went
    // on or off; the controls have been told.
    bool systemColoursChanged(UINT message, WPARAM wParam);
    // The end of each window's handle(): what every window's logic hears of its frame
    // (closing, the focus it should place, new colours), then the base's handling.
    template <typename Logic>
    LRESULT handleCommon(Logic& logic, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_CLOSE) {
            logic.Form_Unload();
            return 0;
        }
        if (wantsFocusInControl(message, wParam)) logic.Form_GotFocus();
        if (systemColoursChanged(message, wParam)) logic.systemColoursChanged();
        return FormWindow::handle(message, wParam, lParam);
    }

    HWND control(int id) const { return controls_.at(static_cast<std::size_t>(id)); }
    // The table id of a child window, or -1.
    int idOf(HWND child) const;
    void setText(int id, const std::string& utf8);
    std::string text(int id) const;
    // Draws the controls and lines in `colours` from now on, repainting what is shown.
    void applyColours(ui::FormColours colours);
    // Paints the designed lines in the colours set.
    void paintLines(HDC dc) const;
    // The DPI the design is drawn at: the window's, or more where the message font needs it.
    UINT layoutDpi() const { return layoutDpi_; }
    // The focus to the control that had it when the window last lost it; to `first` when
    // none has had it yet.
    void restoreFocus(HWND first);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Creates every control of the design, in reading order with the tab stops in tab
    // order (ui::creationOrder).
    void createControls();
    // Places the controls, sizes the auto-sized labels and sets the fonts for `dpi` and the
    // user's message font as it is now: grown where the design cannot hold its line. The
    // window's size for them.
    SIZE layOut(UINT dpi);
    void place(const ui::ControlSpec& design);
    HFONT fontFor(const ui::ControlSpec& design) const;
    // Lays the controls out for `dpi` and sizes the window; it goes to `suggested` (the
    // system's place after a DPI change) or, when null, to where placeWindow() says.
    void applyDpi(UINT dpi, const RECT* suggested);
    // Lays the window out again for the user's message font as it is now, its top-left
    // corner staying where it is, as far as its monitor's work area allows.
    void applyMessageFont();
    // WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT / WM_CTLCOLORBTN: the colours set.
    HBRUSH colour(HDC dc, HWND child);
    // WM_DRAWITEM: a link as a label in the colours set, with the focus rectangle when it
    // has the focus; FALSE for anything else.
    BOOL drawItem(const DRAWITEMSTRUCT& item);
    void rememberFocus(HWND focus);

    const ui::WindowSpec& design_;
    const wchar_t* className_;
    DWORD style_;
    DWORD exStyle_;
    std::vector<HWND> controls_;
    std::vector<HFONT> designFonts_; // one per control, null for the default font
    HFONT messageFont_ = nullptr;
    ui::FormColours colours_;
    std::vector<HBRUSH> rgbBrushes_; // one per control, null when not an RGB background
    UINT dpi_ = 96;
    UINT layoutDpi_ = 96;
    HWND lastFocus_ = nullptr;
};

// The position that centres `size` in `area`.
POINT centredIn(const RECT& area, SIZE size);

// Dispatches messages while `keepGoing` holds; returns the exit code when WM_QUIT arrives
// (and posts it again for an outer loop), or 0 when `keepGoing` turned false. Dialog keys
// (Tab, Enter, Esc, access keys) work in the active window, which sees its keys first.
int runMessageLoopWhile(const std::function<bool()>& keepGoing);

} // namespace kestrevane::win32
