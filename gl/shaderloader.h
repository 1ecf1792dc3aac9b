#ifndef SHADERLOADER_H
#define SHADERLOADER_H

#include <string>

class QGLShaderProgram;
class QObject;

namespace shl {

// The file's words, each followed by one space, with one more space when the
// file ends in whitespace; "" when the file cannot be opened. The path is
// taken up to its first NUL.
std::string load_text(std::string const& path);

// Compiles a vertex and a fragment shader owned by owner, adds them to program
// in that order and links it. The scenes whose sources are compiled in do not
// act on a compile failure; the link result tells whether the program can draw.
bool build_program(QGLShaderProgram& program, QObject* owner,
                   const char* vertexSource, const char* fragmentSource);

}

#endif
