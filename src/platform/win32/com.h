// COM on the window thread: set up on first need, released at the program's end.
#pragma once

namespace kestrevane::win32 {

// Sets COM up on this thread, in a single-threaded apartment, unless that is done; true
// when it is. Where ole32 lacks it, false.
bool useCom();

// Releases COM when useCom() set it up; at the program's end, on the same thread.
void endComUse();

} // namespace kestrevane::win32
