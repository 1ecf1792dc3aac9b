#include "audio/radio.h"
#include "platform/sensors/scripted/scriptedattitude.h"
#include "platform/standins.h"
#include "scenes/wavescene.h"
#include "sensing/camera.h"
#include "show/demowidget.h"
#include "support/coutcapture.h"
#include "support/glsurface.h"
#include "support/recordingtuners.h"
#include "support/showundertest.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>

int qInitResources_texture();

namespace {

const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

}

class GlHostileTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void wildRotationKeepsTheCameraInItsLimits_data();
    void wildRotationKeepsTheCameraInItsLimits();

    void tunerReportsReachTheFrame_data();
    void tunerReportsReachTheFrame();
    void aFloodOfReportsBetweenTwoFramesChangesNothingDrawn();

    void picturesThatAreNoPictures_data();
    void picturesThatAreNoPictures();

    void shaderFilesThatAreNoShaders_data();
    void shaderFilesThatAreNoShaders();

private:
    RecordingTuners tuners;
    QTemporaryDir folder;
};

void GlHostileTest::initTestCase()
{
    qInitResources_texture();
    InstallStandIns();
    ScriptedAttitude::Install();
}

void GlHostileTest::wildRotationKeepsTheCameraInItsLimits_data()
{
    QTest::addColumn<QVector3D>("rotation");
    QTest::addColumn<bool>("running");
    const QVector3D readings[] = {
        QVector3D(notANumber, notANumber, notANumber),         QVector3D(infinity, -infinity, 0.0f),
        QVector3D(-infinity, infinity, notANumber), QVector3D(1e30f, -1e30f, 1e30f),
        QVector3D(-1e30f, 1e30f, 0.0f),   QVector3D(725.0f, -900.0f, 3600.0f),
        QVector3D(-1000.0f, 181.0f, -540.0f),
    };
    const char* const names[] = { "NaN", "+inf/-inf", "-inf/+inf", "1e30/-1e30", "-1e30/1e30",
                                  "725/-900", "-1000/181" };
    for (int reading = 0; reading < 7; ++reading) {
        QTest::newRow(qPrintable(QString("%1, waiting").arg(names[reading]))) << readings[reading] << false;
        QTest::newRow(qPrintable(QString("%1, running").arg(names[reading]))) << readings[reading] << true;
    }
}

// Whatever the rotation sensor reports, every frame is drawn, the camera stays
// finite inside the show's limits, and the picture is the one a level device
// gets: the flap does not follow the camera.
void GlHostileTest::wildRotationKeepsTheCameraInItsLimits()
{
    QFETCH(QVector3D, rotation);
    QFETCH(bool, running);

    CoutCapture output;
    ScriptedAttitude::SetAcceleration(QVector3D(0.0f, 9.8f, 0.0f));
    ScriptedAttitude::SetRotation(QVector3D(0.0f, 0.0f, 0.0f));
    QImage level;
    {
        ShowUnderTest twin;
        if (running)
            twin.widget->SetReady(1, false);
        twin.Frames(40, 20);
        level = twin.Picture();
    }
    QVERIFY2(DistinctColours(level) > 100, "the level device's frame shows no picture");

    ScriptedAttitude::SetRotation(rotation);
    ShowUnderTest show;
    if (running)
        show.widget->SetReady(1, false);
    const Camera& camera = *show.widget->ViewCamera();
    const int framesBefore = show.widget->FrameCount();
    for (int frame = 1; frame <= 40; ++frame) {
        show.Frames(1, 20);
        QCOMPARE(show.widget->FrameCount(), framesBefore + frame);
        QVERIFY2(std::isfinite(camera.Pitch()) && std::isfinite(camera.Roll())
                     && std::isfinite(camera.PitchSpeed()) && std::isfinite(camera.RollSpeed()),
                 qPrintable(QString("frame %1").arg(frame)));
        QVERIFY2(camera.Pitch() >= -60.0f && camera.Pitch() <= 8.0f, qPrintable(QString::number(camera.Pitch())));
        QVERIFY2(camera.Roll() >= -22.0f && camera.Roll() <= 22.0f, qPrintable(QString::number(camera.Roll())));
    }
    QCOMPARE(show.Picture(), level);
}

void GlHostileTest::tunerReportsReachTheFrame_data()
{
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("noise");
    // Scene 1 plays channel 2, which adds nothing before halving.
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("101") << 101 << 50;
    QTest::newRow("INT_MIN") << INT_MIN << -1073741824;
    QTest::newRow("INT_MAX") << INT_MAX << 1073741823;
}

// Out-of-range reports are used as they come, unclamped, and the frames that
// use them are drawn.
void GlHostileTest::tunerReportsReachTheFrame()
{
    QFETCH(int, strength);
    QFETCH(int, noise);
    tuners.controls.clear();
    CoutCapture output;
    ShowUnderTest show;
    show.widget->SetReady(1, true);
    for (int tick = 0; tick <= 60; ++tick)
        show.widget->Service();
    QCOMPARE(show.widget->SceneIndex(), 1);
    QCOMPARE(tuners.controls.size(), 1);

    tuners.controls.first()->ReportStrength(strength);
    QCOMPARE(show.widget->RadioDevice()->GetNoise(), noise);
    const int framesBefore = show.widget->FrameCount();
    show.Frames(4, 10);
    QCOMPARE(show.widget->FrameCount(), framesBefore + 4);
}

// Ten thousand reports between two frames on a stopped clock: the next frame
// is the very frame the last report alone gives.
void GlHostileTest::aFloodOfReportsBetweenTwoFramesChangesNothingDrawn()
{
    tuners.controls.clear();
    CoutCapture output;
    ShowUnderTest show;
    show.widget->SetReady(1, true);
    for (int tick = 0; tick <= 60; ++tick)
        show.widget->Service();
    QCOMPARE(tuners.controls.size(), 1);
    RecordingTunerControl& control = *tuners.controls.first();

    show.Frames(2, 10);
    control.ReportStrength(64);
    show.Frames(1, 0);
    const int framesBefore = show.widget->FrameCount();
    const QImage single = show.Picture();
    QVERIFY(DistinctColours(single) > 100);

    const int extremes[] = { INT_MIN, -1, 101, INT_MAX, 0 };
    for (int report = 0; report < 10000; ++report)
        control.ReportStrength(extremes[report % 5]);
    control.ReportStrength(64);
    QCOMPARE(show.widget->RadioDevice()->GetNoise(), 32);
    show.Frames(2, 0);
    QCOMPARE(show.widget->FrameCount(), framesBefore + 2);
    QCOMPARE(show.Picture(), single);
}

void GlHostileTest::picturesThatAreNoPictures_data()
{
    QTest::addColumn<QString>("path");
    QFile real(":/bkg1a.png");
    QVERIFY(real.open(QIODevice::ReadOnly));
    const QByteArray png = real.readAll();

    // A PNG header announcing 60000 x 60000 pixels, and nothing behind it.
    QByteArray giant = png.left(33);
    giant[16] = 0; giant[17] = 0; giant[18] = char(0xea); giant[19] = 0x60;
    giant[20] = 0; giant[21] = 0; giant[22] = char(0xea); giant[23] = 0x60;

    const QString truncated = folder.filePath("truncated.png");
    const QString empty = folder.filePath("empty.png");
    const QString noise = folder.filePath("noise.png");
    const QString announcing = folder.filePath("giant.png");
    QVERIFY(WriteFile(truncated, png.left(png.size() / 3)));
    QVERIFY(WriteFile(empty, QByteArray()));
    QVERIFY(WriteFile(noise, QByteArray(50 * 1024 * 1024, 'P')));
    QVERIFY(WriteFile(announcing, giant));

    QTest::newRow("missing") << folder.filePath("absent.png");
    QTest::newRow("empty") << empty;
    QTest::newRow("directory") << folder.path();
    QTest::newRow("50 MB of no picture") << noise;
    QTest::newRow("header of a giant, no pixels") << announcing;
    QTest::newRow("first third of a picture") << truncated;
}

// A picture that cannot be had uploads as texture 0, and the show goes on.
void GlHostileTest::picturesThatAreNoPictures()
{
    QFETCH(QString, path);
    CoutCapture output;
    ShowUnderTest show;
    show.widget->makeCurrent();
    const GLuint texture = UploadPicture(*show.widget, path);
    if (path.endsWith("truncated.png")) {
        // Qt keeps the rows it could decode: a texture of the full size, partly black.
        QVERIFY(texture == 0 || glIsTexture(texture));
    } else {
        QCOMPARE(texture, GLuint(0));
    }
    const int framesBefore = show.widget->FrameCount();
    show.Frames(2, 10);
    QCOMPARE(show.widget->FrameCount(), framesBefore + 2);
}

void GlHostileTest::shaderFilesThatAreNoShaders_data()
{
    QTest::addColumn<QString>("vertexPath");
    QTest::addColumn<QString>("fragmentPath");
    QTest::addColumn<QString>("expectedLine");

    const QString empty = folder.filePath("empty.glsl");
    QVERIFY(WriteFile(empty, QByteArray()));
    // 50 MB of one word per line: far past what the loader reads, so it
    // gives what a missing file gives.
    const QByteArray word = "varying_nonsense_0123456789";
    const int words = 50 * 1024 * 1024 / (word.size() + 1);
    QByteArray huge;
    huge.reserve(words * (word.size() + 1));
    for (int line = 0; line < words; ++line)
        huge += word + '\n';
    const QString hugePath = folder.filePath("huge.glsl");
    QVERIFY(WriteFile(hugePath, huge));
    const QString shippedVertexShader = QFINDTESTDATA("../scenes/shaders/wave_shader.vs");
    QVERIFY(!shippedVertexShader.isEmpty());

    QTest::newRow("empty vertex shader") << empty << empty << QString("vs:  \n");
    QTest::newRow("missing vertex shader") << folder.filePath("absent.vs") << empty << QString("vs: \n");
    // A directory opens, and its first read fails: the space of that read is all.
    QTest::newRow("vertex shader is a directory") << folder.path() << empty << QString("vs:  \n");
    QTest::newRow("huge vertex shader")
        << hugePath << empty << QString("vs: \n");
    QTest::newRow("fragment shader is a directory")
        << shippedVertexShader << folder.path() << QString("fs:  \n");
    QTest::newRow("huge fragment shader")
        << shippedVertexShader << hugePath << QString("fs: \n");
}

void GlHostileTest::shaderFilesThatAreNoShaders()
{
    QFETCH(QString, vertexPath);
    QFETCH(QString, fragmentPath);
    QFETCH(QString, expectedLine);
    GlSurface surface(64, 64);
    WaveScene scene;
    CoutCapture output;
    QVERIFY(!scene.HeavyLoad(vertexPath.toStdString(), fragmentPath.toStdString()));
    QVERIFY(output.Text() == expectedLine.toStdString());

    QMatrix4x4 matrix;
    const QImage drawn = surface.Render([&] { scene.Paint(matrix, 0.0f); });
    QCOMPARE(DistinctColours(drawn), 1);
    QCOMPARE(drawn.pixel(0, 0) & 0xffffff, 0u);
}

QTEST_MAIN(GlHostileTest)
#include "tst_gl_hostile.moc"
