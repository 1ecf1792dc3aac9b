#ifndef IIOACCELEROMETER_H
#define IIOACCELEROMETER_H

#include <QString>
#include <QVector3D>

#include <array>
#include <optional>

// One accelerometer of the kernel's Industrial I/O subsystem, read through its
// folder in sysfs. Each axis gives a raw count that becomes m/s² as
// (raw + offset) × scale, the scale and the offset shared by the axes or given
// per axis. The mount matrix, where the device has one, then turns the chip's
// axes into the device's own: x toward the right edge of the screen, y toward
// its top, z out of its face, so that a device lying face up reads +9.81 on z.
class IioAccelerometer
{
public:
    // The first accelerometer among the iio:device folders under root that can
    // be used: its calibration holds sound numbers and it gives a first
    // reading. On a convertible the one in the lid comes before the one in
    // the base. Each device that cannot be used is skipped with one line on
    // standard error.
    static std::optional<IioAccelerometer> Open(const QString& root);

    // Reads the three axes anew; false when one cannot be read or is no
    // number (the device went away, say). The acceleration then keeps its
    // last value, and the device's first fault is told on standard error.
    bool Sample();

    QVector3D Acceleration() const { return acceleration; }
    QString Folder() const { return folder; }

private:
    explicit IioAccelerometer(const QString& folder);

    // Reads the scale, offset and mount matrix; false, with the reason in
    // problem, when they cannot be used.
    bool Calibrate(QString& problem);
    bool ReadAxes(QString& problem);

    QString folder;
    std::array<double, 3> scale;
    std::array<double, 3> offset;
    std::array<double, 9> mount; // row by row, as the kernel writes it
    QVector3D acceleration;
};

#endif
