#include "gl/shaderloader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

class ShaderLoaderTest : public QObject
{
    Q_OBJECT
private slots:
    void wordsAndSpaces_data();
    void wordsAndSpaces();
    void refusedLikeAMissingFile_data();
    void refusedLikeAMissingFile();
    void directoryReadsAsOneFailedWord();
    void pathIsUsedUpToItsFirstNul();
    void largeFileIsReadWhole();
    void fileOfTheLargestSizeIsReadWhole();

private:
    std::string WriteFile(const char* name, const std::string& content);
    std::string SparseFile(const char* name, std::size_t size);
    QTemporaryDir dir;
};

std::string ShaderLoaderTest::WriteFile(const char* name, const std::string& content)
{
    const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
    std::ofstream(path, std::ios_base::binary) << content;
    return path;
}

// NUL bytes, read back as one word: they are not whitespace.
std::string ShaderLoaderTest::SparseFile(const char* name, std::size_t size)
{
    const std::string path = WriteFile(name, std::string());
    if (truncate(path.c_str(), off_t(size)) != 0)
        qFatal("cannot size %s", path.c_str());
    return path;
}

void ShaderLoaderTest::wordsAndSpaces_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("two words, then a line break") << QByteArray("a b\n") << QByteArray("a b  ");
    QTest::newRow("one word, no line break") << QByteArray("a") << QByteArray("a ");
    QTest::newRow("tabs and blank lines between words")
        << QByteArray("void\t\tmain(void)\n\n\n{\n\tgl_Position = p;\r\n}")
        << QByteArray("void main(void) { gl_Position = p; } ");
    QTest::newRow("leading whitespace") << QByteArray("\n\t x y") << QByteArray("x y ");
    QTest::newRow("empty file") << QByteArray() << QByteArray(" ");
    QTest::newRow("whitespace only") << QByteArray(" \t\n\n ") << QByteArray(" ");
}

void ShaderLoaderTest::wordsAndSpaces()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, text);
    const std::string path = WriteFile(QTest::currentDataTag(), content.toStdString());
    QCOMPARE(QByteArray::fromStdString(shl::load_text(path)), text);
}

// Nothing that could block, never end or fill the memory is read: such a
// path gives what a missing file gives.
void ShaderLoaderTest::refusedLikeAMissingFile_data()
{
    QTest::addColumn<QByteArray>("path");
    const std::string fifo = dir.filePath("fifo.vs").toStdString();
    QVERIFY(mkfifo(fifo.c_str(), 0600) == 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = dir.filePath("socket.vs").toLocal8Bit();
    qstrncpy(address.sun_path, socketPath.constData(), sizeof(address.sun_path));
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0);
    close(listening);

    QTest::newRow("missing") << QByteArray::fromStdString(dir.filePath("absent.vs").toStdString());
    QTest::newRow("empty path") << QByteArray();
    QTest::newRow("FIFO with no writer") << QByteArray::fromStdString(fifo);
    QTest::newRow("socket") << socketPath;
    QTest::newRow("endless character device") << QByteArray("/dev/zero");
    QTest::newRow("one byte over the largest text")
        << QByteArray::fromStdString(SparseFile("huge.vs", shl::largestText + 1));
}

void ShaderLoaderTest::refusedLikeAMissingFile()
{
    QFETCH(QByteArray, path);
    QCOMPARE(QByteArray::fromStdString(shl::load_text(path.toStdString())), QByteArray());
}

// A directory opens for reading on Linux, and its first read fails: that
// failed read contributes its single space, as for an empty file.
void ShaderLoaderTest::directoryReadsAsOneFailedWord()
{
    QCOMPARE(QByteArray::fromStdString(shl::load_text(dir.path().toStdString())), QByteArray(" "));
}

void ShaderLoaderTest::pathIsUsedUpToItsFirstNul()
{
    const std::string path = WriteFile("shader.vs", "x\n");
    std::string withNul = path;
    withNul += '\0';
    withNul += "ignored";
    QCOMPARE(QByteArray::fromStdString(shl::load_text(withNul)), QByteArray("x  "));
}

void ShaderLoaderTest::largeFileIsReadWhole()
{
    const int words = 200000;
    std::string content;
    for (int i = 0; i < words; ++i)
        content += "w\n";
    const std::string text = shl::load_text(WriteFile("large.vs", content));
    QCOMPARE(text.size(), size_t(2 * words + 1));
    QCOMPARE(text.substr(text.size() - 5), std::string("w w  "));
}

void ShaderLoaderTest::fileOfTheLargestSizeIsReadWhole()
{
    const std::string text = shl::load_text(SparseFile("largest.vs", shl::largestText));
    QCOMPARE(text.size(), shl::largestText + 1);
    QCOMPARE(text.back(), ' ');
}

QTEST_APPLESS_MAIN(ShaderLoaderTest)
#include "tst_shaderloader.moc"
