#include "scenes/wavescene.h"
#include "sensing/sensorarray.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

const float step = 0.512f;
const int rows = 67;
const int cellsPerRow = 25;
// The corners are sums of up to 67 float steps; their rounding stays well below this.
const float cornerTolerance = 1e-4f;

bool Near(float a, float b, float tolerance) { return std::fabs(a - b) <= tolerance; }

}

class WaveSceneTest : public QObject
{
    Q_OBJECT
private slots:
    void gridHasOneHalfCellTrianglePerCell();
    void gridIsFlatWithOneNormal();
    void rebuildingReplacesTheGrid();
    void firstUpdateSwingsTheLevel();
    void longStepsAreCutToATenthOfASecond();
    void onlyVerticalAccelerationMoves();
    void swingDiesOutUnderConstantAcceleration_data();
    void swingDiesOutUnderConstantAcceleration();
};

void WaveSceneTest::gridHasOneHalfCellTrianglePerCell()
{
    WaveScene scene;
    scene.BuildGrid();
    const QVector<QVector3D>& vertices = scene.Vertices();
    QCOMPARE(vertices.size(), rows * cellsPerRow * 3);
    QCOMPARE(vertices.size(), 5025);

    QCOMPARE(vertices[0], QVector3D(-17.0f, 0.0f, -6.2f));
    QVERIFY(qFuzzyCompare(vertices[1], QVector3D(-16.488f, 0.0f, -6.2f)));
    QVERIFY(qFuzzyCompare(vertices[2], QVector3D(-17.0f, 0.0f, -5.688f)));

    for (int row = 0; row < rows; ++row) {
        for (int cell = 0; cell < cellsPerRow; ++cell) {
            const int first = (row * cellsPerRow + cell) * 3;
            const float x = -17.0f + row * step;
            const float z = -6.2f + cell * step;
            const QVector3D& corner = vertices[first];
            const QVector3D& alongX = vertices[first + 1];
            const QVector3D& alongZ = vertices[first + 2];
            QVERIFY2(Near(corner.x(), x, cornerTolerance) && Near(corner.z(), z, cornerTolerance),
                     qPrintable(QString("row %1 cell %2").arg(row).arg(cell)));
            QVERIFY(Near(alongX.x(), x + step, cornerTolerance) && Near(alongX.z(), z, cornerTolerance));
            QVERIFY(Near(alongZ.x(), x, cornerTolerance) && Near(alongZ.z(), z + step, cornerTolerance));
        }
    }
    const QVector3D& lastCorner = vertices[vertices.size() - 3];
    QVERIFY(Near(lastCorner.x(), 16.792f, cornerTolerance));
    QVERIFY(Near(vertices.last().z(), 6.6f, cornerTolerance));
}

void WaveSceneTest::gridIsFlatWithOneNormal()
{
    WaveScene scene;
    scene.BuildGrid();
    QCOMPARE(scene.Normals().size(), scene.Vertices().size());
    for (const QVector3D& vertex : scene.Vertices())
        QCOMPARE(vertex.y(), 0.0f);
    for (const QVector3D& normal : scene.Normals())
        QCOMPARE(normal, QVector3D(0.2f, 0.8f, 0.1f));
}

void WaveSceneTest::rebuildingReplacesTheGrid()
{
    WaveScene scene;
    scene.BuildGrid();
    scene.BuildGrid();
    QCOMPARE(scene.Vertices().size(), 5025);
    QCOMPARE(scene.Normals().size(), 5025);
}

void WaveSceneTest::firstUpdateSwingsTheLevel()
{
    WaveScene scene;
    SensorArray sensors;
    sensors.acceleration = QVector3D(0.0f, 9.8f, 0.0f);
    scene.UpdateFromReadings(sensors, 0.01f);
    // (0 + 50 * (9.8 - 0) * 0.01) * 0.95, then 0 + 0.01 * that.
    QVERIFY(Near(scene.Velocity(), 4.655f, 1e-5f));
    QVERIFY(Near(scene.Level(), 0.04655f, 1e-6f));
}

void WaveSceneTest::longStepsAreCutToATenthOfASecond()
{
    WaveScene cut;
    WaveScene tenth;
    SensorArray sensors;
    const float readings[] = { 9.8f, 9.8f, 3.0f, -4.5f, -4.5f, 12.0f };
    for (float y : readings) {
        sensors.acceleration = QVector3D(0.5f, y, -1.0f);
        cut.UpdateFromReadings(sensors, 1.0f);
        tenth.UpdateFromReadings(sensors, 0.1f);
        QCOMPARE(cut.Velocity(), tenth.Velocity());
        QCOMPARE(cut.Level(), tenth.Level());
    }
    QVERIFY(cut.Level() != 0.0f);
}

void WaveSceneTest::onlyVerticalAccelerationMoves()
{
    WaveScene scene;
    SensorArray sensors;
    sensors.acceleration = QVector3D(5.0f, 0.0f, -3.0f);
    scene.UpdateFromReadings(sensors, 0.05f);
    QCOMPARE(scene.Velocity(), 0.0f);
    QCOMPARE(scene.Level(), 0.0f);
}

void WaveSceneTest::swingDiesOutUnderConstantAcceleration_data()
{
    QTest::addColumn<float>("dt");
    QTest::addColumn<int>("window");
    // Each window spans at least two swings of the spring at that step.
    QTest::newRow("10 ms steps") << 0.01f << 200;
    QTest::newRow("100 ms steps") << 0.1f << 40;
    QTest::newRow("steps beyond the limit") << 0.5f << 40;
}

void WaveSceneTest::swingDiesOutUnderConstantAcceleration()
{
    QFETCH(float, dt);
    QFETCH(int, window);
    WaveScene scene;
    SensorArray sensors;
    sensors.acceleration = QVector3D(0.0f, 9.8f, 0.0f);
    scene.UpdateFromReadings(sensors, dt);

    const int windows = 5;
    float envelope[windows];
    for (int w = 0; w < windows; ++w) {
        envelope[w] = 0.0f;
        for (int i = 0; i < window; ++i) {
            scene.UpdateFromReadings(sensors, dt);
            envelope[w] = std::max(envelope[w], std::fabs(scene.Level()));
        }
    }
    QVERIFY(envelope[0] > 0.0f);
    for (int w = 1; w < windows; ++w)
        QVERIFY2(envelope[w] < envelope[w - 1], qPrintable(QString("window %1").arg(w)));
    QVERIFY(envelope[windows - 1] < 0.05f * envelope[0]);
}

QTEST_GUILESS_MAIN(WaveSceneTest)
#include "tst_wavescene.moc"
