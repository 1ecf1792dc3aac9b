#include "scenes/wavescene.h"

WaveScene::WaveScene()
    : vertexAttr(-1), normalAttr(-1), matrixUniform(-1), dataUniform(-1), level(0), velocity(0), loaded(false)
{
}

bool WaveScene::HeavyLoad(std::string const&, std::string const&) { return false; }
void WaveScene::UpdateFromReadings(SensorArray const&, float) {}
void WaveScene::Update() {}
void WaveScene::Paint(QMatrix4x4 const&, float) const {}
