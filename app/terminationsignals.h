#ifndef TERMINATIONSIGNALS_H
#define TERMINATIONSIGNALS_H

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into the Qt signal received() on the GUI
// thread, so that a terminal's Ctrl+C, a service manager's stop or a closed
// session ends the show as a close of its window does. The handler only
// writes the signal's number into a socket pair and puts the default action
// back: a second signal while the show closes ends the process at once.
// One instance at a time; its destruction puts the default actions back.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private slots:
    void readSignal();

private:
    QSocketNotifier* notifier;
};

#endif
