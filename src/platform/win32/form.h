// The controls of a designed window: created from its layout table, placed and
// coloured at the window's DPI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/colours.h"
#include "ui/layout.h"

namespace kestrevane::win32 {

class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    // Creates every control of `design` as children of `parent`, in reading order with the
    // tab stops in tab order (ui::creationOrder).
    void create(HWND parent, const ui::WindowSpec& design);
    // Places the controls, sizes the auto-sized labels and sets the fonts for `dpi` and the
    // user's message font as it is now: grown where the design cannot hold its line.
    void layout(UINT dpi);

    HWND control(int id) const { return controls_.at(static_cast<std::size_t>(id)); }
    // The table id of a child window, or -1.
    int idOf(HWND child) const;
    SIZE clientSize() const;
    UINT dpi() const { return dpi_; }
    // The DPI the design is drawn at: dpi(), or more where the message font needs it.
    UINT layoutDpi() const { return layoutDpi_; }

    void setText(int id, const std::string& utf8);
    std::string text(int id) const;

    // The colours the window's logic decided on; until then the system's defaults.
    void setColours(ui::FormColours colours);
    // WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT / WM_CTLCOLORBTN: the colours set.
    HBRUSH colour(HDC dc, HWND child);
    // Paints the designed lines in the colours set.
    void paintLines(HDC dc) const;
    // WM_DRAWITEM: a link as a label in the colours set, with the focus rectangle when it
    // has the focus; FALSE for anything else.
    BOOL drawItem(const DRAWITEMSTRUCT& item);

private:
    HFONT fontFor(const ui::ControlSpec& design) const;
    void place(const ui::ControlSpec& design);

    const ui::WindowSpec* spec_ = nullptr;
    std::vector<HWND> controls_;
    std::vector<HFONT> designFonts_; // one per control, null for the default font
    HFONT messageFont_ = nullptr;
    ui::FormColours colours_;
    std::vector<HBRUSH> rgbBrushes_; // one per control, null when not an RGB background
    UINT dpi_ = 96;
    UINT layoutDpi_ = 96;
};

COLORREF toColorRef(const ui::Colour& colour, COLORREF fallback);

} // namespace kestrevane::win32
