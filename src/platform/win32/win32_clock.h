// The system clock in local time.
#pragma once

#include "startup/date_time.h"

namespace kestrevane::win32 {

class Win32Clock final : public startup::Clock {
public:
    startup::LocalDateTime now() override;
};

} // namespace kestrevane::win32
