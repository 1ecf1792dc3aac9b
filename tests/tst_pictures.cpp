// The seven background pictures of the `texture` bundle: their sizes and PNG format,
// and that the generator in tools/ still draws exactly the committed files.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

int qInitResources_texture();

namespace {

struct BundlePicture {
    const char* name;
    int side;
};

const BundlePicture bundlePictures[] = {
    {"bkg1a.png", 128}, {"bkg2a.png", 512}, {"bkg3a.png", 256}, {"bkg4a.png", 128},
    {"bkg5a.png", 256}, {"bkg_spiral.png", 512}, {"bkg_dude.png", 512},
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

quint32 bigEndian32(const QByteArray& bytes, int offset)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

QString generatorPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/makepictures");
}

} // namespace

class PicturesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void bundlePicture_data();
    void bundlePicture();
    void generatorRedrawsTheBundle();
    void generatorRejectsBadArguments_data();
    void generatorRejectsBadArguments();
};

void PicturesTest::initTestCase()
{
    QCOMPARE(qInitResources_texture(), 1);
}

void PicturesTest::bundlePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("side");
    for (const BundlePicture& picture : bundlePictures)
        QTest::newRow(picture.name) << QStringLiteral(":/") + QLatin1String(picture.name) << picture.side;
}

void PicturesTest::bundlePicture()
{
    QFETCH(QString, path);
    QFETCH(int, side);

    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" does not decode")));
    QCOMPARE(image.size(), QSize(side, side));
    QVERIFY(!image.hasAlphaChannel());

    // PNG signature, then the IHDR chunk: length 13, type, width, height,
    // bit depth, colour type, compression, filter, interlace.
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.size() > 33);
    QCOMPARE(bytes.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QCOMPARE(bigEndian32(bytes, 8), quint32(13));
    QCOMPARE(bytes.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(bigEndian32(bytes, 16), quint32(side));
    QCOMPARE(bigEndian32(bytes, 20), quint32(side));
    QCOMPARE(int(quint8(bytes.at(24))), 8); // bit depth
    QCOMPARE(int(quint8(bytes.at(25))), 2); // colour type: RGB, no alpha, no palette
    QCOMPARE(int(quint8(bytes.at(28))), 0); // no interlace
}

// The bundle stores the pictures uncompressed, so its bytes are those of the
// committed files in app/pictures: the generator must reproduce them exactly.
void PicturesTest::generatorRedrawsTheBundle()
{
    const QString generator = generatorPath();
    QVERIFY2(QFileInfo(generator).isExecutable(),
             qPrintable(QStringLiteral("no generator at ") + generator));

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString output = folder.filePath(QStringLiteral("pictures"));

    QProcess process;
    process.start(generator, {output});
    QVERIFY2(process.waitForFinished(240000), qPrintable(process.errorString()));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());

    for (const BundlePicture& picture : bundlePictures) {
        const QString name = QLatin1String(picture.name);
        const QByteArray drawn = readAll(output + QLatin1Char('/') + name);
        const QByteArray committed = readAll(QStringLiteral(":/") + name);
        QVERIFY2(!drawn.isEmpty(), qPrintable(name + QStringLiteral(" was not written")));
        QVERIFY2(drawn == committed,
                 qPrintable(name + QStringLiteral(" differs from the committed picture: regenerate them "
                                                  "with build/tools/makepictures app/pictures")));
    }
}

void PicturesTest::generatorRejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("help") << QStringList{QStringLiteral("--help")};
    QTest::newRow("two folders") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
}

void PicturesTest::generatorRejectsBadArguments()
{
    QFETCH(QStringList, arguments);
    const QString generator = generatorPath();
    QVERIFY2(QFileInfo(generator).isExecutable(),
             qPrintable(QStringLiteral("no generator at ") + generator));

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(generator, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY(process.exitCode() != 0);
    const QByteArray message = process.readAllStandardError();
    QVERIFY2(message.startsWith("usage: makepictures <folder>"), message.constData());
    QCOMPARE(message.count('\n'), 1);
    // Nothing was written.
    QVERIFY(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "tst_pictures.moc"
