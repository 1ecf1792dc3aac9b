#ifndef LINESCENE_H
#define LINESCENE_H

#include <QGLShaderProgram>
#include <QMatrix4x4>
#include <QObject>
#include <QVector3D>
#include <QVector4D>
#include <QVector>

// One segment of the branching tangle.
struct lnmes_node
{
    float weight;
    QVector3D origin;
    QVector3D ort;
};

// The next value of the C library's rand() as -1.0 ... 0.999 in steps of 0.001.
float randf();
// The value randf gives for the rand() result drawn.
float randf_of(int drawn);
// The end point of the node's segment.
QVector3D Extrude(lnmes_node const& node, float length);

// The seeded tangle of branching lines, grown afresh on every Paint.
class LineScene : public QObject
{
    Q_OBJECT
public:
    LineScene();

    // The shader program's sources, as compiled by HeavyLoad.
    static const char* VertexShaderSource();
    static const char* FragmentShaderSource();

    void HeavyLoad();
    void Update(float dt);
    void Paint(QMatrix4x4 matrix, float spread, float turn, float phase, unsigned int seed) const;

    QVector3D RandomiseOrt(int index, lnmes_node const& node, float spread, float unused, float phase) const;
    // Seeds the C library's generator and grows the whole mesh: four vertices per segment.
    QVector<QVector4D> GrowMesh(float spread, float phase, unsigned int seed, float* sizeJitter) const;

private:
    mutable QGLShaderProgram program;
    int vertexAttr;
    int matrixUniform;
    int dataUniform;
};

#endif
