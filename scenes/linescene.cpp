#include "scenes/linescene.h"

float randf() { return 0.0f; }
QVector3D Extrude(lnmes_node const&, float) { return {}; }

LineScene::LineScene() : vertexAttr(-1), matrixUniform(-1), dataUniform(-1) {}
void LineScene::HeavyLoad() {}
void LineScene::Update(float) {}
void LineScene::Paint(QMatrix4x4, float, float, float, unsigned int) const {}
QVector3D LineScene::RandomiseOrt(int, lnmes_node const&, float, float, float) const { return {}; }
QVector<QVector4D> LineScene::GrowMesh(float, float, unsigned int, float*) const { return {}; }
const char* LineScene::VertexShaderSource() { return ""; }
const char* LineScene::FragmentShaderSource() { return ""; }
