// How text is stored in the startup log: the system's 8-bit code page, not UTF-8.
#pragma once

#include <string>

namespace kestrevane::startup {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    // UTF-8 to the stored bytes; characters the code page lacks become its default character.
    virtual std::string encode(const std::string& utf8) = 0;
    // Stored bytes to UTF-8; bytes the code page does not define become U+FFFD.
    virtual std::string decode(const std::string& bytes) = 0;
};

} // namespace kestrevane::startup
