#include "scenes/picflap.h"

#include "gl/programbuilder.h"

#include <QMatrix4x4>
#include <QVector4D>

namespace {

// One (s, t) pair per corner, in the order of the corner list: s runs along x,
// t along y, so the picture fills the square exactly.
const GLfloat quadTexCoords[] = {
    0.0f, 0.0f,
    0.0f, 1.0f,
    1.0f, 0.0f,
    1.0f, 1.0f,
};

const char* const kVertexShaderSource =
    "attribute highp vec4 vertex;\n"
    "attribute highp vec4 texCoord;\n"
    "attribute mediump vec3 normal;\n"
    "uniform mediump mat4 matrix;\n"
    "uniform mediump vec4 data;\n"
    "varying highp vec4 texc;\n"
    "void main(void)\n"
    "{\n"
    "    gl_Position = matrix * vertex;\n"
    "    texc = texCoord;\n"
    "}\n";

const char* const kFragmentShaderSource =
    "varying highp vec4 texc;\n"
    "uniform mediump vec4 data;\n"
    "uniform sampler2D tex;\n"
    "void main(void)\n"
    "{\n"
    "  highp vec3 color = texture2D(tex, texc.st).rgb;\n"
    "  mediump float noise = sin(texc.s*(320.0+data.x*5009.0) * texc.t*(data.x * 4107.0) + data.y);\n"
    "  mediump vec3 ncolor = vec3(noise,noise*0.9,noise*0.8);\n"
    "  ncolor = clamp(ncolor, 0.0, 1.0);\n"
    "  gl_FragColor = vec4(data.x*ncolor + (1.0-data.x)*color, 1.0);\n"
    "}\n";

} // namespace

PicFlap::PicFlap()
    : vertexAttr(-1), normalAttr(-1), texCoordAttr(-1), matrixUniform(-1), texUniform(-1), dataUniform(-1)
{
}

const char* PicFlap::VertexShaderSource()
{
    return kVertexShaderSource;
}

const char* PicFlap::FragmentShaderSource()
{
    return kFragmentShaderSource;
}

void PicFlap::HeavyLoad()
{
    // A second load would append a second square and a second pair of
    // shaders, and a program with two main functions does not link.
    if (!vertices.isEmpty())
        return;

    vertices << QVector3D(-1.0f, -1.0f, 0.1f) << QVector3D(-1.0f, 1.0f, 0.1f)
             << QVector3D(1.0f, -1.0f, 0.1f) << QVector3D(1.0f, 1.0f, 0.1f);
    normals.fill(QVector3D(0.0f, 1.0f, 0.0f), vertices.size());

    shl::build_program(program, this, kVertexShaderSource, kFragmentShaderSource);

    vertexAttr = program.attributeLocation("vertex");
    normalAttr = program.attributeLocation("normal");
    texCoordAttr = program.attributeLocation("texCoord");
    matrixUniform = program.uniformLocation("matrix");
    texUniform = program.uniformLocation("tex");
    dataUniform = program.uniformLocation("data");
}

void PicFlap::Update()
{
}

void PicFlap::Paint(unsigned int texture, float scale, float angle, float noiseMix,
                    float dataW, float noisePhase, float dataZ) const
{
    // Without a linked program there is nothing to draw with, and before
    // HeavyLoad the corner arrays are empty: the draw would read past them.
    if (!program.isLinked())
        return;

    program.bind();

    QMatrix4x4 matrix;
    matrix.scale(scale, scale);
    matrix.rotate(angle, 0.0f, 0.0f, 1.0f);
    program.setUniformValue(matrixUniform, matrix);

    program.enableAttributeArray(vertexAttr);
    program.enableAttributeArray(normalAttr);
    program.enableAttributeArray(texCoordAttr);

    glBindTexture(GL_TEXTURE_2D, texture);

    program.setAttributeArray(vertexAttr, vertices.constData());
    program.setAttributeArray(texCoordAttr, quadTexCoords, 2);
    program.setAttributeArray(normalAttr, normals.constData());
    program.setUniformValue(texUniform, 0);
    program.setUniformValue(dataUniform, QVector4D(noiseMix, noisePhase, dataZ, dataW));

    glDrawArrays(GL_TRIANGLE_STRIP, 0, vertices.size());

    program.disableAttributeArray(vertexAttr);
    program.disableAttributeArray(normalAttr);
    program.disableAttributeArray(texCoordAttr);

    program.release();
}
