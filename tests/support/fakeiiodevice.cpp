#include "support/fakeiiodevice.h"

#include <QDir>
#include <QFile>

#include <cmath>

FakeIioDevice::FakeIioDevice(const QString& root, const QString& name)
    : folder(QDir(root).filePath(name))
{
}

bool FakeIioDevice::Write(const QString& attribute, const QByteArray& text) const
{
    const QString path = QDir(folder).filePath(attribute);
    if (!QDir().mkpath(folder) || (QFile::exists(path) && !QFile::remove(path) && !QDir(path).removeRecursively()))
        return false;
    if (text.isNull())
        return QDir().mkpath(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text + '\n') == text.size() + 1;
}

bool FakeIioDevice::Hold(const QVector3D& acceleration, double scale) const
{
    const char* const axes[] = {"x", "y", "z"};
    bool written = Write(QStringLiteral("in_accel_scale"), QByteArray::number(scale, 'f', 9));
    for (int axis = 0; axis < 3; ++axis) {
        written = written
            && Write(QStringLiteral("in_accel_%1_raw").arg(QLatin1String(axes[axis])),
                     QByteArray::number(qlonglong(std::lround(acceleration[axis] / scale))));
    }
    return written;
}
