// Name probes: a buffer of blanks to the system, the text before the NUL back.
#include "sysinfo/name_text.h"

#include "sysinfo/trim_at_null.h"

namespace kestrevane::sysinfo {

namespace {

std::string blankNameBuffer() { return std::string(nameBufferLength, ' '); }

} // namespace

std::string nameTextFromBuffer(std::string buffer)
{
    // A failed query is not detected: an untouched buffer comes back as its 255 blanks.
    return trimAtNull(buffer);
}

std::string computerNameText(SystemQuery& system)
{
    return nameTextFromBuffer(system.queryComputerName(blankNameBuffer(), nameBufferSize));
}

std::string userNameText(SystemQuery& system)
{
    return nameTextFromBuffer(system.queryUserName(blankNameBuffer(), nameBufferSize));
}

} // namespace kestrevane::sysinfo
