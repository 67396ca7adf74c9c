// The text the user sees when the startup log cannot be kept.
#pragma once

#include <string>

#include "startup/file_system.h"

namespace kestrevane::startup {

std::string fileErrorMessage(const FileError& error);

} // namespace kestrevane::startup
