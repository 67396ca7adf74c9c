// What Quick Info tells of the system: the probes (the computer's and the user's names, the
// time since the system started, the Windows version) over the raw values the platform
// supplies, and the report composed from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrevane::sysinfo {

// The ANSI version record as the version query fills it.
struct VersionRecord {
    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t buildNumber = 0;
    std::int32_t platformId = 0;
    // The 128 bytes of the service-pack field, converted to UTF-8 text, NULs included.
    std::string servicePack;
};

struct VersionQueryResult {
    // What the query returned: zero means it failed and `record` holds the cleared values.
    std::int32_t returned = 0;
    VersionRecord record;
};

// The raw values the probes are composed from; the platform supplies them.
class SystemQuery {
public:
    virtual ~SystemQuery() = default;
    // Milliseconds since the system started, 64 bits wide so it does not wrap after 49.7 days.
    virtual std::uint64_t millisecondsSinceStart() = 0;
    // Clears the record, sets its size to 148 and asks the system.
    virtual VersionQueryResult queryVersion() = 0;
    // Give `buffer` (UTF-8) with `size` to the computer-name query and return the buffer as
    // the system left it, converted back to UTF-8 (NULs and trailing blanks included).
    // Names are read in Unicode, so any name comes back as it is.
    virtual std::string queryComputerName(const std::string& buffer, std::uint32_t size) = 0;
    // The same for the user-name query.
    virtual std::string queryUserName(const std::string& buffer, std::uint32_t size) = 0;
};

// Cuts `s` before its first NUL among its first 255 characters (UTF-8 sequences, a byte
// that begins none counting as one) and returns the result;
// `s` itself holds the same text afterwards. Without a NUL there `s` stays as it is, even
// when a NUL follows later or the text is shorter than 255 characters.
std::string trimAtNull(std::string& s);

// Each name query gets a fresh buffer of this many blanks, with a size one less.
inline constexpr std::size_t nameBufferLength = 255;
inline constexpr std::uint32_t nameBufferSize = 254;

// The name in a buffer as the system left it: everything before its first NUL.
std::string nameTextFromBuffer(std::string buffer);

std::string computerNameText(SystemQuery& system);
std::string userNameText(SystemQuery& system);

// "Hours since reboot: HH:MM:SS": rounds `milliseconds` to whole seconds (an exact half to
// the even neighbour) and writes hours, minutes and seconds with at least two digits each;
// hours never roll into days.
std::string uptimeTextFromMilliseconds(std::uint64_t milliseconds);

std::string uptimeText(SystemQuery& system);

// The Windows release name with its service pack, and the version number line: two lines
// closed by CR LF after a successful query; after a failed one the single line
// "Unable to get version information. GetVersionEx returned " and the value returned.
std::string windowsVersionTextFrom(const VersionQueryResult& result);

std::string windowsVersionText(SystemQuery& system);

// The title of the Quick Info message box.
inline constexpr std::string_view quickInfoTitle = "Kestrevane QuickInfo";

// The Quick Info message from the uptime and version texts, each stripped of blanks at both
// ends (line breaks stay, so a successful version text keeps its closing CR LF).
std::string quickInfoText(const std::string& uptime, const std::string& version);

} // namespace kestrevane::sysinfo
