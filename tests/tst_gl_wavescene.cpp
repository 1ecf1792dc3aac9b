#include "scenes/wavescene.h"
#include "sensing/sensorarray.h"
#include "support/glsurface.h"

#include <QGLShader>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

// The frame buffer shows x from -17.5 to 17.5 and z from -7 to 7, looking
// straight down the y axis, at 20 pixels per unit.
const int pixelsPerUnit = 20;
const float viewHalfWidth = 17.5f;
const float viewHalfDepth = 7.0f;
const float step = 0.512f;
const int rows = 67;
const int cellsPerRow = 25;
// Colour channels of pixels well inside a triangle, against the lighting formula.
const int colourTolerance = 3;

QMatrix4x4 TopDownView()
{
    QMatrix4x4 matrix;
    matrix.ortho(-viewHalfWidth, viewHalfWidth, -viewHalfDepth, viewHalfDepth, 1.0f, 100.0f);
    matrix.lookAt(QVector3D(0.0f, 50.0f, 0.0f), QVector3D(0.0f, 0.0f, 0.0f), QVector3D(0.0f, 0.0f, -1.0f));
    return matrix;
}

QPoint PixelAbove(float x, float z)
{
    return QPoint(int(std::floor((x + viewHalfWidth) * pixelsPerUnit)),
                  int(std::floor((z + viewHalfDepth) * pixelsPerUnit)));
}

// The shipped shaders' colour for a flat grid: a base blue plus a diffuse
// term from the normalised normal (0.2, 0.8, 0.1) and the light (0.3, 1, 0.5).
QRgb FlatGridColour()
{
    const float light = QVector3D::dotProduct(QVector3D(0.2f, 0.8f, 0.1f).normalized(),
                                              QVector3D(0.3f, 1.0f, 0.5f).normalized());
    const QVector3D colour = QVector3D(0.05f, 0.2f, 0.45f) + light * QVector3D(0.2f, 0.5f, 0.5f);
    return qRgb(qRound(colour.x() * 255), qRound(colour.y() * 255), qRound(colour.z() * 255));
}

int LitPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0)
                ++lit;
    return lit;
}

class CoutCapture
{
public:
    CoutCapture() : previous(std::cout.rdbuf(captured.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(previous); }
    std::string Text() const { return captured.str(); }

private:
    std::ostringstream captured;
    std::streambuf* previous;
};

}

class GlWaveSceneTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void failedShaderStopsLoading_data();
    void failedShaderStopsLoading();
    void unlinkedProgramIsNotDrawn();
    void shippedShadersLoad();
    void flatGridCoversHalfOfEveryCell();
    void levelAndPhaseShapeTheWave();

private:
    QString WriteFile(const char* name, const char* content);
    QImage Draw(const WaveScene& scene, float dataX);

    std::unique_ptr<GlSurface> surface;
    QTemporaryDir dir;
    QString shippedVertex;
    QString shippedFragment;
};

QString GlWaveSceneTest::WriteFile(const char* name, const char* content)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    std::ofstream(path.toStdString(), std::ios_base::binary) << content;
    return path;
}

QImage GlWaveSceneTest::Draw(const WaveScene& scene, float dataX)
{
    return surface->Render([&] { scene.Paint(TopDownView(), dataX); });
}

void GlWaveSceneTest::initTestCase()
{
    surface = std::make_unique<GlSurface>(int(2 * viewHalfWidth * pixelsPerUnit),
                                          int(2 * viewHalfDepth * pixelsPerUnit));
    shippedVertex = QFINDTESTDATA("../scenes/shaders/wave_shader.vs");
    shippedFragment = QFINDTESTDATA("../scenes/shaders/wave_shader.fs");
    QVERIFY(!shippedVertex.isEmpty() && !shippedFragment.isEmpty());
    WriteFile("broken.vs", "void main(void) { gl_Position = undefinedName; }\n");
    WriteFile("broken.fs", "precision mediump float; void main(void)\n{\n\tgl_FragColor = undefinedName;\n}\n");
}

void GlWaveSceneTest::cleanupTestCase()
{
    surface.reset();
}

void GlWaveSceneTest::failedShaderStopsLoading_data()
{
    QTest::addColumn<QString>("vertexPath");
    QTest::addColumn<QString>("fragmentPath");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("shadersCreated");
    const QString broken = dir.filePath("broken");
    const QString missing = dir.filePath("missing");
    QTest::newRow("vertex shader does not compile")
        << broken + ".vs" << shippedFragment
        << QByteArray("vs: void main(void) { gl_Position = undefinedName; }  \n") << 1;
    QTest::newRow("vertex shader file missing") << missing + ".vs" << shippedFragment << QByteArray("vs: \n") << 1;
    QTest::newRow("vertex shader path is a directory") << dir.path() << shippedFragment << QByteArray("vs:  \n") << 1;
    QTest::newRow("fragment shader does not compile")
        << shippedVertex << broken + ".fs"
        << QByteArray("fs: precision mediump float; void main(void) { gl_FragColor = undefinedName; }  \n") << 2;
    QTest::newRow("fragment shader file missing") << shippedVertex << missing + ".fs" << QByteArray("fs: \n") << 2;
}

void GlWaveSceneTest::failedShaderStopsLoading()
{
    QFETCH(QString, vertexPath);
    QFETCH(QString, fragmentPath);
    QFETCH(QByteArray, output);
    QFETCH(int, shadersCreated);

    surface->Widget().makeCurrent();
    WaveScene scene;
    bool loaded = true;
    std::string printed;
    {
        CoutCapture capture;
        loaded = scene.HeavyLoad(vertexPath.toStdString(), fragmentPath.toStdString());
        printed = capture.Text();
    }
    QVERIFY(!loaded);
    QCOMPARE(QByteArray::fromStdString(printed), output);
    QCOMPARE(scene.findChildren<QGLShader*>().size(), shadersCreated);
    QVERIFY(scene.Program().shaders().isEmpty());
    QVERIFY(!scene.Program().isLinked());
    QCOMPARE(LitPixels(Draw(scene, 0.0f)), 0);
}

void GlWaveSceneTest::unlinkedProgramIsNotDrawn()
{
    surface->Widget().makeCurrent();
    const QString withoutMain = WriteFile("nomain.vs", "attribute highp vec3 vertex;\n");
    WaveScene scene;
    bool loaded = true;
    std::string printed;
    {
        CoutCapture capture;
        loaded = scene.HeavyLoad(withoutMain.toStdString(), shippedFragment.toStdString());
        printed = capture.Text();
    }
    QVERIFY(!loaded);
    QCOMPARE(QByteArray::fromStdString(printed), QByteArray());
    QCOMPARE(scene.Program().shaders().size(), 2);
    QVERIFY(!scene.Program().isLinked());
    QCOMPARE(LitPixels(Draw(scene, 0.0f)), 0);
}

void GlWaveSceneTest::shippedShadersLoad()
{
    surface->Widget().makeCurrent();
    WaveScene scene;
    std::string printed;
    bool loaded = false;
    {
        CoutCapture capture;
        loaded = scene.HeavyLoad(shippedVertex.toStdString(), shippedFragment.toStdString());
        printed = capture.Text();
    }
    QVERIFY(loaded);
    QCOMPARE(QByteArray::fromStdString(printed), QByteArray());
    QCOMPARE(scene.findChildren<QGLShader*>().size(), 2);
    QCOMPARE(scene.Program().shaders().size(), 2);
    QVERIFY(scene.Program().isLinked());
    QCOMPARE(scene.Vertices().size(), 5025);
}

// Each cell holds only the triangle at its (x, z) corner: the middle of that
// half is lit, the middle of the other half and everything beyond the grid stay black.
void GlWaveSceneTest::flatGridCoversHalfOfEveryCell()
{
    surface->Widget().makeCurrent();
    WaveScene scene;
    QVERIFY(scene.HeavyLoad(shippedVertex.toStdString(), shippedFragment.toStdString()));
    const QImage image = Draw(scene, 1.3f);
    const QRgb expected = FlatGridColour();

    for (int row = 0; row < rows; ++row) {
        for (int cell = 0; cell < cellsPerRow; ++cell) {
            const float x = -17.0f + row * step;
            const float z = -6.2f + cell * step;
            const QRgb inside = image.pixel(PixelAbove(x + step / 3, z + step / 3));
            const QRgb opposite = image.pixel(PixelAbove(x + 0.75f * step, z + 0.75f * step));
            QVERIFY2(ColourDistance(inside, expected) <= colourTolerance,
                     qPrintable(QString("row %1 cell %2: %3 against %4")
                                    .arg(row).arg(cell).arg(inside, 6, 16).arg(expected, 6, 16)));
            QVERIFY2((opposite & 0xffffff) == 0, qPrintable(QString("row %1 cell %2").arg(row).arg(cell)));
        }
    }
    const float margins[][2] = { { -17.3f, 0.0f }, { 17.4f, 0.0f }, { 0.0f, -6.6f }, { 0.0f, 6.9f } };
    for (const auto& point : margins)
        QCOMPARE(image.pixel(PixelAbove(point[0], point[1])) & 0xffffff, 0u);
}

void GlWaveSceneTest::levelAndPhaseShapeTheWave()
{
    surface->Widget().makeCurrent();
    WaveScene scene;
    QVERIFY(scene.HeavyLoad(shippedVertex.toStdString(), shippedFragment.toStdString()));
    const QImage flat = Draw(scene, 0.0f);

    SensorArray sensors;
    sensors.acceleration = QVector3D(0.0f, 9.8f, 0.0f);
    for (int i = 0; i < 5; ++i)
        scene.UpdateFromReadings(sensors, 0.02f);
    QVERIFY(std::fabs(scene.Level()) > 0.5f);
    const QImage swinging = Draw(scene, 0.0f);
    const QImage shifted = Draw(scene, 1.5f);

    // Seen from above the displacement keeps the footprint; the slope of the
    // wave shows in the shading instead.
    QCOMPARE(LitPixels(swinging), LitPixels(flat));
    QVERIFY(swinging != flat);
    QVERIFY(shifted != swinging);
}

QTEST_MAIN(GlWaveSceneTest)
#include "tst_gl_wavescene.moc"
