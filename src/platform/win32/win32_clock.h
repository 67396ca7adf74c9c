// The system clock in local time.
#pragma once

#include "startup/clock.h"

namespace kestrevane::win32 {

class Win32Clock final : public startup::Clock {
public:
    startup::LocalDateTime now() override;
};

} // namespace kestrevane::win32
