#include "gl/shaderloader.h"

#include <QGLShader>
#include <QGLShaderProgram>

#include <fstream>

std::string shl::load_text(std::string const& path)
{
    std::ifstream file(path.c_str(), std::ios_base::in);
    std::string text;
    // Formatted extraction turns every run of whitespace into the one space
    // appended per word; the read that finds the end adds its space as well.
    while (file.good()) {
        std::string word;
        file >> word;
        text += word;
        text += ' ';
    }
    return text;
}

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
