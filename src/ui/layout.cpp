#include "ui/layout.h"

#include <algorithm>

#include "app_info.h"

namespace kestrevane::ui {

std::vector<std::size_t> creationOrder(const WindowSpec& design)
{
    // The accessibility layer reads controls in creation order and names one after the
    // label created right before it; the focus moves through the tab stops in creation
    // order. So the table's order stands, and only the tab stops are sorted among
    // themselves: an insertion sort, stable, and far smaller than the library's.
    const std::size_t n = design.controls.size();
    std::vector<std::size_t> stops;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isTabStop(design.controls[i])) continue;
        auto at = stops.end();
        while (at != stops.begin() && design.controls[*(at - 1)].tabIndex > design.controls[i].tabIndex) --at;
        stops.insert(at, i);
    }
    // Starting at the table's first tab stop, the lowest index among them.
    std::rotate(stops.begin(), std::min_element(stops.begin(), stops.end()), stops.end());
    std::vector<std::size_t> order;
    order.reserve(n);
    auto nextStop = stops.begin();
    for (std::size_t i = 0; i < n; ++i) order.push_back(isTabStop(design.controls[i]) ? *nextStop++ : i);
    return order;
}

namespace {

// What a control draws around its line, in pixels at 96 dots per inch: a value field's
// sunken edge, the text box's client edge, and a button's outline (as the focused,
// default button), frame and focus rectangle, which the text must not run under.
constexpr int edgeAroundLine(ControlKind kind)
{
    switch (kind) {
    case ControlKind::valueField: return 2 * 1;
    case ControlKind::textBox: return 2 * 2;
    case ControlKind::button: return 2 * (1 + 2 + 1);
    case ControlKind::label:
    case ControlKind::link: break;
    }
    return 0;
}

} // namespace

int fittingDpi(const WindowSpec& design, int dpi, int lineHeight, CharWidths widths)
{
    if (dpi <= 0 || lineHeight <= 0) return dpi;
    const auto fits = [&](int d) {
        for (const ControlSpec& c : design.controls) {
            // A design font grows with the layout, so only the window's font can outgrow it.
            if (!c.font.face.empty()) continue;
            // Edges follow the DPI, as the system's frames do; rounded up, to be sure.
            const int needed = lineHeight + (edgeAroundLine(c.kind) * dpi + 95) / 96;
            const PixelRect r = pixelRect(c, d);
            if (r.bottom - r.top < needed) return false;
        }
        return true;
    };
    // Each edge rounds on its own, so a control's height does not grow evenly with the
    // DPI: the least DPI that fits is found by trying, a step or a few dozen.
    int fitting = dpi;
    // Otherwise the log's records and the captions wrap or run out of their boxes.
    if (widths.design > 0 && widths.font > widths.design)
        fitting = (dpi * widths.font + widths.design - 1) / widths.design;
    while (!fits(fitting) && fitting < 16 * dpi) ++fitting;
    return fitting;
}

namespace {

constexpr Colour sys(int index) { return Colour::system(index); }

// What a control of its kind is drawn in when the design names no colour.
Colour defaultText(ControlKind kind) { return sys(kind == ControlKind::textBox ? windowTextColour : buttonTextColour); }

ShownColours designed(const ControlSpec& c)
{
    return {c.textColour.kind == Colour::Kind::none ? defaultText(c.kind) : c.textColour, c.background};
}

ShownColours highContrast(const ControlSpec& c)
{
    switch (c.kind) {
    case ControlKind::valueField:
    case ControlKind::textBox:
        // The count's box is grey by design: it stays the theme's grey, with the text in
        // the window colour, the pair a theme keeps apart.
        if (c.background.kind == Colour::Kind::system && c.background.systemIndex == grayTextColour)
            return {sys(windowColour), sys(grayTextColour)};
        return {sys(windowTextColour), sys(windowColour)};
    case ControlKind::link:
        return {sys(hotLightColour), {}};
    case ControlKind::label:
    case ControlKind::button:
        break;
    }
    const bool opaque = c.background.kind != Colour::Kind::none;
    return {sys(buttonTextColour), opaque ? sys(buttonFaceColour) : Colour{}};
}

} // namespace

FormColours formColours(const WindowSpec& design, bool highContrastOn)
{
    FormColours colours;
    for (const ControlSpec& c : design.controls) colours.controls.push_back(highContrastOn ? highContrast(c) : designed(c));
    for (const LineSpec& line : design.lines) {
        // The etched lines: the dark one in the text colour, the light one stays a system colour.
        const bool fixed = line.colour.kind != Colour::Kind::system;
        colours.lines.push_back(highContrastOn && fixed ? sys(buttonTextColour) : line.colour);
    }
    return colours;
}

// The main window.

namespace {

constexpr Font captionFont{"MS Sans Serif", 825, 700};
constexpr Colour blue = Colour::rgb(0, 0, 192);

constexpr int id(MainControl c) { return static_cast<int>(c); }

using K = ControlKind;
using M = MainControl;

constexpr ControlSpec mainControls[] = {
    {id(M::lbltext), "lbltext", K::label, "Computer:", 150, 165, 870, 195, 8, {}, {}, captionFont, true},
    {id(M::lblcomputername), "lblcomputername", K::valueField, "", 1125, 135, 1935, 240, 0, blue,
     Colour::system(inactiveBorderColour)},
    {id(M::lbltext2), "lbltext2", K::label, "Owner:", 150, 480, 615, 195, 9, {}, {}, captionFont, true},
    {id(M::lblusername), "lblusername", K::valueField, "", 1125, 450, 1935, 240, 1, blue,
     Colour::system(inactiveBorderColour)},
    {id(M::lbltext3), "lbltext3", K::label, "Date:", 150, 795, 480, 195, 10, {}, {}, captionFont, true},
    {id(M::lbldate), "lbldate", K::valueField, "", 1125, 765, 1935, 240, 2, blue, {}},
    {id(M::lbltext4), "lbltext4", K::label, "Startups:", 150, 1125, 780, 195, 11, {}, {}, captionFont, true},
    {id(M::lblNUMBER), "lblNUMBER", K::valueField, "", 1125, 1095, 1935, 240, 3, Colour::rgb(255, 255, 0),
     Colour::system(grayTextColour)},
    {id(M::Text1), "Text1", K::textBox, "", 3150, 120, 2385, 1230, 4, {}, Colour::system(scrollBarColour)},
    {id(M::cmdabout), "cmdabout", K::button, "&About", 150, 1515, 1425, 345, 5},
    {id(M::cmdexit), "cmdexit", K::button, "E&xit", 1635, 1515, 1425, 345, 6},
    {id(M::cmdQuickInfo), "cmdQuickInfo", K::button, "&Quick Info", 3165, 1515, 2385, 345, 7},
};

constexpr WindowSpec mainLayout{"Kestrevane", 5700, 1995, mainControls, {}};

} // namespace

const WindowSpec& frmmainLayout() { return mainLayout; }

// The About window.

namespace {

constexpr Colour darkPurple = Colour::rgb(64, 0, 64);
constexpr Colour highlight = Colour::system(highlight3dColour);
constexpr Colour labelBackground = Colour::system(buttonFaceColour); // the default label background

constexpr int id(AboutControl c) { return static_cast<int>(c); }

using A = AboutControl;

constexpr ControlSpec aboutControls[] = {
    {id(A::lblprogtitle), "lblprogtitle", K::label, "", 360, 345, 3675, 330, 1, {}, {}, {"MS Sans Serif", 1350, 400}},
    {id(A::lblversion), "lblversion", K::label, "", 360, 675, 3675, 195, 5, {}, {}, {"MS Sans Serif", 975, 700}},
    {id(A::lblcopyright), "lblcopyright", K::label, "", 360, 930, 795, 195, 2, {}, {}, {}, true},
    {id(A::lblcopyright2), "lblcopyright2", K::label, app::authorName, 360, 1140, 2580, 240, 10},
    {id(A::lbltext3), "lbltext3", K::label, "Play and enjoy!", 360, 2085, 1110, 195, 9, {}, {}, {}, true},
    {id(A::lbltext4), "lbltext4", K::label, "For updates and other freeware,", 360, 2700, 2265, 195, 6, {},
     labelBackground, {}, true},
    {id(A::lbltext5), "lbltext5", K::label, "Visit my homepage at", 360, 2895, 1545, 195, 4, {}, {}, {}, true},
    {id(A::lblurl), "lblurl", K::link, app::homePage, 360, 3105, 1740, 195, 3, blue, {}, {}, true},
    {id(A::cmdok), "cmdok", K::button, "&Ok", 360, 3600, 1590, 390, 0},
};

constexpr LineSpec aboutLines[] = {
    {360, 1545, 2985, 1545, darkPurple, 1}, // Line1
    {360, 1560, 2985, 1560, highlight, 2},  // Line2
    {360, 2415, 2985, 2415, darkPurple, 1}, // Line4
    {360, 2430, 2985, 2430, highlight, 2},  // Line3
};

constexpr WindowSpec aboutLayout{"About", 3300, 4395, aboutControls, aboutLines};
constexpr ImageSpec imghand{1605, 4380, 480, 480};

} // namespace

const WindowSpec& frmaboutLayout() { return aboutLayout; }
const ImageSpec& imghandLayout() { return imghand; }

} // namespace kestrevane::ui
