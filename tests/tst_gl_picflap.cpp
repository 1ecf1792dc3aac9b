#include "scenes/picflap.h"
#include "support/glsurface.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// 64 x 48: the square is stretched to a 4:3 view, and with an 8 x 6 texel
// picture each texel covers exactly 8 x 8 pixels, so no pixel centre lies on
// a texel boundary when the square is not turned.
const int kWidth = 64;
const int kHeight = 48;
const int kPictureWidth = 8;
const int kPictureHeight = 6;
// Translucent on purpose: the flap must draw opaque fragments whatever the
// picture's alpha.
const int kPictureAlpha = 160;

// The frequency factors of the noise: sin(s * (320 + 5009 x) * t * (4107 x) + phase).
const double kFrequencyBase = 320.0;
const double kFrequencyS = 5009.0;
const double kFrequencyT = 4107.0;

// Colours are read back as 8-bit values: one step for rounding on either
// side of the exact value.
const int kQuantisationTolerance = 1;
// Where noise is involved: the float argument of the sine carries a relative
// error of a few ulp (about 4e-7) from the interpolated s and t and the
// three products; on arguments up to kPreciseArgument that moves the sine
// by at most 0.008, two 8-bit steps with the rounding.
const int kNoiseTolerance = 2;
const double kPreciseArgument = 20000.0;

QRgb TexelColour(int column, int row)
{
    return qRgb(30 + 28 * column, 40 + 36 * row, 220 - 12 * column - 14 * row);
}

QImage TestPicture()
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_ARGB32);
    for (int row = 0; row < kPictureHeight; ++row) {
        for (int column = 0; column < kPictureWidth; ++column) {
            const QRgb colour = TexelColour(column, row);
            picture.setPixel(column, row, qRgba(qRed(colour), qGreen(colour), qBlue(colour), kPictureAlpha));
        }
    }
    return picture;
}

// The picture's colour at (s, t), as GL_NEAREST samples it: t runs up, the
// picture's rows run down.
QRgb PictureAt(double s, double t)
{
    const int column = std::clamp(int(std::floor(s * kPictureWidth)), 0, kPictureWidth - 1);
    const int rowFromBottom = std::clamp(int(std::floor(t * kPictureHeight)), 0, kPictureHeight - 1);
    return TexelColour(column, kPictureHeight - 1 - rowFromBottom);
}

// Distance of v from the nearest multiple of 1/cells, in units of the picture.
double DistanceToGrid(double v, int cells)
{
    const double scaled = v * cells;
    return std::abs(scaled - std::round(scaled)) / cells;
}

// Pixel centres in clip space: x right, y up; image rows run down.
double ClipX(int column, int width)
{
    return (2.0 * column + 1.0) / width - 1.0;
}

double ClipY(int row, int height)
{
    return 1.0 - (2.0 * row + 1.0) / height;
}

// The shaded colour for texture coordinates (s, t), from the blend formula.
QRgb ShadedColour(double s, double t, double mix, double phase)
{
    const double noise = std::sin(s * (kFrequencyBase + kFrequencyS * mix) * t * (kFrequencyT * mix) + phase);
    const QRgb picture = PictureAt(s, t);
    const double channels[3] = {
        mix * std::clamp(noise, 0.0, 1.0) + (1.0 - mix) * qRed(picture) / 255.0,
        mix * std::clamp(0.9 * noise, 0.0, 1.0) + (1.0 - mix) * qGreen(picture) / 255.0,
        mix * std::clamp(0.8 * noise, 0.0, 1.0) + (1.0 - mix) * qBlue(picture) / 255.0,
    };
    return qRgb(int(std::lround(channels[0] * 255.0)), int(std::lround(channels[1] * 255.0)),
                int(std::lround(channels[2] * 255.0)));
}

QString Describe(int x, int y, QRgb drawn, QRgb expected)
{
    return QString::fromLatin1("pixel (%1, %2): drawn #%3, expected #%4")
        .arg(x).arg(y)
        .arg(drawn & 0xffffff, 6, 16, QLatin1Char('0'))
        .arg(expected & 0xffffff, 6, 16, QLatin1Char('0'));
}

bool IsBlack(QRgb colour)
{
    return (colour & 0xffffff) == 0;
}

} // namespace

class TestPicFlap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void loadBuildsTheSquare();
    void secondLoadKeepsTheScene();
    void paintBeforeLoadDrawsNothing();
    void pictureFillsTheViewport();
    void pictureFollowsScaleAndAngle_data();
    void pictureFollowsScaleAndAngle();
    void pulsedSquareCoversTheViewport_data();
    void pulsedSquareCoversTheViewport();
    void unitSquareTurnedHalfwayLeavesTheCorners();
    void noiseFollowsTheSine_data();
    void noiseFollowsTheSine();
    void edgesCarryThePhaseAlone_data();
    void edgesCarryThePhaseAlone();
    void passedThroughComponentsChangeNothing_data();
    void passedThroughComponentsChangeNothing();
    void droppedNormalLocationDrawsCorrectly();
    void paintRestoresTheGlState_data();
    void paintRestoresTheGlState();

private:
    QImage Draw(float scale, float angle, float noiseMix, float dataW, float noisePhase, float dataZ);

    std::unique_ptr<GlSurface> surface;
    std::unique_ptr<PicFlap> flap;
    GLuint picture = 0;
};

void TestPicFlap::initTestCase()
{
    surface = std::make_unique<GlSurface>(kWidth, kHeight);
    flap = std::make_unique<PicFlap>();
    flap->HeavyLoad();
    picture = surface->Widget().bindTexture(TestPicture(), GL_TEXTURE_2D, GL_RGBA,
                                            QGLContext::InvertedYBindOption);
    QVERIFY(picture != 0);
    // Nearest sampling makes every pixel one texel's exact colour; clamping
    // keeps the edges of the square from wrapping to the opposite side.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void TestPicFlap::cleanupTestCase()
{
    surface->Widget().makeCurrent();
    surface->Widget().deleteTexture(picture);
    flap.reset();
    surface.reset();
}

QImage TestPicFlap::Draw(float scale, float angle, float noiseMix, float dataW, float noisePhase, float dataZ)
{
    return surface->Render([&] { flap->Paint(picture, scale, angle, noiseMix, dataW, noisePhase, dataZ); });
}

void TestPicFlap::loadBuildsTheSquare()
{
    const QVector<QVector3D> corners = {
        QVector3D(-1.0f, -1.0f, 0.1f), QVector3D(-1.0f, 1.0f, 0.1f),
        QVector3D(1.0f, -1.0f, 0.1f), QVector3D(1.0f, 1.0f, 0.1f),
    };
    QCOMPARE(flap->Vertices(), corners);
    QCOMPARE(flap->Normals(), QVector<QVector3D>(4, QVector3D(0.0f, 1.0f, 0.0f)));
}

void TestPicFlap::secondLoadKeepsTheScene()
{
    PicFlap reloaded;
    reloaded.HeavyLoad();
    reloaded.HeavyLoad();
    QCOMPARE(reloaded.Vertices().size(), 4);
    QCOMPARE(reloaded.Normals().size(), 4);
    QCOMPARE(reloaded.findChildren<QGLShader*>().size(), 2);

    const QImage once = Draw(1.0f, 0.0f, 0.3f, 0.0f, 1.1f, 0.0f);
    const QImage twice = surface->Render([&] { reloaded.Paint(picture, 1.0f, 0.0f, 0.3f, 0.0f, 1.1f, 0.0f); });
    QCOMPARE(twice, once);
}

void TestPicFlap::paintBeforeLoadDrawsNothing()
{
    PicFlap unloaded;
    const QImage drawn = surface->Render([&] { unloaded.Paint(picture, 1.0f, 0.0f, 0.0f, 0.0f, 1.1f, 0.0f); });
    QImage black(kWidth, kHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    QCOMPARE(drawn, black);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

void TestPicFlap::pictureFillsTheViewport()
{
    QVector<uchar> rgba(kWidth * kHeight * 4);
    const QImage drawn = surface->Render([&] {
        // A transparent background shows whether the flap writes alpha 1.
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        flap->Paint(picture, 1.0f, 0.0f, 0.0f, 0.0f, 1.1f, 0.0f);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    });

    const int pixelsPerColumn = kWidth / kPictureWidth;
    const int pixelsPerRow = kHeight / kPictureHeight;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const QRgb expected = TexelColour(x / pixelsPerColumn, y / pixelsPerRow);
            const QRgb got = drawn.pixel(x, y);
            QVERIFY2(ColourDistance(got, expected) <= kQuantisationTolerance, qPrintable(Describe(x, y, got, expected)));
        }
    }
    for (int pixel = 0; pixel < kWidth * kHeight; ++pixel)
        QCOMPARE(int(rgba[pixel * 4 + 3]), 255);
}

void TestPicFlap::pictureFollowsScaleAndAngle_data()
{
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("angle");
    QTest::newRow("unit, straight") << 1.0f << 0.0f;
    QTest::newRow("unit, quarter turn") << 1.0f << 90.0f;
    QTest::newRow("unit, clockwise quarter") << 1.0f << -90.0f;
    QTest::newRow("unit, eighth turn") << 1.0f << 45.0f;
    QTest::newRow("shrunk, turned") << 0.6f << 200.0f;
    QTest::newRow("pulse low, turned") << 1.42f << 30.0f;
    QTest::newRow("pulse high, turned") << 1.75f << -137.5f;
}

void TestPicFlap::pictureFollowsScaleAndAngle()
{
    QFETCH(float, scale);
    QFETCH(float, angle);
    const QImage drawn = Draw(scale, angle, 0.0f, 0.0f, 1.1f, 0.0f);

    // A corner v is drawn at scale * Rz(angle) * v, counter-clockwise with y
    // up: each pixel centre shows the picture at its pre-image.
    const double radians = angle * M_PI / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    // Pixel centres closer than this (in units of the picture) to a texel
    // boundary or to the square's edge may fall either way.
    const double undecided = 0.004;
    int compared = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double px = ClipX(x, kWidth) / scale;
            const double py = ClipY(y, kHeight) / scale;
            const double u = (c * px + s * py + 1.0) / 2.0;
            const double v = (-s * px + c * py + 1.0) / 2.0;
            if (DistanceToGrid(u, kPictureWidth) < undecided || DistanceToGrid(v, kPictureHeight) < undecided)
                continue;
            const bool inside = u > 0.0 && u < 1.0 && v > 0.0 && v < 1.0;
            const QRgb expected = inside ? PictureAt(u, v) : qRgb(0, 0, 0);
            const QRgb got = drawn.pixel(x, y);
            QVERIFY2(ColourDistance(got, expected) <= kQuantisationTolerance, qPrintable(Describe(x, y, got, expected)));
            ++compared;
        }
    }
    QVERIFY(compared > kWidth * kHeight * 3 / 4);
}

void TestPicFlap::pulsedSquareCoversTheViewport_data()
{
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("angle");
    const float scales[] = {1.42f, 1.75f};
    // The show turns the flap by its clock in milliseconds times 290, 280 or -200.
    const float angles[] = {0.0f, 30.0f, 45.0f, 135.0f, 225.0f, 315.0f, 290.0f * 151234.0f, -200.0f * 3001.0f};
    for (float scale : scales) {
        for (float angle : angles)
            QTest::addRow("scale %g, angle %g", double(scale), double(angle)) << scale << angle;
    }
}

void TestPicFlap::pulsedSquareCoversTheViewport()
{
    QFETCH(float, scale);
    QFETCH(float, angle);
    const QImage drawn = Draw(scale, angle, 0.0f, 0.0f, 1.1f, 0.0f);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            QVERIFY2(!IsBlack(drawn.pixel(x, y)), qPrintable(QString::fromLatin1("pixel (%1, %2) uncovered").arg(x).arg(y)));
    }
}

void TestPicFlap::unitSquareTurnedHalfwayLeavesTheCorners()
{
    const QImage drawn = Draw(1.0f, 45.0f, 0.0f, 0.0f, 1.1f, 0.0f);
    QVERIFY(IsBlack(drawn.pixel(0, 0)));
    QVERIFY(IsBlack(drawn.pixel(kWidth - 1, 0)));
    QVERIFY(IsBlack(drawn.pixel(0, kHeight - 1)));
    QVERIFY(IsBlack(drawn.pixel(kWidth - 1, kHeight - 1)));
    QVERIFY(!IsBlack(drawn.pixel(kWidth / 2, kHeight / 2)));
}

void TestPicFlap::noiseFollowsTheSine_data()
{
    QTest::addColumn<float>("noiseMix");
    QTest::addColumn<float>("phase");
    QTest::newRow("noise alone, waiting phase") << 1.0f << 1.1f;
    QTest::newRow("noise alone, phase 0") << 1.0f << 0.0f;
    QTest::newRow("noise alone, phase 2.5") << 1.0f << 2.5f;
    QTest::newRow("noise alone, phase -0.7") << 1.0f << -0.7f;
    QTest::newRow("first scene's mix") << 0.3f << 0.4f;
    QTest::newRow("half mix") << 0.5f << 3.0f;
}

void TestPicFlap::noiseFollowsTheSine()
{
    QFETCH(float, noiseMix);
    QFETCH(float, phase);
    const QImage drawn = Draw(1.0f, 0.0f, noiseMix, 0.0f, phase, 0.0f);

    // The argument grows as s * t times millions: only near the left and
    // bottom edges is it small enough for float to compute the sine the
    // formula describes; further in, the pattern is noise in every sense.
    const double frequency = (kFrequencyBase + kFrequencyS * noiseMix) * (kFrequencyT * noiseMix);
    int sampled = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double s = (ClipX(x, kWidth) + 1.0) / 2.0;
            const double t = (ClipY(y, kHeight) + 1.0) / 2.0;
            if (frequency * s * t > kPreciseArgument)
                continue;
            const QRgb expected = ShadedColour(s, t, noiseMix, phase);
            const QRgb got = drawn.pixel(x, y);
            QVERIFY2(ColourDistance(got, expected) <= kNoiseTolerance, qPrintable(Describe(x, y, got, expected)));
            ++sampled;
        }
    }
    QVERIFY2(sampled >= 10, qPrintable(QString::number(sampled)));
}

void TestPicFlap::edgesCarryThePhaseAlone_data()
{
    QTest::addColumn<float>("noiseMix");
    QTest::addColumn<float>("phase");
    // Phases with a positive sine: an undrawn (black) pixel cannot pass.
    QTest::newRow("noise alone, phase 0.4") << 1.0f << 0.4f;
    QTest::newRow("noise alone, waiting phase") << 1.0f << 1.1f;
    QTest::newRow("noise alone, phase pi/2") << 1.0f << 1.5707964f;
    QTest::newRow("noise alone, phase 2.6") << 1.0f << 2.6f;
    QTest::newRow("first scene's mix") << 0.3f << 1.1f;
    QTest::newRow("half mix, phase 2") << 0.5f << 2.0f;
}

void TestPicFlap::edgesCarryThePhaseAlone()
{
    QFETCH(float, noiseMix);
    QFETCH(float, phase);
    // In a 32 x 32 viewport a square of half-width 31/32 has its left edge
    // exactly on the centres of pixel column 0 and its bottom edge on those
    // of pixel row 0, all exact binary fractions: those pixels are drawn
    // (GL fills left and bottom edges) with s = 0 or t = 0 exactly.
    const int side = 32;
    const float scale = 31.0f / 32.0f;
    const QImage drawn = surface->Render([&] {
        glViewport(0, 0, side, side);
        flap->Paint(picture, scale, 0.0f, noiseMix, 0.0f, phase, 0.0f);
    });

    const int bottomRow = kHeight - 1;
    for (int along = 0; along < side - 1; ++along) {
        const double edgeCoordinate = along / 31.0;
        const QRgb expectedLeft = ShadedColour(0.0, edgeCoordinate, noiseMix, phase);
        const QRgb left = drawn.pixel(0, bottomRow - along);
        QVERIFY2(ColourDistance(left, expectedLeft) <= kNoiseTolerance,
                 qPrintable(Describe(0, bottomRow - along, left, expectedLeft)));
        const QRgb expectedBottom = ShadedColour(edgeCoordinate, 0.0, noiseMix, phase);
        const QRgb bottom = drawn.pixel(along, bottomRow);
        QVERIFY2(ColourDistance(bottom, expectedBottom) <= kNoiseTolerance,
                 qPrintable(Describe(along, bottomRow, bottom, expectedBottom)));
    }
}

void TestPicFlap::passedThroughComponentsChangeNothing_data()
{
    QTest::addColumn<float>("dataW");
    QTest::addColumn<float>("dataZ");
    QTest::newRow("channel flag set") << 1.0f << 0.0f;
    QTest::newRow("late show clock") << 0.0f << 154999.0f;
    QTest::newRow("both") << 1.0f << 61234.5f;
    QTest::newRow("negative") << -3.0f << -1e6f;
}

void TestPicFlap::passedThroughComponentsChangeNothing()
{
    QFETCH(float, dataW);
    QFETCH(float, dataZ);
    const QImage plain = Draw(1.5f, 33.0f, 0.3f, 0.0f, 1.1f, 0.0f);
    const QImage passed = Draw(1.5f, 33.0f, 0.3f, dataW, 1.1f, dataZ);
    QCOMPARE(passed, plain);
}

void TestPicFlap::droppedNormalLocationDrawsCorrectly()
{
    // The vertex shader declares "normal" without reading it; a linker that
    // drops it reports -1, and every call for that location must do nothing.
    if (flap->NormalAttr() != -1)
        QSKIP("this GL keeps the unused attribute \"normal\"");
    const QImage drawn = Draw(1.0f, 0.0f, 0.0f, 0.0f, 1.1f, 0.0f);
    for (int y = 0; y < kHeight; y += kHeight / kPictureHeight) {
        for (int x = 0; x < kWidth; x += kWidth / kPictureWidth) {
            const QRgb expected = TexelColour(x * kPictureWidth / kWidth, y * kPictureHeight / kHeight);
            QVERIFY(ColourDistance(drawn.pixel(x, y), expected) <= kQuantisationTolerance);
        }
    }
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

void TestPicFlap::paintRestoresTheGlState_data()
{
    QTest::addColumn<bool>("depthTest");
    QTest::addColumn<bool>("blend");
    QTest::addColumn<bool>("cullFace");
    QTest::newRow("all off") << false << false << false;
    QTest::newRow("all on") << true << true << true;
    QTest::newRow("depth only") << true << false << false;
    QTest::newRow("blend and cull") << false << true << true;
}

void TestPicFlap::paintRestoresTheGlState()
{
    QFETCH(bool, depthTest);
    QFETCH(bool, blend);
    QFETCH(bool, cullFace);
    surface->Render([&] {
        QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
        const auto set = [](GLenum capability, bool on) { on ? glEnable(capability) : glDisable(capability); };
        set(GL_DEPTH_TEST, depthTest);
        set(GL_BLEND, blend);
        set(GL_CULL_FACE, cullFace);
        gl->glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        GLint viewportBefore[4];
        glGetIntegerv(GL_VIEWPORT, viewportBefore);
        while (glGetError() != GL_NO_ERROR) {
        }

        flap->Paint(picture, 1.42f, 12.0f, 0.3f, 1.0f, 1.1f, 500.0f);

        QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
        GLint value = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &value);
        QCOMPARE(value, 0);
        QCOMPARE(bool(glIsEnabled(GL_DEPTH_TEST)), depthTest);
        QCOMPARE(bool(glIsEnabled(GL_BLEND)), blend);
        QCOMPARE(bool(glIsEnabled(GL_CULL_FACE)), cullFace);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        QCOMPARE(GLuint(value), picture);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
        QCOMPARE(value, GLint(GL_TEXTURE0));
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &value);
        QCOMPARE(value, 0);
        GLint viewportAfter[4];
        glGetIntegerv(GL_VIEWPORT, viewportAfter);
        QVERIFY(std::equal(viewportBefore, viewportBefore + 4, viewportAfter));
        GLint attributeCount = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributeCount);
        for (GLuint attribute = 0; attribute < GLuint(attributeCount); ++attribute) {
            gl->glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
            QVERIFY2(value == GL_FALSE, qPrintable(QString::fromLatin1("attribute array %1 left enabled").arg(attribute)));
        }
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
    });
}

QTEST_MAIN(TestPicFlap)
#include "tst_gl_picflap.moc"
