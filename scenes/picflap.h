#ifndef PICFLAP_H
#define PICFLAP_H

#include <QGLShaderProgram>
#include <QObject>
#include <QVector3D>
#include <QVector>

// The full-screen picture square, blended in its fragment shader with a
// sine-noise pattern.
class PicFlap : public QObject
{
    Q_OBJECT
public:
    PicFlap();

    // The shader program's sources, as compiled by HeavyLoad.
    static const char* VertexShaderSource();
    static const char* FragmentShaderSource();

    void HeavyLoad();
    void Update();
    void Paint(unsigned int texture, float scale, float angle, float noiseMix,
               float dataW, float noisePhase, float dataZ) const;

    const QVector<QVector3D>& Vertices() const { return vertices; }
    const QVector<QVector3D>& Normals() const { return normals; }
    int NormalAttr() const { return normalAttr; }

private:
    mutable QGLShaderProgram program;
    int vertexAttr;
    int normalAttr;
    int texCoordAttr;
    int matrixUniform;
    int texUniform;
    int dataUniform;
    QVector<QVector3D> vertices;
    QVector<QVector3D> normals;
};

#endif
