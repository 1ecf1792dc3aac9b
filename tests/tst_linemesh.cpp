#include "scenes/linescene.h"

#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>

namespace {

const int segmentCount = 930;
const int lastGeneration = 4;
// Random draws of one growth: two for the scale, three per root, five per child.
const int drawCount = 2 + 30 * 3 + 900 * 5;

// Where a segment sits in the trees; segments listed in the order they are grown.
struct SegmentPlace
{
    int generation;
    int parent;
    int root;
};

// Depth first, the root created last first, a node's child 1 before its child 0.
QVector<SegmentPlace> GrowthOrder()
{
    QVector<SegmentPlace> order;
    std::function<void(int, int, int)> visit = [&](int generation, int parent, int root) {
        const int self = order.size();
        order.append({generation, parent, root});
        if (generation < lastGeneration) {
            visit(generation + 1, self, root);
            visit(generation + 1, self, root);
        }
    };
    for (int root = 29; root >= 0; --root)
        visit(0, -1, root);
    return order;
}

QVector4D Vertex(const QVector<QVector4D>& mesh, int segment, int corner)
{
    return mesh[segment * 4 + corner];
}

bool SameBits(const QVector4D& a, const QVector4D& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(const QVector<QVector4D>& a, const QVector<QVector4D>& b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), sizeof(QVector4D) * a.size()) == 0;
}

bool Near(const QVector4D& actual, double x, double y, double z, double w, double tolerance)
{
    return std::fabs(actual.x() - x) <= tolerance && std::fabs(actual.y() - y) <= tolerance
        && std::fabs(actual.z() - z) <= tolerance && actual.w() == w;
}

QByteArray Describe(const QVector4D& v)
{
    return QByteArray::number(v.x(), 'g', 9) + ", " + QByteArray::number(v.y(), 'g', 9) + ", "
        + QByteArray::number(v.z(), 'g', 9) + ", " + QByteArray::number(v.w(), 'g', 9);
}

// The growth written out plainly, step by step, with a linked list as the stack: the
// finished generator must give exactly these bits.
namespace literal {

float Randf()
{
    const int m = rand() % 2000;
    return static_cast<float>(m * 0.001 - 1.0);
}

struct Node
{
    float weight;
    float originX, originY, originZ;
    float ortX, ortY, ortZ;
};

QVector<QVector4D> Grow(float spread, float phase, unsigned int seed, float* sizeJitter)
{
    srand(seed);
    const float halfSpread = spread * 0.5f;
    const float lengthScale = 1.0f + halfSpread * Randf();
    *sizeJitter = halfSpread * Randf();
    std::list<Node> workList;
    for (int i = 0; i < 30; ++i) {
        const float x = Randf();
        const float y = Randf();
        const float z = Randf();
        workList.push_front({0.7f, 0.0f, 0.0f, 1.0f, x, y, z});
    }
    QVector<QVector4D> vertices;
    while (!workList.empty()) {
        const Node node = workList.front();
        workList.pop_front();
        const float heading = node.ortX * 6.0f;
        const float distance = (1.0f - node.weight) * lengthScale;
        const float endX = static_cast<float>(static_cast<double>(node.originX)
                                              + static_cast<double>(distance) * std::cos(static_cast<double>(heading)));
        const float endY = static_cast<float>(static_cast<double>(node.originY)
                                              + static_cast<double>(distance) * std::sin(static_cast<double>(heading)));
        const float endZ = node.originZ + distance * node.ortZ;
        vertices.append(QVector4D(node.originX, node.originY + 0.12f, node.originZ, 1.0f));
        vertices.append(QVector4D(endX, endY, endZ, 1.0f));
        vertices.append(QVector4D(node.originX, node.originY, node.originZ, 0.0f));
        vertices.append(QVector4D(endX, endY, endZ, 0.0f));
        const float childWeight = node.weight * 0.65f;
        if (childWeight > 0.1f) {
            for (int index = 0; index < 2; ++index) {
                const float x = endX + halfSpread * Randf();
                const float y = endY + halfSpread * Randf();
                const float z = endZ + halfSpread * Randf();
                const float k = 1.0f + Randf() * spread;
                const float angle = ((static_cast<float>(index) * k) * 4.0f + (phase * k) * 3.0f) + Randf();
                workList.push_front({childWeight, x, y, z, node.ortX + sinf(angle), node.ortY, node.ortZ});
            }
        }
    }
    return vertices;
}

} // namespace literal

void AddInputRows()
{
    QTest::addColumn<float>("spread");
    QTest::addColumn<float>("phase");
    QTest::addColumn<uint>("seed");
    QTest::newRow("scene 1, calm") << 0.0f << 0.5f << 1u;
    QTest::newRow("scene 2, full pulse") << 1.0f << 1.0f << 2u;
    QTest::newRow("spiral scene mix") << 0.42f << 0.25f << 5u;
    QTest::newRow("waiting phase") << 0.3f << 1.1f << 24u;
    QTest::newRow("negative noise mix") << 1.31f << 0.01f << 17u;
    QTest::newRow("seed 0, phase 0") << 0.7f << 0.0f << 0u;
    QTest::newRow("largest seed") << 0.99f << 0.73f << 4294967295u;
}

} // namespace

class LineMeshTest : public QObject
{
    Q_OBJECT
private slots:
    void randfMapsDrawsToThousandths_data();
    void randfMapsDrawsToThousandths();
    void randfCoversTwoThousandSteps();
    void randfTakesOneDrawPerCall();
    void randfOfRealDraws_data();
    void randfOfRealDraws();
    void extrude_data();
    void extrude();
    void meshHasFourVerticesPerSegment_data() { AddInputRows(); }
    void meshHasFourVerticesPerSegment();
    void matchesLiteralGrowth_data() { AddInputRows(); }
    void matchesLiteralGrowth();
    void sameInputsSameMesh_data() { AddInputRows(); }
    void sameInputsSameMesh();
    void rootSegmentsStartAtRootPoint_data() { AddInputRows(); }
    void rootSegmentsStartAtRootPoint();
    void firstSegmentsAreLastRootAndItsChildOne_data() { AddInputRows(); }
    void firstSegmentsAreLastRootAndItsChildOne();
    void growthStopsAfterGenerationFour_data() { AddInputRows(); }
    void growthStopsAfterGenerationFour();
    void phaseMovesOnlyBelowRoots_data();
    void phaseMovesOnlyBelowRoots();
    void noSpreadGrowsConnectedTrees_data();
    void noSpreadGrowsConnectedTrees();
};

void LineMeshTest::randfMapsDrawsToThousandths_data()
{
    QTest::addColumn<int>("drawn");
    QTest::addColumn<float>("expected");
    QTest::newRow("12345") << 12345 << -0.655f;
    QTest::newRow("1999: the largest") << 1999 << 0.999f;
    QTest::newRow("2000 wraps to the smallest") << 2000 << -1.0f;
    QTest::newRow("0") << 0 << -1.0f;
    QTest::newRow("1000 is the middle") << 1000 << 0.0f;
    QTest::newRow("RAND_MAX") << 2147483647 << 0.647f;
}

void LineMeshTest::randfMapsDrawsToThousandths()
{
    QFETCH(int, drawn);
    QFETCH(float, expected);
    QCOMPARE(randf_of(drawn), expected);
}

void LineMeshTest::randfCoversTwoThousandSteps()
{
    float previous = -2.0f;
    for (int m = 0; m < 2000; ++m) {
        const float value = randf_of(m);
        QVERIFY2(value > previous, (QByteArray::number(m)).constData());
        QVERIFY2(std::fabs(value - (m / 1000.0 - 1.0)) <= 1e-7, (QByteArray::number(m)).constData());
        QVERIFY(value < 1.0f);
        previous = value;
    }
    QCOMPARE(randf_of(0), -1.0f);
    QCOMPARE(randf_of(1999), 0.999f);
}

void LineMeshTest::randfTakesOneDrawPerCall()
{
    for (unsigned int seed : {1u, 2u, 99u, 123456u}) {
        srand(seed);
        const int first = rand();
        const int second = rand();
        const int third = rand();
        srand(seed);
        QCOMPARE(randf(), randf_of(first));
        QCOMPARE(randf(), randf_of(second));
        QCOMPARE(rand(), third);
    }
}

void LineMeshTest::randfOfRealDraws_data()
{
    QTest::addColumn<int>("likeDrawn");
    QTest::addColumn<float>("expected");
    QTest::newRow("as 12345") << 12345 << -0.655f;
    QTest::newRow("as 1999") << 1999 << 0.999f;
    QTest::newRow("as 2000") << 2000 << -1.0f;
}

// Finds a seed whose first draw leaves the same remainder as the wanted value, so that
// randf itself is seen turning a real rand() result into the step.
void LineMeshTest::randfOfRealDraws()
{
    QFETCH(int, likeDrawn);
    QFETCH(float, expected);
    unsigned int seed = 1;
    for (;; ++seed) {
        QVERIFY(seed < 1000000);
        srand(seed);
        if (rand() % 2000 == likeDrawn % 2000)
            break;
    }
    srand(seed);
    QCOMPARE(randf(), expected);
}

void LineMeshTest::extrude_data()
{
    QTest::addColumn<float>("weight");
    QTest::addColumn<QVector3D>("origin");
    QTest::addColumn<QVector3D>("ort");
    QTest::addColumn<float>("length");
    QTest::addColumn<QVector3D>("expected");
    const QVector3D root(0, 0, 1);
    QTest::newRow("root, no orientation") << 0.7f << root << QVector3D(0, 0, 0) << 1.0f << QVector3D(0.3f, 0, 1);
    QTest::newRow("root rising one per unit") << 0.7f << root << QVector3D(0, 0, 1) << 1.0f << QVector3D(0.3f, 0, 1.3f);
    QTest::newRow("root heading 1.5 rad") << 0.7f << root << QVector3D(0.25f, 0.9f, 0) << 1.0f
                                          << QVector3D(0.3 * std::cos(1.5), 0.3 * std::sin(1.5), 1);
    QTest::newRow("generation 1, scaled, falling")
        << 0.455f << QVector3D(1, 2, 3) << QVector3D(-0.5f, 0, -1) << 2.0f
        << QVector3D(1 + 1.09 * std::cos(-3.0), 2 + 1.09 * std::sin(-3.0), 3 - 1.09);
}

void LineMeshTest::extrude()
{
    QFETCH(float, weight);
    QFETCH(QVector3D, origin);
    QFETCH(QVector3D, ort);
    QFETCH(float, length);
    QFETCH(QVector3D, expected);
    const QVector3D end = Extrude(lnmes_node{weight, origin, ort}, length);
    QVERIFY2((end - expected).length() <= 1e-6f, (Describe(QVector4D(end, 0))).constData());
}

void LineMeshTest::meshHasFourVerticesPerSegment()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    LineScene scene;
    float jitter = 0;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    QCOMPARE(mesh.size(), segmentCount * 4);
    for (int segment = 0; segment < segmentCount; ++segment) {
        const QVector4D litStart = Vertex(mesh, segment, 0);
        const QVector4D litEnd = Vertex(mesh, segment, 1);
        const QVector4D darkStart = Vertex(mesh, segment, 2);
        const QVector4D darkEnd = Vertex(mesh, segment, 3);
        QCOMPARE(litStart.w(), 1.0f);
        QCOMPARE(litEnd.w(), 1.0f);
        QCOMPARE(darkStart.w(), 0.0f);
        QCOMPARE(darkEnd.w(), 0.0f);
        QVERIFY(SameBits(litStart, QVector4D(darkStart.x(), darkStart.y() + 0.12f, darkStart.z(), 1.0f)));
        QVERIFY(SameBits(litEnd, QVector4D(darkEnd.toVector3D(), 1.0f)));
    }
}

void LineMeshTest::matchesLiteralGrowth()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    float expectedJitter = 0;
    const QVector<QVector4D> expected = literal::Grow(spread, phase, seed, &expectedJitter);
    const int expectedNextDraw = rand();
    LineScene scene;
    float jitter = -1;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    QCOMPARE(rand(), expectedNextDraw);
    QVERIFY(std::memcmp(&jitter, &expectedJitter, sizeof jitter) == 0);
    QCOMPARE(mesh.size(), expected.size());
    for (int i = 0; i < mesh.size(); ++i)
        QVERIFY2(SameBits(mesh[i], expected[i]), ("vertex " + QByteArray::number(i) + ": " + Describe(mesh[i]) + " instead of " + Describe(expected[i])).constData());
}

void LineMeshTest::sameInputsSameMesh()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    LineScene scene;
    float firstJitter = 0;
    const QVector<QVector4D> first = scene.GrowMesh(spread, phase, seed, &firstJitter);
    srand(seed + 7);
    for (int i = 0; i < 11; ++i)
        rand();
    float secondJitter = 0;
    const QVector<QVector4D> second = scene.GrowMesh(spread, phase, seed, &secondJitter);
    QVERIFY(SameBits(first, second));
    QVERIFY(std::memcmp(&firstJitter, &secondJitter, sizeof firstJitter) == 0);
}

void LineMeshTest::rootSegmentsStartAtRootPoint()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    LineScene scene;
    float jitter = 0;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    const QVector<SegmentPlace> order = GrowthOrder();
    int roots = 0;
    for (int segment = 0; segment < segmentCount; ++segment) {
        if (order[segment].generation != 0)
            continue;
        ++roots;
        QVERIFY(SameBits(Vertex(mesh, segment, 0), QVector4D(0, 0.12f, 1, 1)));
        QVERIFY(SameBits(Vertex(mesh, segment, 2), QVector4D(0, 0, 1, 0)));
    }
    QCOMPARE(roots, 30);
}

// Replays the draws by hand: the scale, the thirty root orientations, then the five
// draws of child 0 and the five of child 1 of the root created last.
void LineMeshTest::firstSegmentsAreLastRootAndItsChildOne()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    srand(seed);
    QVector<double> draws;
    for (int i = 0; i < 2 + 90 + 10; ++i)
        draws.append((rand() % 2000) / 1000.0 - 1.0);
    const double halfSpread = spread * 0.5;
    const double lengthScale = 1.0 + halfSpread * draws[0];
    const double rootX = draws[2 + 87];
    const double rootY = draws[2 + 88];
    const double rootZ = draws[2 + 89];
    Q_UNUSED(rootY);
    const double rootLength = 0.3 * lengthScale;
    const double endX = rootLength * std::cos(6 * rootX);
    const double endY = rootLength * std::sin(6 * rootX);
    const double endZ = 1 + rootLength * rootZ;

    const double* child = &draws[2 + 90 + 5];
    const double originX = endX + halfSpread * child[0];
    const double originY = endY + halfSpread * child[1];
    const double originZ = endZ + halfSpread * child[2];
    const double k = 1 + child[3] * spread;
    const double ortX = rootX + std::sin(1 * k * 4 + phase * k * 3 + child[4]);
    const double childLength = (1 - 0.455) * lengthScale;
    const double childEndX = originX + childLength * std::cos(6 * ortX);
    const double childEndY = originY + childLength * std::sin(6 * ortX);
    const double childEndZ = originZ + childLength * rootZ;

    LineScene scene;
    float jitter = 0;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    QVERIFY(std::fabs(jitter - halfSpread * draws[1]) <= 1e-6);
    const double tolerance = 2e-5;
    QVERIFY(Near(mesh[0], 0, 0.12, 1, 1, tolerance));
    QVERIFY2(Near(mesh[1], endX, endY, endZ, 1, tolerance), (Describe(mesh[1])).constData());
    QVERIFY(Near(mesh[2], 0, 0, 1, 0, tolerance));
    QVERIFY2(Near(mesh[3], endX, endY, endZ, 0, tolerance), (Describe(mesh[3])).constData());
    QVERIFY2(Near(mesh[4], originX, originY + 0.12, originZ, 1, tolerance), (Describe(mesh[4])).constData());
    QVERIFY2(Near(mesh[5], childEndX, childEndY, childEndZ, 1, tolerance), (Describe(mesh[5])).constData());
    QVERIFY2(Near(mesh[6], originX, originY, originZ, 0, tolerance), (Describe(mesh[6])).constData());
    QVERIFY2(Near(mesh[7], childEndX, childEndY, childEndZ, 0, tolerance), (Describe(mesh[7])).constData());
}

// A segment's length in the XY plane is (1 - weight) x lengthScale, so it tells the
// segment's generation; a fifth generation would be 1 - 0.0812 long.
void LineMeshTest::growthStopsAfterGenerationFour()
{
    QFETCH(float, spread);
    QFETCH(float, phase);
    QFETCH(uint, seed);
    srand(seed);
    const double lengthScale = 1.0 + spread * 0.5 * ((rand() % 2000) / 1000.0 - 1.0);
    srand(seed);
    for (int i = 0; i < drawCount; ++i)
        rand();
    const int drawAfterGrowth = rand();

    LineScene scene;
    float jitter = 0;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    QCOMPARE(rand(), drawAfterGrowth);

    const double lengthFactors[] = {0.3, 0.545, 0.70425, 0.80776, 0.87505, 1 - 0.0812};
    const QVector<SegmentPlace> order = GrowthOrder();
    QCOMPARE(mesh.size(), order.size() * 4);
    for (int segment = 0; segment < segmentCount; ++segment) {
        const QVector4D start = Vertex(mesh, segment, 2);
        const QVector4D end = Vertex(mesh, segment, 3);
        const double length = std::hypot(double(end.x()) - start.x(), double(end.y()) - start.y()) / lengthScale;
        int generation = -1;
        for (int candidate = 0; candidate < 6; ++candidate)
            if (std::fabs(length - lengthFactors[candidate]) < 1e-4)
                generation = candidate;
        QVERIFY2(generation == order[segment].generation, ("segment " + QByteArray::number(segment) + " is " + QByteArray::number(length) + " long").constData());
    }
}

void LineMeshTest::phaseMovesOnlyBelowRoots_data()
{
    QTest::addColumn<float>("spread");
    QTest::addColumn<uint>("seed");
    QTest::addColumn<float>("phase");
    QTest::addColumn<float>("otherPhase");
    QTest::newRow("calm") << 0.0f << 3u << 0.2f << 0.7f;
    QTest::newRow("wide") << 1.0f << 8u << 1.0f << 0.05f;
    QTest::newRow("small step") << 0.42f << 21u << 0.5f << 0.51f;
}

void LineMeshTest::phaseMovesOnlyBelowRoots()
{
    QFETCH(float, spread);
    QFETCH(uint, seed);
    QFETCH(float, phase);
    QFETCH(float, otherPhase);
    LineScene scene;
    float jitter = 0;
    float otherJitter = 0;
    const QVector<QVector4D> mesh = scene.GrowMesh(spread, phase, seed, &jitter);
    const int drawAfterGrowth = rand();
    const QVector<QVector4D> other = scene.GrowMesh(spread, otherPhase, seed, &otherJitter);
    QCOMPARE(rand(), drawAfterGrowth);
    QCOMPARE(otherJitter, jitter);
    QCOMPARE(other.size(), mesh.size());

    const QVector<SegmentPlace> order = GrowthOrder();
    for (int segment = 0; segment < segmentCount; ++segment) {
        const QByteArray where = "segment " + QByteArray::number(segment);
        const int generation = order[segment].generation;
        const bool originStays = generation <= 1;
        const bool endStays = generation == 0;
        for (int corner : {0, 2}) {
            const bool same = SameBits(Vertex(mesh, segment, corner), Vertex(other, segment, corner));
            QVERIFY2(same == originStays, (where).constData());
        }
        for (int corner : {1, 3}) {
            const bool same = SameBits(Vertex(mesh, segment, corner), Vertex(other, segment, corner));
            QVERIFY2(same == endStays, (where).constData());
        }
    }
}

void LineMeshTest::noSpreadGrowsConnectedTrees_data()
{
    QTest::addColumn<float>("phase");
    QTest::addColumn<uint>("seed");
    QTest::newRow("scene 1") << 0.3f << 1u;
    QTest::newRow("scene 13") << 1.0f << 13u;
    QTest::newRow("phase 0") << 0.0f << 6u;
}

void LineMeshTest::noSpreadGrowsConnectedTrees()
{
    QFETCH(float, phase);
    QFETCH(uint, seed);
    srand(seed);
    rand();
    rand();
    double rootOrts[30][3];
    for (auto& ort : rootOrts)
        for (double& component : ort)
            component = (rand() % 2000) / 1000.0 - 1.0;

    LineScene scene;
    float jitter = 1;
    const QVector<QVector4D> mesh = scene.GrowMesh(0.0f, phase, seed, &jitter);
    QCOMPARE(jitter, 0.0f);
    const QVector<SegmentPlace> order = GrowthOrder();
    for (int segment = 0; segment < segmentCount; ++segment) {
        const SegmentPlace& place = order[segment];
        if (place.generation == 0) {
            const double* ort = rootOrts[place.root];
            const QVector4D end = Vertex(mesh, segment, 3);
            QVERIFY2(Near(end, 0.3 * std::cos(6 * ort[0]), 0.3 * std::sin(6 * ort[0]), 1 + 0.3 * ort[2], 0, 1e-6), (Describe(end)).constData());
        } else {
            const QVector4D parentEnd = Vertex(mesh, place.parent, 3);
            QVERIFY(SameBits(Vertex(mesh, segment, 2), parentEnd));
        }
    }
}

QTEST_APPLESS_MAIN(LineMeshTest)
#include "tst_linemesh.moc"
