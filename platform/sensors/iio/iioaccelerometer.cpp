#include "platform/sensors/iio/iioaccelerometer.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <mutex>
#include <tuple>
#include <vector>

namespace {

const char* const axisNames[3] = {"x", "y", "z"};
const char* const mountMatrixNames[] = {"in_accel_mount_matrix", "in_mount_matrix", "mount_matrix"};

// A sysfs attribute is a line or so; whatever lies beyond this is no value.
const qint64 longestAttribute = 4096;

enum class attribute_state { missing, unreadable, read };

// The attribute's text, trimmed; or, when it cannot be read, why (a driver
// that streams to a buffer refuses reads with "Device or resource busy").
attribute_state ReadAttribute(const QString& path, QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        text = file.errorString().toLocal8Bit();
        return QFile::exists(path) ? attribute_state::unreadable : attribute_state::missing;
    }
    text.resize(int(longestAttribute));
    const qint64 length = file.read(text.data(), longestAttribute);
    if (length < 0) {
        text = file.errorString().toLocal8Bit();
        return attribute_state::unreadable;
    }
    text.truncate(int(length));
    text = text.trimmed();
    return attribute_state::read;
}

// A file's text as a diagnostic may quote it: short, and on one line.
QString Quoted(const QByteArray& text)
{
    QString shown = QString::fromLatin1(text.left(40));
    for (QChar& character : shown) {
        if (character < QLatin1Char(' ') || character.unicode() > 126)
            character = QLatin1Char('?');
    }
    return QStringLiteral("\"%1\"").arg(shown);
}

bool ParseNumber(const QByteArray& text, double& value)
{
    bool parsed = false;
    value = text.trimmed().toDouble(&parsed);
    return parsed && std::isfinite(value);
}

// The per-axis attribute in_accel_<axis>_<quantity>, or else the shared
// in_accel_<quantity>, or else the fallback when the device has neither.
bool ReadAxisNumber(const QDir& device, const char* axis, const char* quantity, double fallback,
                    bool zeroAllowed, double& value, QString& problem)
{
    const QString names[] = {
        QStringLiteral("in_accel_%1_%2").arg(QLatin1String(axis), QLatin1String(quantity)),
        QStringLiteral("in_accel_%1").arg(QLatin1String(quantity))};
    for (const QString& name : names) {
        QByteArray text;
        switch (ReadAttribute(device.filePath(name), text)) {
        case attribute_state::missing:
            continue;
        case attribute_state::unreadable:
            problem = QStringLiteral("cannot read %1 (%2)").arg(name, QString::fromLocal8Bit(text));
            return false;
        case attribute_state::read:
            if (!ParseNumber(text, value)) {
                problem = QStringLiteral("%1 holds %2, not a number").arg(name, Quoted(text));
                return false;
            }
            if (value == 0.0 && !zeroAllowed) {
                problem = QStringLiteral("%1 is 0").arg(name);
                return false;
            }
            return true;
        }
    }
    value = fallback;
    return true;
}

// The kernel writes the matrix row by row: "xx, xy, xz; yx, yy, yz; zx, zy, zz".
bool ParseMountMatrix(const QByteArray& text, std::array<double, 9>& mount)
{
    const QList<QByteArray> rows = text.split(';');
    if (rows.size() != 3)
        return false;
    for (int row = 0; row < 3; ++row) {
        const QList<QByteArray> entries = rows[row].split(',');
        if (entries.size() != 3)
            return false;
        for (int column = 0; column < 3; ++column) {
            if (!ParseNumber(entries[column], mount[size_t(3 * row + column)]))
                return false;
        }
    }
    return true;
}

bool ReadMountMatrix(const QDir& device, std::array<double, 9>& mount, QString& problem)
{
    for (const char* name : mountMatrixNames) {
        QByteArray text;
        switch (ReadAttribute(device.filePath(QLatin1String(name)), text)) {
        case attribute_state::missing:
            continue;
        case attribute_state::unreadable:
            problem = QStringLiteral("cannot read %1 (%2)").arg(QLatin1String(name), QString::fromLocal8Bit(text));
            return false;
        case attribute_state::read:
            if (!ParseMountMatrix(text, mount)) {
                problem = QStringLiteral("%1 holds %2, not a 3x3 matrix").arg(QLatin1String(name), Quoted(text));
                return false;
            }
            return true;
        }
    }
    mount = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    return true;
}

bool IsAccelerometer(const QDir& device)
{
    for (const char* axis : axisNames) {
        if (!QFile::exists(device.filePath(QStringLiteral("in_accel_%1_raw").arg(QLatin1String(axis)))))
            return false;
    }
    return true;
}

// Convertibles have one accelerometer in the lid, by the screen, and one in
// the base; the kernel names the latter in "label" or "location".
bool InBase(const QDir& device)
{
    QByteArray label;
    QByteArray location;
    return (ReadAttribute(device.filePath(QStringLiteral("label")), label) == attribute_state::read
            && label == "accel-base")
        || (ReadAttribute(device.filePath(QStringLiteral("location")), location) == attribute_state::read
            && location == "base");
}

int DeviceNumber(const QString& name)
{
    return name.mid(int(qstrlen("iio:device"))).toInt();
}

// Only a device's first fault is told, so that a device that stays broken
// does not fill the log; the record lasts for the whole process, as a
// device may be opened by several sensors, one after the other.
void Report(const QString& folder, const QString& problem)
{
    static std::mutex guard;
    static QSet<QString> reported;
    const std::lock_guard<std::mutex> lock(guard);
    if (reported.contains(folder))
        return;
    reported.insert(folder);
    std::cerr << "radioshow: accelerometer " << qPrintable(folder) << ": " << qPrintable(problem) << "\n";
}

} // namespace

IioAccelerometer::IioAccelerometer(const QString& folder)
    : folder(folder), scale{1, 1, 1}, offset{0, 0, 0}, mount{1, 0, 0, 0, 1, 0, 0, 0, 1}
{
}

std::optional<IioAccelerometer> IioAccelerometer::Open(const QString& root)
{
    const QDir devices(root);
    // Lid before base, then in the kernel's numbering (iio:device10 after iio:device9).
    std::vector<std::tuple<bool, int, QString>> candidates;
    const QStringList names = devices.entryList({QStringLiteral("iio:device*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        candidates.emplace_back(InBase(QDir(devices.filePath(name))), DeviceNumber(name), name);
    std::sort(candidates.begin(), candidates.end());

    for (const auto& candidate : candidates) {
        IioAccelerometer device(devices.filePath(std::get<QString>(candidate)));
        if (!IsAccelerometer(QDir(device.folder)))
            continue;
        QString problem;
        if (device.Calibrate(problem) && device.ReadAxes(problem))
            return device;
        Report(device.folder, problem + QStringLiteral("; skipped"));
    }
    return std::nullopt;
}

bool IioAccelerometer::Sample()
{
    QString problem;
    if (ReadAxes(problem))
        return true;
    Report(folder, problem + QStringLiteral("; keeping its last reading"));
    return false;
}

bool IioAccelerometer::Calibrate(QString& problem)
{
    const QDir device(folder);
    for (size_t axis = 0; axis < 3; ++axis) {
        if (!ReadAxisNumber(device, axisNames[axis], "scale", 1.0, false, scale[axis], problem)
            || !ReadAxisNumber(device, axisNames[axis], "offset", 0.0, true, offset[axis], problem))
            return false;
    }
    return ReadMountMatrix(device, mount, problem);
}

bool IioAccelerometer::ReadAxes(QString& problem)
{
    const QDir device(folder);
    std::array<double, 3> chip;
    for (size_t axis = 0; axis < 3; ++axis) {
        const QString name = QStringLiteral("in_accel_%1_raw").arg(QLatin1String(axisNames[axis]));
        QByteArray text;
        if (ReadAttribute(device.filePath(name), text) != attribute_state::read) {
            problem = QStringLiteral("cannot read %1 (%2)").arg(name, QString::fromLocal8Bit(text));
            return false;
        }
        bool parsed = false;
        const qlonglong raw = text.toLongLong(&parsed);
        if (!parsed) {
            problem = QStringLiteral("%1 holds %2, not a whole number").arg(name, Quoted(text));
            return false;
        }
        chip[axis] = (double(raw) + offset[axis]) * scale[axis];
    }
    // Finite values beyond a float's range would make the conversion undefined.
    const double largest = std::numeric_limits<float>::max();
    std::array<float, 3> turned;
    for (size_t row = 0; row < 3; ++row) {
        const double value = mount[3 * row] * chip[0] + mount[3 * row + 1] * chip[1] + mount[3 * row + 2] * chip[2];
        if (!std::isfinite(value)) {
            problem = QStringLiteral("its raw values, scale and offset give no finite acceleration");
            return false;
        }
        turned[row] = float(std::clamp(value, -largest, largest));
    }
    acceleration = QVector3D(turned[0], turned[1], turned[2]);
    return true;
}
