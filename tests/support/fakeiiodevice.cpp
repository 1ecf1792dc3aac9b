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
    QFile::remove(path);
    QDir(path).removeRecursively();
    QFile file(path);
    return QDir().mkpath(folder)
        && (text.isNull() ? QDir().mkpath(path)
                          : file.open(QIODevice::WriteOnly) && file.write(text + '\n') == text.size() + 1);
}

bool FakeIioDevice::Hold(const QVector3D& acceleration) const
{
    const double scale = 0.009576806;
    return Write("in_accel_scale", "0.009576806")
        && Write("in_accel_x_raw", QByteArray::number(std::llround(acceleration.x() / scale)))
        && Write("in_accel_y_raw", QByteArray::number(std::llround(acceleration.y() / scale)))
        && Write("in_accel_z_raw", QByteArray::number(std::llround(acceleration.z() / scale)));
}
