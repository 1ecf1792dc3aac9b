#include "gl/shaderloader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

class ShaderLoaderTest : public QObject
{
    Q_OBJECT
private slots:
    void wordsAndSpaces_data();
    void wordsAndSpaces();
    void missingFileGivesEmptyText();
    void directoryReadsAsOneFailedWord();
    void pathIsUsedUpToItsFirstNul();
    void largeFileIsReadWhole();

private:
    std::string WriteFile(const char* name, const std::string& content);
    QTemporaryDir dir;
};

std::string ShaderLoaderTest::WriteFile(const char* name, const std::string& content)
{
    const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
    std::ofstream(path, std::ios_base::binary) << content;
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

void ShaderLoaderTest::missingFileGivesEmptyText()
{
    QCOMPARE(QByteArray::fromStdString(shl::load_text(dir.filePath("absent.vs").toStdString())), QByteArray());
    QCOMPARE(QByteArray::fromStdString(shl::load_text("")), QByteArray());
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

QTEST_APPLESS_MAIN(ShaderLoaderTest)
#include "tst_shaderloader.moc"
