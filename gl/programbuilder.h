#ifndef PROGRAMBUILDER_H
#define PROGRAMBUILDER_H

class QGLShaderProgram;
class QObject;

namespace shl {

// Compiles a vertex and a fragment shader owned by owner, adds them to program
// in that order and links it. The scenes whose sources are compiled in do not
// act on a compile failure; the link result tells whether the program can draw.
bool build_program(QGLShaderProgram& program, QObject* owner,
                   const char* vertexSource, const char* fragmentSource);

}

#endif
