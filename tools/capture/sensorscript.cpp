#include "tools/capture/sensorscript.h"

#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const float standardGravity = 9.80665f;
const double pi = 3.14159265358979323846;

// Gravity as the accelerometer of a device at this rotation sees it.
QVector3D GravityAt(const QVector3D& rotation)
{
    const float pitch = rotation.x() * float(pi / 180.0);
    const float roll = rotation.y() * float(pi / 180.0);
    return standardGravity
        * QVector3D(-std::sin(roll), std::sin(pitch) * std::cos(roll), std::cos(pitch) * std::cos(roll));
}

// Times beyond this are surely a mistake, and this bound keeps the
// conversion to milliseconds exact.
const double furthestSeconds = 1.0e6;

}

SensorScript SensorScript::GentleTilt()
{
    SensorScript script;
    script.gentle = true;
    return script;
}

SensorScript SensorScript::FromCsv(QIODevice& text, QString* error)
{
    SensorScript script;
    int lineNumber = 0;
    bool firstLine = true;
    while (!text.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(text.readLine()).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char(','));
        bool numeric = false;
        fields.first().trimmed().toDouble(&numeric);
        if (firstLine && !numeric) {
            firstLine = false;
            continue;
        }
        firstLine = false;
        const auto fail = [&](const QString& why) {
            *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
            return SensorScript();
        };
        if (fields.size() != 7)
            return fail(QStringLiteral("expected 7 values (seconds, 3 accelerations, 3 rotations), found %1")
                            .arg(fields.size()));
        double values[7];
        for (int field = 0; field < 7; ++field) {
            bool ok = false;
            values[field] = fields[field].trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(values[field]))
                return fail(QStringLiteral("value %1 \"%2\" is not a finite number")
                                .arg(field + 1)
                                .arg(fields[field].trimmed()));
        }
        if (std::fabs(values[0]) > furthestSeconds)
            return fail(QStringLiteral("time %1 s is out of range").arg(values[0]));
        const qint64 showMs = qint64(std::llround(values[0] * 1000.0));
        if (!script.rows.isEmpty() && showMs < script.rows.last().showMs)
            return fail(QStringLiteral("time %1 s is earlier than the row before").arg(values[0]));
        Row row;
        row.showMs = showMs;
        row.attitude.acceleration = QVector3D(float(values[1]), float(values[2]), float(values[3]));
        row.attitude.rotation = QVector3D(float(values[4]), float(values[5]), float(values[6]));
        script.rows.append(row);
    }
    if (script.rows.isEmpty())
        *error = QStringLiteral("no readings");
    return script;
}

SensorScript::Attitude SensorScript::At(qint64 showMs) const
{
    if (gentle) {
        // Slow, incommensurate periods: the view never repeats within the show.
        const double seconds = double(showMs) * 0.001;
        Attitude attitude;
        attitude.rotation = QVector3D(float(62.0 + 14.0 * std::sin(2.0 * pi * seconds / 23.0)),
                                      float(12.0 * std::sin(2.0 * pi * seconds / 17.0)), 0.0f);
        attitude.acceleration = GravityAt(attitude.rotation);
        return attitude;
    }
    if (rows.isEmpty())
        return Attitude();
    const auto later = std::upper_bound(rows.begin(), rows.end(), showMs,
                                        [](qint64 ms, const Row& row) { return ms < row.showMs; });
    return later == rows.begin() ? rows.first().attitude : (later - 1)->attitude;
}
