// The user's display settings as the windows need them.
#pragma once

#include "ui/layout.h"

namespace kestrevane::win32 {

class Win32Appearance final : public ui::Appearance {
public:
    bool highContrast() override;
};

} // namespace kestrevane::win32
