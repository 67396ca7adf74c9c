#include "ui/colours.h"

namespace kestrevane::ui {

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

} // namespace kestrevane::ui
