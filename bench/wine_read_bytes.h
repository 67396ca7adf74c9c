// Bytes a program has read, as Linux counts them for the process Wine runs it in.
// Wine 8 answers GetProcessIoCounters with zeros, so under Wine this is the only count
// of what a start read; on Windows there is no such process and the answer is -1.
#pragma once

#include <string>

namespace kestrevane::bench {

bool underWine();

// `rchar` of /proc/PID/io for the one Wine process whose command line starts with
// `exe` (the full Windows path it was started by): every byte its read calls returned,
// files, pipes and Wine's own loading alike. -1 when not under Wine or not found.
long long wineReadBytes(const std::wstring& exe);

} // namespace kestrevane::bench
