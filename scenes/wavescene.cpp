#include "scenes/wavescene.h"

#include "gl/shaderloader.h"
#include "sensing/sensorarray.h"

#include <QGLShader>

#include <cmath>

#include <iostream>

namespace {

const float gridStep = 0.512f;
const int cellsPerRow = 25;
const float gridLeft = -17.0f;
const float gridRight = 17.0f;
const float gridNear = -6.2f;
const float springStiffness = 50.0f;
const float dampingPerStep = 0.95f;
const float longestStep = 0.1f;

}

WaveScene::WaveScene()
    : vertexAttr(-1), normalAttr(-1), matrixUniform(-1), dataUniform(-1), level(0), velocity(0), loaded(false)
{
}

void WaveScene::BuildGrid()
{
    const QVector3D normal(0.2f, 0.8f, 0.1f);
    vertices.clear();
    normals.clear();
    // The corners are accumulated in float, step by step, so the far rows and
    // cells carry the rounding of every step before them.
    float x = gridLeft;
    for (;;) {
        const float nextX = x + gridStep;
        float z = gridNear;
        for (int cell = 0; cell < cellsPerRow; ++cell) {
            vertices.append(QVector3D(x, 0.0f, z));
            vertices.append(QVector3D(nextX, 0.0f, z));
            vertices.append(QVector3D(x, 0.0f, z + gridStep));
            normals.append(normal);
            normals.append(normal);
            normals.append(normal);
            z += gridStep;
        }
        if (!(nextX < gridRight))
            break;
        x = nextX;
    }
}

bool WaveScene::HeavyLoad(std::string const& vertexPath, std::string const& fragmentPath)
{
    BuildGrid();

    QGLShader* vertexShader = new QGLShader(QGLShader::Vertex, this);
    const std::string vertexSource = shl::load_text(vertexPath);
    if (!vertexShader->compileSourceCode(vertexSource.c_str())) {
        std::cout << "vs: " << vertexSource << "\n" << std::flush;
        return false;
    }

    QGLShader* fragmentShader = new QGLShader(QGLShader::Fragment, this);
    const std::string fragmentSource = shl::load_text(fragmentPath);
    if (!fragmentShader->compileSourceCode(fragmentSource.c_str())) {
        std::cout << "fs: " << fragmentSource << "\n" << std::flush;
        return false;
    }

    program.addShader(vertexShader);
    program.addShader(fragmentShader);
    // An unlinked program does not bind, and drawing then would run with
    // whatever program GL had bound last.
    if (!program.link())
        return false;

    vertexAttr = program.attributeLocation("vertex");
    normalAttr = program.attributeLocation("normal");
    matrixUniform = program.uniformLocation("matrix");
    dataUniform = program.uniformLocation("data");
    loaded = true;
    return true;
}

void WaveScene::UpdateFromReadings(SensorArray const& sensors, float dt)
{
    const QVector3D acceleration = sensors.acceleration;
    const float change = acceleration.y() - lastAcceleration.y();
    const float step = dt > longestStep ? longestStep : dt;
    const float nextVelocity = (velocity + springStiffness * (change - level) * step) * dampingPerStep;
    const float nextLevel = level + step * nextVelocity;
    // One non-finite value would stay in the spring for the rest of the run:
    // a step that produces one is dropped, reading included, and the swing
    // keeps its last state.
    if (!std::isfinite(nextVelocity) || !std::isfinite(nextLevel))
        return;
    lastAcceleration = acceleration;
    velocity = nextVelocity;
    level = nextLevel;
}

void WaveScene::Update() {}

void WaveScene::Paint(QMatrix4x4 const& matrix, float dataX) const
{
    if (!loaded)
        return;
    program.bind();
    program.setUniformValue(matrixUniform, matrix);
    program.setUniformValue(dataUniform, QVector4D(dataX, level, 0.0f, 0.0f));
    program.enableAttributeArray(normalAttr);
    program.enableAttributeArray(vertexAttr);
    program.setAttributeArray(vertexAttr, vertices.constData());
    program.setAttributeArray(normalAttr, normals.constData());
    glDrawArrays(GL_TRIANGLES, 0, vertices.size());
    program.disableAttributeArray(normalAttr);
    program.disableAttributeArray(vertexAttr);
    program.release();
}
