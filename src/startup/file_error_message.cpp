#include "startup/file_error_message.h"

namespace kestrevane::startup {

std::string fileErrorMessage(const FileError& error)
{
    return "Kestrevane could not " + error.operation() + " its startup log\r\n\r\n" + error.path() +
           "\r\n\r\n" + error.reason();
}

} // namespace kestrevane::startup
