#ifndef SHADERLOADER_H
#define SHADERLOADER_H

#include <string>

namespace shl {

// The file's words, each followed by one space; "" when the file cannot be opened.
std::string load_text(std::string const& path);

}

#endif
