#ifndef FAKEIIODEVICE_H
#define FAKEIIODEVICE_H

#include <QByteArray>
#include <QString>
#include <QVector3D>

// A folder laid out as the kernel lays out an IIO accelerometer in sysfs,
// under a root folder of the caller's, written in the kernel's formats.
struct FakeIioDevice
{
    static constexpr double typicalScale = 0.009576806;

    explicit FakeIioDevice(const QString& root, const QString& name = QStringLiteral("iio:device0"));

    // Writes one attribute; a null text makes it a folder, which no one can
    // read as a file. False when that fails.
    bool Write(const QString& attribute, const QByteArray& text) const;
    // Writes the shared scale and the raw counts that read as the acceleration (m/s²).
    bool Hold(const QVector3D& acceleration, double scale = typicalScale) const;

    QString folder;
};

#endif
