#ifndef SENSORSCRIPT_H
#define SENSORSCRIPT_H

#include <QString>
#include <QVector3D>
#include <QVector>

class QIODevice;

// What the motion sensors report over the show, by show time (0 is the press
// of the button, the waiting screen lies before it).
class SensorScript
{
public:
    struct Attitude
    {
        QVector3D acceleration;  // m/s^2
        QVector3D rotation;      // degrees about x, y and z
    };

    // A device held up in front of the viewer, rocking gently forwards and
    // back and from side to side.
    static SensorScript GentleTilt();

    // Readings from text: one row per line, "seconds,ax,ay,az,rx,ry,rz", in
    // order of time; a first line that does not start with a number is a
    // header, blank lines are skipped. A reading holds until the next row's
    // time; before the first row the first row holds. On a bad row error
    // names its line and the result has no rows.
    static SensorScript FromCsv(QIODevice& text, QString* error);

    Attitude At(qint64 showMs) const;
    bool IsEmpty() const { return !gentle && rows.isEmpty(); }

private:
    struct Row
    {
        qint64 showMs;
        Attitude attitude;
    };

    bool gentle = false;
    QVector<Row> rows;
};

#endif
