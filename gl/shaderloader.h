#ifndef SHADERLOADER_H
#define SHADERLOADER_H

#include <string>

namespace shl {

// The file's words, each followed by one space, with one more space when the
// file ends in whitespace; "" when the file cannot be opened. The path is
// taken up to its first NUL.
std::string load_text(std::string const& path);

}

#endif
