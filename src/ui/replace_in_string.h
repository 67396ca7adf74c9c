// Overwrites one character at each occurrence of a search text (the log's quotes and commas).
#pragma once

#include <string>

namespace kestrevane::ui {

// Returns `vstrInputString` with the first character of every occurrence of `vstrA`
// replaced by the first character of `vstrB`; the search resumes one character after each
// match, so overlapping matches are all found. Characters are UTF-8 sequences: for ASCII
// texts the length never changes, while a first character of another byte length makes
// the result longer or shorter by the difference. The search compares bytes exactly.
// An empty `vstrA` or `vstrB` leaves the text unchanged. Occurrences at any position count.
std::string mReplaceInString(std::string vstrInputString, const std::string& vstrA, const std::string& vstrB);

} // namespace kestrevane::ui
