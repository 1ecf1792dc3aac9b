#include "scenes/picflap.h"

PicFlap::PicFlap()
    : vertexAttr(-1), normalAttr(-1), texCoordAttr(-1), matrixUniform(-1), texUniform(-1), dataUniform(-1)
{
}

void PicFlap::HeavyLoad() {}
void PicFlap::Update() {}
void PicFlap::Paint(unsigned int, float, float, float, float, float, float) const {}
const char* PicFlap::VertexShaderSource() { return ""; }
const char* PicFlap::FragmentShaderSource() { return ""; }
