#include "sensing/camera.h"
#include "sensing/sensorarray.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const float frameStep = 0.02f; // the show feeds the camera on every second 10 ms frame

void Step(Camera& camera, const QVector3D& rotation, int steps, float dt = frameStep)
{
    SensorArray sensors;
    sensors.rotation = rotation;
    for (int step = 0; step < steps; ++step)
        camera.UpdateFromReadings(sensors, dt);
}

Camera ShowCamera()
{
    Camera camera;
    camera.SetLimits(-60, 8, -22, 22);
    return camera;
}

bool Finite(const Camera& camera)
{
    return std::isfinite(camera.Pitch()) && std::isfinite(camera.Roll())
        && std::isfinite(camera.PitchSpeed()) && std::isfinite(camera.RollSpeed());
}

bool WithinShowLimits(const Camera& camera)
{
    return camera.Pitch() >= -60 && camera.Pitch() <= 8 && camera.Roll() >= -22
        && camera.Roll() <= 22;
}

// The matrices of the camera transform, written out from their definitions
// rather than through QMatrix4x4's builders.
QMatrix4x4 Perspective(double fovDegrees, double aspect, double nearPlane, double farPlane)
{
    const double f = 1.0 / std::tan(fovDegrees * M_PI / 360.0);
    const double depth = nearPlane - farPlane;
    return QMatrix4x4(float(f / aspect), 0, 0, 0,
                      0, float(f), 0, 0,
                      0, 0, float((farPlane + nearPlane) / depth), float(2 * farPlane * nearPlane / depth),
                      0, 0, -1, 0);
}

QMatrix4x4 LookAt(const QVector3D& eye, const QVector3D& center, const QVector3D& up)
{
    const QVector3D forward = (center - eye).normalized();
    const QVector3D side = QVector3D::crossProduct(forward, up).normalized();
    const QVector3D upward = QVector3D::crossProduct(side, forward);
    return QMatrix4x4(side.x(), side.y(), side.z(), -QVector3D::dotProduct(side, eye),
                      upward.x(), upward.y(), upward.z(), -QVector3D::dotProduct(upward, eye),
                      -forward.x(), -forward.y(), -forward.z(), QVector3D::dotProduct(forward, eye),
                      0, 0, 0, 1);
}

QMatrix4x4 AboutX(double degrees)
{
    const float c = float(std::cos(degrees * M_PI / 180.0));
    const float s = float(std::sin(degrees * M_PI / 180.0));
    return QMatrix4x4(1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1);
}

QMatrix4x4 AboutZ(double degrees)
{
    const float c = float(std::cos(degrees * M_PI / 180.0));
    const float s = float(std::sin(degrees * M_PI / 180.0));
    return QMatrix4x4(c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

QMatrix4x4 Shift(float x, float y, float z)
{
    return QMatrix4x4(1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1);
}

void CompareMatrices(const QMatrix4x4& actual, const QMatrix4x4& expected)
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const float tolerance = 1e-5f * std::max(1.0f, std::fabs(expected(row, column)));
            if (std::fabs(actual(row, column) - expected(row, column)) > tolerance)
                QFAIL(qPrintable(QStringLiteral("element (%1, %2): %3, expected %4")
                                     .arg(row).arg(column)
                                     .arg(double(actual(row, column)), 0, 'g', 9)
                                     .arg(double(expected(row, column)), 0, 'g', 9)));
        }
    }
}

} // namespace

class CameraTest : public QObject
{
    Q_OBJECT
private slots:
    void pitchRestsOnLowerLimitWithoutSensors();
    void endState_data();
    void endState();
    void zeroStepOnlyDampsSpeeds();
    void applyAtRest();
    void applyTurned();
    void hostileReading_data();
    void hostileReading();
    void nonFiniteStepKeepsState_data();
    void nonFiniteStepKeepsState();
};

void CameraTest::pitchRestsOnLowerLimitWithoutSensors()
{
    Camera camera = ShowCamera();
    SensorArray sensors;
    bool reachedLimit = false;
    for (int step = 0; step < 1000; ++step) {
        const float speed = camera.PitchSpeed();
        // Target -90: the spring pulls toward it with stiffness 10, damping 0.9.
        const float pushedSpeed = (speed + (-90.0f - camera.Pitch()) * 10.0f * frameStep) * 0.9f;
        const bool crosses = camera.Pitch() + frameStep * pushedSpeed < -60.0f;
        camera.UpdateFromReadings(sensors, frameStep);
        QVERIFY(camera.Pitch() >= -60.0f);
        QCOMPARE(camera.Roll(), 0.0f);
        QCOMPARE(camera.RollSpeed(), 0.0f);
        if (crosses) {
            reachedLimit = true;
            QCOMPARE(camera.Pitch(), -60.0f);
            QCOMPARE(camera.PitchSpeed(), -pushedSpeed);
        }
        if (reachedLimit && step > 500)
            QCOMPARE(camera.Pitch(), -60.0f);
    }
    QVERIFY(reachedLimit);
}

void CameraTest::endState_data()
{
    QTest::addColumn<bool>("showLimits");
    QTest::addColumn<QVector3D>("rotation");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("roll");

    QTest::newRow("held at 60 and 10") << true << QVector3D(60, 10, 33) << -30.0f << 10.0f;
    QTest::newRow("upside down past +90") << true << QVector3D(30, 120, -70) << 8.0f << 22.0f;
    QTest::newRow("upside down past -90") << true << QVector3D(60, -120, 0) << 8.0f << -22.0f;
    QTest::newRow("exactly +90 is not mirrored") << true << QVector3D(60, 90, 0) << -30.0f << 22.0f;
    QTest::newRow("exactly -90 is not mirrored") << true << QVector3D(60, -90, 0) << -30.0f << -22.0f;
    QTest::newRow("limits never set") << false << QVector3D(-1000, 1000, 0) << 360.0f << -360.0f;
    QTest::newRow("limits never set, inside") << false << QVector3D(20, -50, 0) << -70.0f << -50.0f;
}

void CameraTest::endState()
{
    QFETCH(bool, showLimits);
    QFETCH(QVector3D, rotation);
    QFETCH(float, pitch);
    QFETCH(float, roll);
    Camera camera;
    if (showLimits)
        camera.SetLimits(-60, 8, -22, 22);
    const float pitchBound = showLimits ? 60.0f : 360.0f;
    const float rollBound = showLimits ? 22.0f : 360.0f;

    SensorArray sensors;
    sensors.rotation = rotation;
    for (int step = 0; step < 3000; ++step) {
        camera.UpdateFromReadings(sensors, frameStep);
        QVERIFY(camera.Pitch() >= -pitchBound && camera.Pitch() <= (showLimits ? 8.0f : 360.0f));
        QVERIFY(std::fabs(camera.Roll()) <= rollBound);
    }
    QVERIFY2(std::fabs(camera.Pitch() - pitch) < 1e-3f, qPrintable(QString::number(camera.Pitch())));
    QVERIFY2(std::fabs(camera.Roll() - roll) < 1e-3f, qPrintable(QString::number(camera.Roll())));
}

void CameraTest::zeroStepOnlyDampsSpeeds()
{
    Camera camera = ShowCamera();
    Step(camera, QVector3D(60, 10, 0), 7);
    QVERIFY(camera.PitchSpeed() != 0.0f);
    QVERIFY(camera.RollSpeed() != 0.0f);
    for (int step = 0; step < 3; ++step) {
        const float pitch = camera.Pitch();
        const float roll = camera.Roll();
        const float pitchSpeed = camera.PitchSpeed();
        const float rollSpeed = camera.RollSpeed();
        Step(camera, QVector3D(60, 10, 0), 1, 0.0f);
        QCOMPARE(camera.Pitch(), pitch);
        QCOMPARE(camera.Roll(), roll);
        QCOMPARE(camera.PitchSpeed(), pitchSpeed * 0.9f);
        QCOMPARE(camera.RollSpeed(), rollSpeed * 0.9f);
    }
}

void CameraTest::applyAtRest()
{
    const Camera camera;
    QMatrix4x4 matrix;
    camera.Apply(matrix);
    CompareMatrices(matrix, Perspective(62, 1.67, 0.02, 40)
                                * LookAt(QVector3D(0, 2, -7), QVector3D(0, 0, 0), QVector3D(0, 1, 0))
                                * Shift(0, -0.2f, 0));
}

void CameraTest::applyTurned()
{
    Camera camera = ShowCamera();
    Step(camera, QVector3D(60, 10, 0), 3000);
    QVERIFY(camera.Pitch() != 0.0f && camera.Roll() != 0.0f);

    // The camera multiplies onto what it is given rather than replacing it.
    const QMatrix4x4 given = Shift(1.0f, 2.0f, -3.0f) * AboutZ(40);
    QMatrix4x4 matrix = given;
    camera.Apply(matrix);
    CompareMatrices(matrix, given * Perspective(62, 1.67, 0.02, 40)
                                * LookAt(QVector3D(0, 2, -7), QVector3D(0, 0, 0), QVector3D(0, 1, 0))
                                * AboutX(camera.Pitch()) * AboutZ(camera.Roll())
                                * Shift(0, -0.2f, 0));
}

void CameraTest::hostileReading_data()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::addColumn<QVector3D>("rotation");

    QTest::newRow("NaN about x") << QVector3D(nan, 10, 0);
    QTest::newRow("NaN about y") << QVector3D(60, nan, 0);
    QTest::newRow("NaN everywhere") << QVector3D(nan, nan, nan);
    QTest::newRow("+inf about x") << QVector3D(inf, 10, 0);
    QTest::newRow("-inf about x") << QVector3D(-inf, 10, 0);
    QTest::newRow("+inf about y") << QVector3D(60, inf, 0);
    QTest::newRow("-inf about y") << QVector3D(60, -inf, 0);
    QTest::newRow("1e30 about both") << QVector3D(1e30f, 1e30f, 0);
    QTest::newRow("-1e30 about both") << QVector3D(-1e30f, -1e30f, 0);
    QTest::newRow("largest float") << QVector3D(3.4e38f, -3.4e38f, 0);
    QTest::newRow("1e4 degrees") << QVector3D(1e4f, 1e4f, 0);
    QTest::newRow("-1e4 degrees") << QVector3D(-1e4f, -1e4f, 0);
}

void CameraTest::hostileReading()
{
    QFETCH(QVector3D, rotation);
    Camera camera = ShowCamera();
    Step(camera, QVector3D(45, -5, 0), 100);

    SensorArray sensors;
    sensors.rotation = rotation;
    for (int step = 0; step < 200; ++step) {
        camera.UpdateFromReadings(sensors, frameStep);
        QVERIFY(Finite(camera));
        QVERIFY(WithinShowLimits(camera));
    }

    Step(camera, QVector3D(60, 10, 0), 3000);
    QVERIFY(Finite(camera));
    QVERIFY2(std::fabs(camera.Pitch() + 30.0f) < 1e-3f, qPrintable(QString::number(camera.Pitch())));
    QVERIFY2(std::fabs(camera.Roll() - 10.0f) < 1e-3f, qPrintable(QString::number(camera.Roll())));
}

void CameraTest::nonFiniteStepKeepsState_data()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::addColumn<QVector3D>("rotation");
    QTest::addColumn<float>("dt");

    QTest::newRow("NaN reading") << QVector3D(nan, 10, 0) << frameStep;
    QTest::newRow("infinite reading") << QVector3D(60, -inf, 0) << frameStep;
    QTest::newRow("NaN step") << QVector3D(60, 10, 0) << nan;
    QTest::newRow("infinite step") << QVector3D(60, 10, 0) << inf;
}

void CameraTest::nonFiniteStepKeepsState()
{
    QFETCH(QVector3D, rotation);
    QFETCH(float, dt);
    Camera camera = ShowCamera();
    Step(camera, QVector3D(45, -5, 0), 10);
    const float pitch = camera.Pitch();
    const float roll = camera.Roll();
    const float pitchSpeed = camera.PitchSpeed();
    const float rollSpeed = camera.RollSpeed();

    Step(camera, rotation, 1, dt);
    QCOMPARE(camera.Pitch(), pitch);
    QCOMPARE(camera.Roll(), roll);
    QCOMPARE(camera.PitchSpeed(), pitchSpeed);
    QCOMPARE(camera.RollSpeed(), rollSpeed);
}

QTEST_GUILESS_MAIN(CameraTest)
#include "tst_camera.moc"
