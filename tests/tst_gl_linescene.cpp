#include "scenes/linescene.h"
#include "support/glsurface.h"

#include <QGLShader>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QtTest>

#include <dlfcn.h>

#include <cmath>
#include <memory>

#ifndef GL_VERTICES_SUBMITTED_ARB
#define GL_VERTICES_SUBMITTED_ARB 0x82EE
#endif
#ifndef GL_PRIMITIVES_GENERATED
#define GL_PRIMITIVES_GENERATED 0x8C87
#endif

namespace {

// Every glDrawArrays the scene issues, as it issued it.
struct DrawCall
{
    GLenum mode;
    GLint first;
    GLsizei count;
};
QVector<DrawCall> drawCalls;

const int side = 201;
// The centre of the square frame buffer is the centre of its middle pixel.
const int middle = side / 2;
const float zoom = 4.0f;
// Model-space depth squeezed so that the whole tangle stays between the clip planes.
const float depthSqueeze = 0.05f;
const QRgb background = qRgb(60, 60, 200);

// The caller's matrix that puts the model point p, turned by the scene's own turn and
// scale, on the middle pixel, magnified.
QMatrix4x4 LookingAt(const QVector3D& point)
{
    QMatrix4x4 matrix;
    matrix.scale(zoom, zoom, depthSqueeze);
    matrix.translate(-point);
    return matrix;
}

// The lit lines' first point (0, 0.12, 1) after Paint scales by 1 + jitter and turns by
// turn x 30 degrees about +Y.
QVector3D TurnedLitStart(float turn, float jitter)
{
    const double angle = turn * 30.0 * M_PI / 180.0;
    const double scale = 1.0 + jitter;
    return QVector3D(scale * std::sin(angle), 0.12 * scale, scale * std::cos(angle));
}

// Window position of a model point drawn through matrix x turn x scale.
QPointF WindowPoint(const QMatrix4x4& view, float turn, float jitter, const QVector4D& vertex)
{
    QMatrix4x4 full = view;
    full.rotate(turn * 30.0f, 0, 1, 0);
    full.scale(1.0f + jitter);
    const QVector3D clip = full.map(vertex.toVector3D());
    return QPointF((clip.x() + 1) * side / 2, (clip.y() + 1) * side / 2);
}

double DistanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    const double t = lengthSquared > 0 ? qBound(0.0, QPointF::dotProduct(p - a, ab) / lengthSquared, 1.0) : 0.0;
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// True when no line but the lit lines leaving the lit start passes within three pixels of
// the middle pixel, so that pixel shows nothing but their colour.
bool LitStartStandsAlone(const QVector<QVector4D>& mesh, const QMatrix4x4& view, float turn, float jitter)
{
    const QPointF centre(middle + 0.5, middle + 0.5);
    const QVector4D litStart(0, 0.12f, 1, 1);
    for (int i = 0; i < mesh.size(); i += 2) {
        if (mesh[i] == litStart)
            continue;
        const QPointF a = WindowPoint(view, turn, jitter, mesh[i]);
        const QPointF b = WindowPoint(view, turn, jitter, mesh[i + 1]);
        if (DistanceToSegment(centre, a, b) < 3.0)
            return false;
    }
    return true;
}

QRgb PixelAt(const QImage& image, int x, int yFromBottom)
{
    return image.pixel(x, image.height() - 1 - yFromBottom);
}

// The GL state a scene must leave as it found it.
QVector<double> StateSnapshot()
{
    QVector<double> state;
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_SCISSOR_TEST, GL_STENCIL_TEST,
                              GL_LINE_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_TEXTURE_2D})
        state << glIsEnabled(capability);
    for (GLenum name : {GL_CURRENT_PROGRAM, GL_ARRAY_BUFFER_BINDING, GL_ELEMENT_ARRAY_BUFFER_BINDING,
                        GL_BLEND_SRC, GL_BLEND_DST, GL_DEPTH_FUNC, GL_ACTIVE_TEXTURE, GL_TEXTURE_BINDING_2D,
                        GL_DRAW_FRAMEBUFFER_BINDING, GL_DEPTH_WRITEMASK, GL_CULL_FACE_MODE, GL_FRONT_FACE}) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        state << value;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLboolean colourMask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    for (int i = 0; i < 4; ++i)
        state << viewport[i] << colourMask[i] << clearColour[i];
    GLfloat lineWidth = 0;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    state << lineWidth;
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    auto* functions = QOpenGLContext::currentContext()->extraFunctions();
    for (int attribute = 0; attribute < attributes; ++attribute) {
        GLint enabled = 0;
        functions->glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        state << enabled;
    }
    return state;
}

} // namespace

extern "C" void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    using DrawArrays = void (*)(GLenum, GLint, GLsizei);
    static const auto forward = reinterpret_cast<DrawArrays>(dlsym(RTLD_NEXT, "glDrawArrays"));
    drawCalls.append({mode, first, count});
    forward(mode, first, count);
}

class GlLineSceneTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void shaderSourcesAreTheScenesOwn();
    void heavyLoadBuildsOneProgram();
    void drawsAllVerticesAsLinesInOneCall_data();
    void drawsAllVerticesAsLinesInOneCall();
    void noPhaseDrawsTheLitLinesBlack();
    void litStartShinesWithFallOffTimesPhase_data();
    void litStartShinesWithFallOffTimesPhase();
    void callersMatrixStaysAsPassed();
    void leavesOtherGlStateAlone();

private:
    std::unique_ptr<GlSurface> surface;
    std::unique_ptr<LineScene> scene;
};

void GlLineSceneTest::initTestCase()
{
    surface = std::make_unique<GlSurface>(side, side);
    const QSurfaceFormat format = QOpenGLContext::currentContext()->format();
    QVERIFY2(format.version() >= qMakePair(3, 0), "counting primitives needs GL 3.0");
    QVERIFY(QOpenGLContext::currentContext()->hasExtension("GL_ARB_pipeline_statistics_query"));
    scene = std::make_unique<LineScene>();
    scene->HeavyLoad();
}

void GlLineSceneTest::cleanupTestCase()
{
    surface->Widget().makeCurrent();
    scene.reset();
    surface.reset();
}

void GlLineSceneTest::shaderSourcesAreTheScenesOwn()
{
    const QStringList vertexLines = {
        "attribute highp vec4 vertex;",
        "uniform mediump mat4 matrix;",
        "uniform mediump vec4 data;",
        "varying mediump vec4 color;",
        "void main(void)",
        "{",
        "    mediump float soft = 1.0 / (length(vertex - vec4(0,0,1,0)) + 1.0);",
        "    color = vertex.a * vec4(soft*data.z,soft*data.z,soft*data.z, 1.0);",
        "    gl_Position = matrix * vec4(vertex.xyz, 1.0);",
        "    gl_PointSize = 5.0 * soft;}",
    };
    const QStringList fragmentLines = {
        "varying mediump vec4 color;",
        "void main(void)",
        "{",
        "    gl_FragColor = color;",
        "}",
    };
    QCOMPARE(QString::fromLatin1(LineScene::VertexShaderSource()), vertexLines.join('\n') + '\n');
    QCOMPARE(QString::fromLatin1(LineScene::FragmentShaderSource()), fragmentLines.join('\n') + '\n');
}

void GlLineSceneTest::heavyLoadBuildsOneProgram()
{
    const QList<QGLShader*> shaders = scene->findChildren<QGLShader*>();
    QCOMPARE(shaders.size(), 2);
    QCOMPARE(shaders[0]->shaderType(), QGLShader::ShaderType(QGLShader::Vertex));
    QCOMPARE(shaders[1]->shaderType(), QGLShader::ShaderType(QGLShader::Fragment));
    QVERIFY(shaders[0]->isCompiled());
    QVERIFY(shaders[1]->isCompiled());
    surface->Render([&] {
        for (int frame = 0; frame < 3; ++frame)
            scene->Paint(QMatrix4x4(), 0.5f, frame, 0.5f, frame + 1);
    });
    QCOMPARE(scene->findChildren<QGLShader*>(), shaders);
}

void GlLineSceneTest::drawsAllVerticesAsLinesInOneCall_data()
{
    QTest::addColumn<float>("spread");
    QTest::addColumn<float>("turn");
    QTest::addColumn<float>("phase");
    QTest::addColumn<uint>("seed");
    QTest::newRow("scene 1") << 0.3f << 6000.0f << 0.4f << 1u;
    QTest::newRow("no spread, no turn") << 0.0f << 0.0f << 1.0f << 2u;
    QTest::newRow("wide, late") << 1.3f << 149000.0f << 0.01f << 24u;
}

void GlLineSceneTest::drawsAllVerticesAsLinesInOneCall()
{
    QFETCH(float, spread);
    QFETCH(float, turn);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    auto* functions = QOpenGLContext::currentContext()->extraFunctions();
    GLuint queries[2];
    functions->glGenQueries(2, queries);
    drawCalls.clear();
    surface->Render([&] {
        functions->glBeginQuery(GL_PRIMITIVES_GENERATED, queries[0]);
        functions->glBeginQuery(GL_VERTICES_SUBMITTED_ARB, queries[1]);
        scene->Paint(QMatrix4x4(), spread, turn, phase, seed);
        functions->glEndQuery(GL_VERTICES_SUBMITTED_ARB);
        functions->glEndQuery(GL_PRIMITIVES_GENERATED);
    });
    GLuint primitives = 0;
    GLuint vertices = 0;
    functions->glGetQueryObjectuiv(queries[0], GL_QUERY_RESULT, &primitives);
    functions->glGetQueryObjectuiv(queries[1], GL_QUERY_RESULT, &vertices);
    functions->glDeleteQueries(2, queries);

    QCOMPARE(drawCalls.size(), 1);
    QCOMPARE(drawCalls[0].mode, GLenum(GL_LINES));
    QCOMPARE(drawCalls[0].first, 0);
    QCOMPARE(drawCalls[0].count, 3720);
    QCOMPARE(vertices, 3720u);
    QCOMPARE(primitives, 1860u);
}

void GlLineSceneTest::noPhaseDrawsTheLitLinesBlack()
{
    const QMatrix4x4 view = LookingAt(TurnedLitStart(0, 0));
    auto drawOverBackground = [&](float phase) {
        return surface->Render([&] {
            glClearColor(qRed(background) / 255.0f, qGreen(background) / 255.0f, qBlue(background) / 255.0f, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            scene->Paint(view, 0.0f, 0.0f, phase, 3u);
        });
    };
    const QImage dark = drawOverBackground(0.0f);
    const QImage lit = drawOverBackground(1.0f);
    int drawn = 0;
    int grey = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QRgb darkPixel = dark.pixel(x, y);
            if (darkPixel != background) {
                ++drawn;
                QCOMPARE(darkPixel, qRgb(0, 0, 0));
            }
            const QRgb litPixel = lit.pixel(x, y);
            if (litPixel != background && qRed(litPixel) > 0)
                ++grey;
        }
    }
    // Phase also sways the branches, so the two pictures differ in shape: the lit one only
    // shows that the same lines do get a colour when phase is not 0.
    QVERIFY2(drawn > side, QByteArray::number(drawn).constData());
    QVERIFY2(grey > side / 2, QByteArray::number(grey).constData());
    QCOMPARE(PixelAt(dark, middle, middle), qRgb(0, 0, 0));
}

void GlLineSceneTest::litStartShinesWithFallOffTimesPhase_data()
{
    QTest::addColumn<float>("spread");
    QTest::addColumn<float>("turn");
    QTest::addColumn<float>("phase");
    QTest::newRow("full pulse") << 0.0f << 0.0f << 1.0f;
    QTest::newRow("half pulse") << 0.0f << 0.0f << 0.5f;
    QTest::newRow("turned a quarter, jittered") << 0.6f << 3.0f << 1.0f;
    QTest::newRow("turned 45 degrees, wide") << 1.0f << 1.5f << 0.8f;
}

// All thirty lit root lines leave the model point (0, 0.12, 1), where the fall-off is
// 1 / (|(0, 0.12, 0, 1)| + 1).
void GlLineSceneTest::litStartShinesWithFallOffTimesPhase()
{
    QFETCH(float, spread);
    QFETCH(float, turn);
    QFETCH(float, phase);
    unsigned int seed = 1;
    float jitter = 0;
    QMatrix4x4 view;
    for (;; ++seed) {
        QVERIFY2(seed < 200, "no seed leaves the lit start clear of other lines");
        const QVector<QVector4D> mesh = scene->GrowMesh(spread, phase, seed, &jitter);
        view = LookingAt(TurnedLitStart(turn, jitter));
        if (LitStartStandsAlone(mesh, view, turn, jitter))
            break;
    }
    const QImage image = surface->Render([&] {
        glClearColor(qRed(background) / 255.0f, qGreen(background) / 255.0f, qBlue(background) / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        scene->Paint(view, spread, turn, phase, seed);
    });
    const double softness = 1.0 / (std::sqrt(0.12 * 0.12 + 1.0) + 1.0);
    const double expected = softness * phase * 255.0;
    // One step of 8-bit rounding and one of interpolation within the pixel.
    const double tolerance = 2.0;
    const QRgb pixel = PixelAt(image, middle, middle);
    const QByteArray seen = "seed " + QByteArray::number(seed) + ": " + QByteArray::number(qRed(pixel)) + ","
        + QByteArray::number(qGreen(pixel)) + "," + QByteArray::number(qBlue(pixel)) + " for "
        + QByteArray::number(expected);
    QVERIFY2(std::fabs(qRed(pixel) - expected) <= tolerance, seen.constData());
    QVERIFY2(std::fabs(qGreen(pixel) - expected) <= tolerance, seen.constData());
    QVERIFY2(std::fabs(qBlue(pixel) - expected) <= tolerance, seen.constData());
}

void GlLineSceneTest::callersMatrixStaysAsPassed()
{
    QMatrix4x4 view = LookingAt(QVector3D(0, 0, 1));
    view.rotate(20, 1, 0, 0);
    const QMatrix4x4 asPassed = view;
    const QImage first = surface->Render([&] { scene->Paint(view, 0.8f, 2.0f, 1.0f, 4u); });
    QCOMPARE(view, asPassed);
    const QImage second = surface->Render([&] { scene->Paint(view, 0.8f, 2.0f, 1.0f, 4u); });
    QCOMPARE(view, asPassed);
    QVERIFY(first == second);
    const QImage unturned = surface->Render([&] { scene->Paint(view, 0.8f, 0.0f, 1.0f, 4u); });
    QVERIFY(unturned != first);
}

void GlLineSceneTest::leavesOtherGlStateAlone()
{
    surface->Render([&] {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glLineWidth(1.0f);
        glClearColor(0.1f, 0.2f, 0.3f, 0.4f);
        const QVector<double> before = StateSnapshot();
        scene->Paint(QMatrix4x4(), 0.5f, 100.0f, 0.7f, 9u);
        const QVector<double> after = StateSnapshot();
        glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        glDepthFunc(GL_LESS);
        QCOMPARE(after, before);
    });
}

QTEST_MAIN(GlLineSceneTest)
#include "tst_gl_linescene.moc"
