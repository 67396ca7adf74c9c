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
    // the next search starts right after it, on text no replacement has touched. That lets
    // one pass copy the text instead of editing it in place, whatever the two lengths.
    const std::size_t matchedLength = firstCharacterLength(vstrA);
    const std::size_t replacementLength = firstCharacterLength(vstrB);

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
