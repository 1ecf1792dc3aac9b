#include "gl/shaderloader.h"
#include "scenes/linescene.h"
#include "scenes/picflap.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Every shader source the show compiles must be OpenGL ES 2.0 (GLSL ES 1.00),
// whatever the desktop GL that runs the other tests accepts.
//
// glslangValidator validates a source without #version as ES 100 (its -d
// option would switch that default to desktop 110), so the sources go to it
// unchanged. A source with its own #version is validated as that version;
// the intermediate tree printed by -i names the version actually used, and
// only 100 is ES 2.0.
class TestGlslEs : public QObject
{
    Q_OBJECT

private slots:
    void isGlslEs100_data();
    void isGlslEs100();
};

namespace {

const char* const kDesktopTextureLookup =
    "varying highp vec4 texc;\n"
    "uniform sampler2D tex;\n"
    "void main(void)\n"
    "{\n"
    "  gl_FragColor = texture(tex, texc.st);\n"
    "}\n";

const char* const kFragmentFloatWithoutPrecision =
    "varying highp vec4 texc;\n"
    "void main(void)\n"
    "{\n"
    "  float level = texc.s;\n"
    "  gl_FragColor = vec4(level);\n"
    "}\n";

const char* const kDesktopVersion130 =
    "#version 130\n"
    "in vec4 vertex;\n"
    "void main(void)\n"
    "{\n"
    "  gl_Position = vertex;\n"
    "}\n";

const char* const kEs300 =
    "#version 300 es\n"
    "in highp vec4 vertex;\n"
    "void main(void)\n"
    "{\n"
    "  gl_Position = vertex;\n"
    "}\n";

} // namespace

void TestGlslEs::isGlslEs100_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("valid");

    // One row per shader source of the show.
    QTest::newRow("PicFlap vertex") << "vert" << QByteArray(PicFlap::VertexShaderSource()) << true;
    QTest::newRow("PicFlap fragment") << "frag" << QByteArray(PicFlap::FragmentShaderSource()) << true;
    QTest::newRow("LineScene vertex") << "vert" << QByteArray(LineScene::VertexShaderSource()) << true;
    QTest::newRow("LineScene fragment") << "frag" << QByteArray(LineScene::FragmentShaderSource()) << true;
    // The wave scene's shaders as its loader hands them to the compiler: joined into one line.
    const QString shaders = QFINDTESTDATA("../scenes/shaders");
    QTest::newRow("wave vertex, as loaded") << "vert"
        << QByteArray::fromStdString(shl::load_text((shaders + "/wave_shader.vs").toStdString())) << true;
    QTest::newRow("wave fragment, as loaded") << "frag"
        << QByteArray::fromStdString(shl::load_text((shaders + "/wave_shader.fs").toStdString())) << true;

    // Sources that desktop GL takes but ES 2.0 does not: the check must reject them.
    QTest::newRow("rejects texture()") << "frag" << QByteArray(kDesktopTextureLookup) << false;
    QTest::newRow("rejects fragment float without precision") << "frag" << QByteArray(kFragmentFloatWithoutPrecision) << false;
    QTest::newRow("rejects #version 130") << "vert" << QByteArray(kDesktopVersion130) << false;
    QTest::newRow("rejects #version 300 es") << "vert" << QByteArray(kEs300) << false;
}

void TestGlslEs::isGlslEs100()
{
    QFETCH(QString, stage);
    QFETCH(QByteArray, source);
    QFETCH(bool, valid);

    QVERIFY2(!source.isEmpty(), "empty shader source");

    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    // The validator takes the shader stage from the file name's extension.
    const QString path = directory.filePath(QLatin1String("shader.") + stage);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(source), qint64(source.size()));
    file.close();

    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(QStringLiteral("glslangValidator"), {QStringLiteral("-i"), path});
    QVERIFY2(validator.waitForStarted(), "glslangValidator (package glslang-tools) does not start");
    QVERIFY(validator.waitForFinished());
    const QString output = QString::fromLocal8Bit(validator.readAll());

    const bool compiled = validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0;
    const bool es100 = output.contains(QLatin1String("Shader version: 100\n"));
    if (valid) {
        QVERIFY2(compiled && es100, qPrintable(output));
    } else {
        QVERIFY2(!(compiled && es100), qPrintable(QLatin1String("accepted as GLSL ES 1.00:\n") + output));
    }
}

QTEST_MAIN(TestGlslEs)
#include "tst_glsl_es.moc"
