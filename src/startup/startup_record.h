// One line of the startup log: date, time and count, as stored (code-page bytes).
#pragma once

#include <string>
#include <string_view>

namespace kestrevane::startup {

struct StartupRecord {
    std::string date;
    std::string time;
    std::string count;

    friend bool operator==(const StartupRecord&, const StartupRecord&) = default;
};

// The stored line: "date","time","count" followed by CR LF. Nothing is escaped: the
// fields never hold a quotation mark.
std::string formatRecordLine(const StartupRecord& record);

// Reads one line (without its line end) as a record. Fields are separated by commas; a
// field that starts with a quotation mark runs to the next one. Blanks around fields are
// dropped, missing fields are empty and fields after the third are ignored.
StartupRecord parseRecordLine(std::string_view line);

} // namespace kestrevane::startup
