// The About window as designed.
#pragma once

#include "ui/layout.h"

namespace kestrevane::ui {

enum class AboutControl : int {
    lblprogtitle,
    lblversion,
    lblcopyright,
    lblcopyright2,
    lbltext3,
    lbltext4,
    lbltext5,
    lblurl,
    cmdok,
};

// The picture shown over the link, placed as designed (mostly below the client area).
struct ImageSpec {
    int left, top, width, height; // twips
};

const WindowSpec& frmaboutLayout();
const ImageSpec& imghandLayout();

} // namespace kestrevane::ui
