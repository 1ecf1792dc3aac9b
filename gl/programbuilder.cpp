#include "gl/programbuilder.h"

#include <QGLShader>
#include <QGLShaderProgram>

bool shl::build_program(QGLShaderProgram& program, QObject* owner,
                        const char* vertexSource, const char* fragmentSource)
{
    auto* vertexShader = new QGLShader(QGLShader::Vertex, owner);
    vertexShader->compileSourceCode(vertexSource);
    auto* fragmentShader = new QGLShader(QGLShader::Fragment, owner);
    fragmentShader->compileSourceCode(fragmentSource);
    program.addShader(vertexShader);
    program.addShader(fragmentShader);
    return program.link();
}
