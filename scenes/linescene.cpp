#include "scenes/linescene.h"

#include "gl/programbuilder.h"


#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const int rootCount = 30;
const float rootWeight = 0.7f;
const float weightDecay = 0.65f;
const float branchingThreshold = 0.1f;
const float litLineLift = 0.12f;
// Thirty trees of five generations: 30 x (1 + 2 + 4 + 8 + 16) segments, four vertices each.
const int vertexCount = 3720;
// Deepest the stack gets: the roots not yet grown plus one waiting sibling per generation below.
const int deepestWorkList = rootCount + 8;

// The growth loop calls these local forms so that they inline into it; the free functions
// below are the same operations for everyone else.
float StepOfDraw(int drawn)
{
    return static_cast<float>((drawn % 2000) * 0.001 - 1.0);
}

float NextStep()
{
    return StepOfDraw(rand());
}

QVector3D SegmentEnd(lnmes_node const& node, float length)
{
    const float heading = node.ort.x() * 6.0f;
    const float distance = (1.0f - node.weight) * length;
    // One sincos gives the same values as cos and sin taken apart, at half the cost.
    double sine;
    double cosine;
    sincos(static_cast<double>(heading), &sine, &cosine);
    return QVector3D(static_cast<float>(node.origin.x() + distance * cosine),
                     static_cast<float>(node.origin.y() + distance * sine),
                     node.origin.z() + distance * node.ort.z());
}

QVector3D BranchOrt(int index, lnmes_node const& node, float spread, float phase)
{
    const float k = 1.0f + NextStep() * spread;
    const float angle = ((index * k) * 4.0f + (phase * k) * 3.0f) + NextStep();
    return QVector3D(node.ort.x() + sinf(angle), node.ort.y(), node.ort.z());
}

} // namespace

float randf_of(int drawn)
{
    return StepOfDraw(drawn);
}

float randf()
{
    return NextStep();
}

QVector3D Extrude(lnmes_node const& node, float length)
{
    return SegmentEnd(node, length);
}

LineScene::LineScene() : vertexAttr(-1), matrixUniform(-1), dataUniform(-1) {}

const char* LineScene::VertexShaderSource()
{
    return "attribute highp vec4 vertex;\n"
           "uniform mediump mat4 matrix;\n"
           "uniform mediump vec4 data;\n"
           "varying mediump vec4 color;\n"
           "void main(void)\n"
           "{\n"
           "    mediump float soft = 1.0 / (length(vertex - vec4(0,0,1,0)) + 1.0);\n"
           "    color = vertex.a * vec4(soft*data.z,soft*data.z,soft*data.z, 1.0);\n"
           "    gl_Position = matrix * vec4(vertex.xyz, 1.0);\n"
           "    gl_PointSize = 5.0 * soft;}\n";
}

const char* LineScene::FragmentShaderSource()
{
    return "varying mediump vec4 color;\n"
           "void main(void)\n"
           "{\n"
           "    gl_FragColor = color;\n"
           "}\n";
}

void LineScene::HeavyLoad()
{
    shl::build_program(program, this, VertexShaderSource(), FragmentShaderSource());
    vertexAttr = program.attributeLocation("vertex");
    matrixUniform = program.uniformLocation("matrix");
    dataUniform = program.uniformLocation("data");
}

void LineScene::Update(float) {}

QVector3D LineScene::RandomiseOrt(int index, lnmes_node const& node, float spread, float, float phase) const
{
    return BranchOrt(index, node, spread, phase);
}

QVector<QVector4D> LineScene::GrowMesh(float spread, float phase, unsigned int seed, float* sizeJitter) const
{
    srand(seed);
    const float halfSpread = spread * 0.5f;
    const float lengthScale = 1.0f + halfSpread * NextStep();
    *sizeJitter = halfSpread * NextStep();

    // The back of the vector is the top of the stack: the last root pushed grows first,
    // and a node's child 1 before its child 0, depth first.
    std::vector<lnmes_node> workList;
    workList.reserve(deepestWorkList);
    for (int root = 0; root < rootCount; ++root) {
        const float x = NextStep();
        const float y = NextStep();
        const float z = NextStep();
        workList.push_back({rootWeight, QVector3D(0.0f, 0.0f, 1.0f), QVector3D(x, y, z)});
    }

    QVector<QVector4D> vertices(vertexCount);
    QVector4D* next = vertices.data();
    while (!workList.empty()) {
        const lnmes_node node = workList.back();
        workList.pop_back();
        const QVector3D end = SegmentEnd(node, lengthScale);
        const QVector3D& origin = node.origin;
        *next++ = QVector4D(origin.x(), origin.y() + litLineLift, origin.z(), 1.0f);
        *next++ = QVector4D(end.x(), end.y(), end.z(), 1.0f);
        *next++ = QVector4D(origin.x(), origin.y(), origin.z(), 0.0f);
        *next++ = QVector4D(end.x(), end.y(), end.z(), 0.0f);

        const float childWeight = node.weight * weightDecay;
        if (childWeight > branchingThreshold) {
            for (int index = 0; index < 2; ++index) {
                const float x = end.x() + halfSpread * NextStep();
                const float y = end.y() + halfSpread * NextStep();
                const float z = end.z() + halfSpread * NextStep();
                const QVector3D ort = BranchOrt(index, node, spread, phase);
                workList.push_back({childWeight, QVector3D(x, y, z), ort});
            }
        }
    }
    return vertices;
}

void LineScene::Paint(QMatrix4x4 matrix, float spread, float turn, float phase, unsigned int seed) const
{
    float sizeJitter = 0.0f;
    const QVector<QVector4D> vertices = GrowMesh(spread, phase, seed, &sizeJitter);

    program.bind();
    matrix.rotate(turn * 30.0f, 0.0f, 1.0f, 0.0f);
    matrix.scale(1.0f + sizeJitter);
    program.setUniformValue(matrixUniform, matrix);
    program.setUniformValue(dataUniform, QVector4D(0.0f, 0.0f, phase, 0.0f));
    program.enableAttributeArray(vertexAttr);
    program.setAttributeArray(vertexAttr, vertices.constData());
    glDrawArrays(GL_LINES, 0, vertices.size());
    program.disableAttributeArray(vertexAttr);
    program.release();
}
