// The main window as designed.
#pragma once

#include "ui/layout.h"

namespace kestrevane::ui {

enum class MainControl : int {
    lbltext,
    lblcomputername,
    lbltext2,
    lblusername,
    lbltext3,
    lbldate,
    lbltext4,
    lblNUMBER,
    Text1,
    cmdabout,
    cmdexit,
    cmdQuickInfo,
};

const WindowSpec& frmmainLayout();

// What a screen reader calls the log's text box (no label shows it).
inline constexpr std::string_view text1AccessibleName = "Today's startup log";

} // namespace kestrevane::ui
