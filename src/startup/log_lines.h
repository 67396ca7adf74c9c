// Walks the whole lines of a startup log; an unterminated last line is a torn write.
#pragma once

#include <string_view>

namespace kestrevane::startup {

class LogLines {
public:
    explicit LogLines(std::string_view bytes) : rest_(bytes) {}

    // The next whole line without its CR LF (or lone LF), skipping lines that hold only
    // blanks. False at the end, and before an unterminated last line.
    bool next(std::string_view& line);

    // The last line next() would give, found from the end without walking the rest.
    static bool last(std::string_view bytes, std::string_view& line);

    // True when the bytes do not end in a line end, i.e. the last append was cut short.
    static bool endsTorn(std::string_view bytes) { return !bytes.empty() && bytes.back() != '\n'; }

private:
    std::string_view rest_;
};

} // namespace kestrevane::startup
