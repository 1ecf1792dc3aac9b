// makeicons: scales a picture to the sizes of the freedesktop icon
// theme, as <folder>/<N>x<N>/apps/<name>.png for each size N.
//
//     makeicons <picture> <folder> <name> <size>...

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: makeicons <picture> <folder> <name> <size>...\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "makeicons: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int at = 4; at < argc; ++at) {
        const int size = std::atoi(argv[at]);
        if (size < 1 || size > 4096) {
            std::fprintf(stderr, "makeicons: size %s is not 1 to 4096\n", argv[at]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[3]));
        // A picture that is not square keeps its middle.
        const QImage scaled = picture.scaled(size, size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        const QImage icon = scaled.copy((scaled.width() - size) / 2, (scaled.height() - size) / 2, size, size);
        if (!QDir().mkpath(folder) || !icon.save(path, "PNG", 0)) {
            std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
