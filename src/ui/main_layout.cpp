#include "ui/main_layout.h"

namespace kestrevane::ui {

namespace {

constexpr Font captionFont{"MS Sans Serif", 825, 700};
constexpr Colour blue = Colour::rgb(0, 0, 192);

constexpr int id(MainControl c) { return static_cast<int>(c); }

using K = ControlKind;
using C = MainControl;

constexpr ControlSpec controls[] = {
    {id(C::lbltext), "lbltext", K::label, "Computer:", 150, 165, 870, 195, 8, {}, {}, captionFont, true},
    {id(C::lblcomputername), "lblcomputername", K::valueField, "", 1125, 135, 1935, 240, 0, blue,
     Colour::system(inactiveBorderColour)},
    {id(C::lbltext2), "lbltext2", K::label, "Owner:", 150, 480, 615, 195, 9, {}, {}, captionFont, true},
    {id(C::lblusername), "lblusername", K::valueField, "", 1125, 450, 1935, 240, 1, blue,
     Colour::system(inactiveBorderColour)},
    {id(C::lbltext3), "lbltext3", K::label, "Date:", 150, 795, 480, 195, 10, {}, {}, captionFont, true},
    {id(C::lbldate), "lbldate", K::valueField, "", 1125, 765, 1935, 240, 2, blue, {}},
    {id(C::lbltext4), "lbltext4", K::label, "Startups:", 150, 1125, 780, 195, 11, {}, {}, captionFont, true},
    {id(C::lblNUMBER), "lblNUMBER", K::valueField, "", 1125, 1095, 1935, 240, 3, Colour::rgb(255, 255, 0),
     Colour::system(grayTextColour)},
    {id(C::Text1), "Text1", K::textBox, "", 3150, 120, 2385, 1230, 4, {}, Colour::system(scrollBarColour)},
    {id(C::cmdabout), "cmdabout", K::button, "&About", 150, 1515, 1425, 345, 5},
    {id(C::cmdexit), "cmdexit", K::button, "E&xit", 1635, 1515, 1425, 345, 6},
    {id(C::cmdQuickInfo), "cmdQuickInfo", K::button, "&Quick Info", 3165, 1515, 2385, 345, 7},
};

constexpr WindowSpec layout{"Kestrevane", 5700, 1995, controls, {}};

} // namespace

const WindowSpec& frmmainLayout() { return layout; }

} // namespace kestrevane::ui
