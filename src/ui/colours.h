// The colours a window is drawn in: as designed, or under High Contrast the system's.
#pragma once

#include <vector>

#include "ui/layout.h"

namespace kestrevane::ui {

struct ShownColours {
    Colour text;
    Colour background; // none: transparent, the window shows through
};

struct FormColours {
    std::vector<ShownColours> controls; // by control id
    std::vector<Colour> lines;          // in the design's order
};

// With High Contrast on, every designed colour gives way to the theme's: window text on
// the window background in the fields and the text box, button text on the button face
// elsewhere, the grey where the design greys, and hot-light for the link.
FormColours formColours(const WindowSpec& design, bool highContrast);

} // namespace kestrevane::ui
