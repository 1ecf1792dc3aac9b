#ifndef WAVESCENE_H
#define WAVESCENE_H

#include <QGLShaderProgram>
#include <QMatrix4x4>
#include <QObject>
#include <QString>
#include <QVector3D>
#include <QVector>

#include <string>

class SensorArray;

// A flat triangle grid whose shaders are read from text files, swung by a
// damped level that follows changes of the vertical acceleration.
class WaveScene : public QObject
{
    Q_OBJECT
public:
    WaveScene();

    // Builds the grid and the program; false when a shader did not compile
    // or the program did not link, after which Paint draws nothing.
    bool HeavyLoad(std::string const& vertexPath = "/home/user/wave_shader.vs",
                   std::string const& fragmentPath = "/home/user/wave_shader.fs");
    void UpdateFromReadings(SensorArray const& sensors, float dt);
    void Update();
    void Paint(QMatrix4x4 const& matrix, float dataX) const;

    // Lays out the grid afresh; HeavyLoad does this before it builds the program.
    void BuildGrid();

    const QVector<QVector3D>& Vertices() const { return vertices; }
    const QVector<QVector3D>& Normals() const { return normals; }
    float Level() const { return level; }
    float Velocity() const { return velocity; }
    const QGLShaderProgram& Program() const { return program; }

private:
    mutable QGLShaderProgram program;
    int vertexAttr;
    int normalAttr;
    int matrixUniform;
    int dataUniform;
    QVector<QVector3D> vertices;
    QVector<QVector3D> normals;
    QVector3D lastAcceleration;
    float level;
    float velocity;
    bool loaded;
};

#endif
