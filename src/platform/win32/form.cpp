#include "platform/win32/form.h"

#include <algorithm>
#include <utility>

#include "platform/win32/dpi.h"
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

} // namespace

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

namespace {

void deleteBrushes(std::vector<HBRUSH>& brushes)
{
    for (HBRUSH brush : brushes)
        if (brush) DeleteObject(brush);
    brushes.clear();
}

} // namespace

Form::~Form()
{
    for (HFONT font : designFonts_)
        if (font) DeleteObject(font);
    if (messageFont_) DeleteObject(messageFont_);
    deleteBrushes(rgbBrushes_);
}

void Form::create(HWND parent, const ui::WindowSpec& design)
{
    spec_ = &design;
    const std::size_t n = design.controls.size();
    controls_.assign(n, nullptr);
    designFonts_.assign(n, nullptr);

    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const std::size_t i : ui::creationOrder(design)) {
        const ui::ControlSpec& c = design.controls[i];
        const Style s = styleOf(c);
        controls_[i] = CreateWindowExW(s.exStyle, s.className, widen(c.text).c_str(), WS_CHILD | WS_VISIBLE | s.style,
                                       0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::controlIdBase + c.id)),
                                       instance, nullptr);
        if (c.kind == ControlKind::textBox) {
            // Lift the 32K default so a long day's log is shown whole.
            SendMessageW(controls_[i], EM_SETLIMITTEXT, 0, 0);
        }
    }
}

HFONT Form::fontFor(const ui::ControlSpec& design) const
{
    const HFONT own = designFonts_[static_cast<std::size_t>(design.id)];
    return own ? own : messageFont_;
}

void Form::layout(UINT dpi)
{
    dpi_ = dpi;
    // New fonts first, old ones deleted only once no control uses them.
    std::vector<HFONT> oldFonts = designFonts_;
    const HFONT oldMessageFont = messageFont_;
    messageFont_ = createMessageFont(dpi);
    layoutDpi_ = static_cast<UINT>(ui::fittingDpi(*spec_, static_cast<int>(dpi), lineHeight(messageFont_),
                                                  {alphabetWidth(messageFont_), designAlphabetWidth(dpi)}));
    for (const ui::ControlSpec& c : spec_->controls) {
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
}

void Form::place(const ui::ControlSpec& c)
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

int Form::idOf(HWND child) const
{
    const auto it = std::find(controls_.begin(), controls_.end(), child);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

SIZE Form::clientSize() const
{
    const int d = static_cast<int>(layoutDpi_);
    return {ui::twipsToPixels(spec_->clientWidth, d), ui::twipsToPixels(spec_->clientHeight, d)};
}

void Form::setText(int id, const std::string& utf8)
{
    SetWindowTextW(control(id), widen(utf8).c_str());
    const ui::ControlSpec& c = spec_->controls[static_cast<std::size_t>(id)];
    if (c.autoSize) place(c);
}

std::string Form::text(int id) const
{
    const HWND hwnd = control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(n, 0)));
    return narrow(text);
}

void Form::setColours(ui::FormColours colours)
{
    deleteBrushes(rgbBrushes_);
    colours_ = std::move(colours);
    for (const ui::ShownColours& c : colours_.controls)
        rgbBrushes_.push_back(c.background.kind == ui::Colour::Kind::rgb ? CreateSolidBrush(toColorRef(c.background, 0))
                                                                        : nullptr);
}

HBRUSH Form::colour(HDC dc, HWND child)
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

void Form::paintLines(HDC dc) const
{
    const int d = static_cast<int>(layoutDpi_);
    for (std::size_t i = 0; i < spec_->lines.size(); ++i) {
        const ui::LineSpec& line = spec_->lines[i];
        // A line of n pixels is a band n pixels high starting at its own row.
        const int thickness = std::max(1, MulDiv(line.widthPixels, d, 96));
        const int y = ui::twipsToPixels(line.y1, d);
        RECT band{ui::twipsToPixels(line.x1, d), y, ui::twipsToPixels(line.x2, d), y + thickness};
        HBRUSH brush = CreateSolidBrush(toColorRef(i < colours_.lines.size() ? colours_.lines[i] : line.colour, 0));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

BOOL Form::drawItem(const DRAWITEMSTRUCT& item)
{
    const int id = idOf(item.hwndItem);
    if (id < 0 || item.CtlType != ODT_BUTTON) return FALSE;
    // The whole control each time, whatever changed: it is one short line.
    const HDC dc = item.hDC;
    const HBRUSH background = colour(dc, item.hwndItem);
    FillRect(dc, &item.rcItem, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = widen(this->text(id));
    const HGDIOBJ old = SelectObject(dc, fontFor(spec_->controls[static_cast<std::size_t>(id)]));
    RECT r = item.rcItem;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    // Hidden until the keyboard is used, where the user's settings say so.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &item.rcItem);
    return TRUE;
}

} // namespace kestrevane::win32
