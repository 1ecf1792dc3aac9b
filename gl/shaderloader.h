#ifndef SHADERLOADER_H
#define SHADERLOADER_H

#include <cstddef>
#include <string>

namespace shl {

// A shader source is never near this; more is refused rather than read.
constexpr std::size_t largestText = 16 * 1024 * 1024;

// The file's words, each followed by one space, with one more space when the
// file ends in whitespace; "" when the file cannot be opened, is not a
// regular file or a directory (a FIFO, socket or device is never waited
// for), or holds more than largestText bytes. A directory reads as " ". The
// path is taken up to its first NUL.
std::string load_text(std::string const& path);

}

#endif
