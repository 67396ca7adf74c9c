// How much of the startup log a start reads and shows, whatever the file's size.
#pragma once

#include <cstddef>

namespace kestrevane::startup {

struct LogLimits {
    // The decision reads only the log's end: the last record, and enough records before
    // it to recount a day whose last count was damaged.
    std::size_t readWindow = std::size_t{1} << 20;
    // The text box shows at most the log's last bytes, far more than any real day holds;
    // laying out more would make the window slow to appear.
    std::size_t shownBytes = std::size_t{64} << 10;
};

} // namespace kestrevane::startup
