// What the windows need to know of the user's display settings.
#pragma once

namespace kestrevane::ui {

class Appearance {
public:
    virtual ~Appearance() = default;
    // True while the user has a High Contrast theme on.
    virtual bool highContrast() = 0;
};

} // namespace kestrevane::ui
