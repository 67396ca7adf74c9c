#include "ui/about_layout.h"

#include "app_info.h"

namespace kestrevane::ui {

namespace {

constexpr Colour darkPurple = Colour::rgb(64, 0, 64);
constexpr Colour highlight = Colour::system(highlight3dColour);
constexpr Colour labelBackground = Colour::system(15); // button face, the default label background

constexpr int id(AboutControl c) { return static_cast<int>(c); }

using K = ControlKind;
using C = AboutControl;

constexpr ControlSpec controls[] = {
    {id(C::lblprogtitle), "lblprogtitle", K::label, "", 360, 345, 3675, 330, 1, {}, {}, {"MS Sans Serif", 1350, 400}},
    {id(C::lblversion), "lblversion", K::label, "", 360, 675, 3675, 195, 5, {}, {}, {"MS Sans Serif", 975, 700}},
    {id(C::lblcopyright), "lblcopyright", K::label, "", 360, 930, 795, 195, 2, {}, {}, {}, true},
    {id(C::lblcopyright2), "lblcopyright2", K::label, app::authorName, 360, 1140, 2580, 240, 10},
    {id(C::lbltext3), "lbltext3", K::label, "Play and enjoy!", 360, 2085, 1110, 195, 9, {}, {}, {}, true},
    {id(C::lbltext4), "lbltext4", K::label, "For updates and other freeware,", 360, 2700, 2265, 195, 6, {},
     labelBackground, {}, true},
    {id(C::lbltext5), "lbltext5", K::label, "Visit my homepage at", 360, 2895, 1545, 195, 4, {}, {}, {}, true},
    {id(C::lblurl), "lblurl", K::link, app::homePage, 360, 3105, 1740, 195, 3, Colour::rgb(0, 0, 192), {}, {}, true},
    {id(C::cmdok), "cmdok", K::button, "&Ok", 360, 3600, 1590, 390, 0},
};

constexpr LineSpec lines[] = {
    {360, 1545, 2985, 1545, darkPurple, 1}, // Line1
    {360, 1560, 2985, 1560, highlight, 2},  // Line2
    {360, 2415, 2985, 2415, darkPurple, 1}, // Line4
    {360, 2430, 2985, 2430, highlight, 2},  // Line3
};

constexpr WindowSpec layout{"About", 3300, 4395, controls, lines};
constexpr ImageSpec imghand{1605, 4380, 480, 480};

} // namespace

const WindowSpec& frmaboutLayout() { return layout; }
const ImageSpec& imghandLayout() { return imghand; }

} // namespace kestrevane::ui
