#ifndef FAKEIIODEVICE_H
#define FAKEIIODEVICE_H

#include <QString>
#include <QVector3D>

// An IIO accelerometer's sysfs folder, under a root of the caller's, in the
// kernel's formats. Write() with a null text makes the attribute a folder,
// which cannot be read as a file; Hold() writes the shared scale and the raw
// counts that read as the acceleration (m/s²).
struct FakeIioDevice
{
    explicit FakeIioDevice(const QString& root, const QString& name = QStringLiteral("iio:device0"));
    bool Write(const QString& attribute, const QByteArray& text) const;
    bool Hold(const QVector3D& acceleration) const;

    QString folder;
};

#endif
