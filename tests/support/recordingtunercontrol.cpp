#include "support/recordingtunercontrol.h"

RecordingTunerControl::RecordingTunerControl(QStringList& log, QObject* parent)
    : QRadioTunerControl(parent)
    , log(log)
{
}

RecordingTunerControl::~RecordingTunerControl()
{
    log << QStringLiteral("gone");
}

void RecordingTunerControl::ReportStrength(int strength)
{
    lastStrength = strength;
    emit signalStrengthChanged(strength);
}

QRadioTuner::State RecordingTunerControl::state() const { return runState; }
QRadioTuner::Band RecordingTunerControl::band() const { return tunedBand; }

void RecordingTunerControl::setBand(QRadioTuner::Band band)
{
    log << (band == QRadioTuner::FM ? QStringLiteral("band FM")
                                    : QStringLiteral("band %1").arg(int(band)));
    tunedBand = band;
}

bool RecordingTunerControl::isBandSupported(QRadioTuner::Band) const { return true; }
int RecordingTunerControl::frequency() const { return tunedHz; }
int RecordingTunerControl::frequencyStep(QRadioTuner::Band) const { return 1; }

QPair<int, int> RecordingTunerControl::frequencyRange(QRadioTuner::Band) const
{
    return qMakePair(0, 0x7fffffff);
}

void RecordingTunerControl::setFrequency(int hz)
{
    log << QStringLiteral("frequency %1").arg(hz);
    tunedHz = hz;
}

bool RecordingTunerControl::isStereo() const { return false; }
QRadioTuner::StereoMode RecordingTunerControl::stereoMode() const { return QRadioTuner::Auto; }

void RecordingTunerControl::setStereoMode(QRadioTuner::StereoMode mode)
{
    log << QStringLiteral("stereo mode %1").arg(int(mode));
}

int RecordingTunerControl::signalStrength() const { return lastStrength; }
int RecordingTunerControl::volume() const { return outputVolume; }

void RecordingTunerControl::setVolume(int volume)
{
    log << QStringLiteral("volume %1").arg(volume);
    outputVolume = volume;
}

bool RecordingTunerControl::isMuted() const { return muted; }

void RecordingTunerControl::setMuted(bool mute)
{
    log << (mute ? QStringLiteral("mute") : QStringLiteral("unmute"));
    muted = mute;
}

bool RecordingTunerControl::isSearching() const { return false; }
void RecordingTunerControl::searchForward() { log << QStringLiteral("search forward"); }
void RecordingTunerControl::searchBackward() { log << QStringLiteral("search backward"); }

void RecordingTunerControl::searchAllStations(QRadioTuner::SearchMode)
{
    log << QStringLiteral("search all");
}

void RecordingTunerControl::cancelSearch() { log << QStringLiteral("cancel search"); }

void RecordingTunerControl::start()
{
    log << QStringLiteral("start");
    runState = QRadioTuner::ActiveState;
}

void RecordingTunerControl::stop()
{
    log << QStringLiteral("stop");
    runState = QRadioTuner::StoppedState;
}

QRadioTuner::Error RecordingTunerControl::error() const { return QRadioTuner::NoError; }
QString RecordingTunerControl::errorString() const { return QString(); }
