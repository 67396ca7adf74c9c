// Character replacement over UTF-8 text.
#include "ui/replace_in_string.h"

#include <cstddef>

namespace kestrevane::ui {

namespace {

// Length of the UTF-8 sequence that starts `text`; a byte that does not begin a whole
// sequence counts as one character of its own.
std::size_t firstCharacterLength(const std::string& text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xC0 && lead < 0xE0) length = 2;
    else if (lead >= 0xE0 && lead < 0xF0) length = 3;
    else if (lead >= 0xF0 && lead < 0xF8) length = 4;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    return length;
}

} // namespace

std::string mReplaceInString(std::string vstrInputString, const std::string& vstrA, const std::string& vstrB)
{
    if (vstrA.empty() || vstrB.empty()) return vstrInputString;

    // A match always begins with vstrA's first character, so that is the span overwritten;
    // the next search starts right after it, on text no replacement has touched. So one
    // pass does it: in place when both characters are of one length, else by copying.
    const std::size_t matchedLength = firstCharacterLength(vstrA);
    const std::size_t replacementLength = firstCharacterLength(vstrB);

    if (matchedLength == replacementLength) {
        // A single byte for a single byte, as the log's quotes and commas are: a plain scan.
        if (vstrA.size() == 1) {
            const char from = vstrA[0], to = vstrB[0];
            // Every byte is written, so the compiler can do many at a time.
            for (char& c : vstrInputString) c = c == from ? to : c;
            return vstrInputString;
        }
        for (std::size_t pos = vstrInputString.find(vstrA); pos != std::string::npos;
             pos = vstrInputString.find(vstrA, pos + matchedLength))
            vstrInputString.replace(pos, matchedLength, vstrB, 0, replacementLength);
        return vstrInputString;
    }

    std::string result;
    result.reserve(vstrInputString.size());
    std::size_t copied = 0;
    for (std::size_t pos = vstrInputString.find(vstrA); pos != std::string::npos;
         pos = vstrInputString.find(vstrA, copied)) {
        result.append(vstrInputString, copied, pos - copied);
        result.append(vstrB, 0, replacementLength);
        copied = pos + matchedLength;
    }
    result.append(vstrInputString, copied, std::string::npos);
    return result;
}

} // namespace kestrevane::ui
