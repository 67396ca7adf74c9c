// What every designed window of the program does alike: it is created with its controls,
// placed and sized for its DPI, coloured as designed, and its events reach one handler.
#pragma once

#include <windows.h>

#include "platform/win32/form.h"
#include "platform/win32/window_class.h"
#include "ui/layout.h"

namespace kestrevane::win32 {

class FormWindow : protected WindowHandler {
public:
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    FormWindow(const ui::WindowSpec& design, const wchar_t* className, DWORD style, DWORD exStyle)
        : design_(design), className_(className), style_(style), exStyle_(exStyle)
    {
    }
    ~FormWindow() override;

    // Creates the window and its controls, hidden, laid out for the DPI it will show at.
    void createWindow(HWND owner);
    // Lays the controls out for `dpi` and sizes the window; it goes to `suggested` (the
    // system's place after a DPI change) or, when null, to where placeWindow() says.
    void applyDpi(UINT dpi, const RECT* suggested);
    // Lays the window out again for the user's message font as it is now, its top-left
    // corner staying where it is, as far as its monitor's work area allows.
    void applyMessageFont();
    // Draws the controls and lines in `colours` from now on, repainting what is shown.
    void applyColours(ui::FormColours colours);
    HWND control(int id) const { return form_.control(id); }
    // The focus to the control that had it when the window last lost it; to `first` when
    // none has had it yet.
    void restoreFocus(HWND first);

    // Where a window of `size` goes when the system suggests no place.
    virtual POINT placeWindow(SIZE size) = 0;
    // What a window does beyond its layout at a new DPI (icons, say).
    virtual void onDpiApplied(UINT) {}
    // A control's notification, or IDOK (Enter) or IDCANCEL (Esc) from the dialog keys.
    virtual void onCommand(int id, int code) = 0;
    // Asked to close: the close box, the system menu or Alt+F4.
    virtual void onClose() = 0;
    // The user's colours changed, or High Contrast went on or off.
    virtual void onSystemColoursChanged() = 0;
    // Activated, minimized or not.
    virtual void onActivate() {}
    // The window itself has the focus, or was activated, and is not minimized: a control
    // should have the focus, as the frame takes no keys.
    virtual void onFocus() = 0;
    // The window's other messages; `handled` false passes a message on to the default.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

    Form form_;
    HWND hwnd_ = nullptr;

private:
    // Lays the controls out for `dpi`; the window's size for them.
    SIZE layOut(UINT dpi);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) final;
    void rememberFocus(HWND focus);

    const ui::WindowSpec& design_;
    const wchar_t* className_;
    DWORD style_;
    DWORD exStyle_;
    HWND lastFocus_ = nullptr;
};

// The position that centres `size` in `area`.
POINT centredIn(const RECT& area, SIZE size);

} // namespace kestrevane::win32
