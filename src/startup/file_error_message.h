// The text the user sees when the startup log cannot be kept.
#pragma once

#include <string>

#include "startup/file_system.h"

namespace kestrevane::startup {

// What failed, on which file, and the system's reason. When the log could not be
// created, written or deleted, it also names the exe's folder and says that the
// program must be kept in a writable folder: the usual cause is a copy in a folder
// such as Program Files that only administrators may change.
std::string fileErrorMessage(const FileError& error);

} // namespace kestrevane::startup
