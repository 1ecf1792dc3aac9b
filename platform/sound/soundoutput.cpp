#include "platform/sound/soundoutput.h"

#include "platform/sound/samplestream.h"
#include "signal/samplesource.h"

#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <memory>

namespace {

// What the output may hold ahead of the speaker. Pulse and ALSA add a few
// milliseconds of their own, within the 150 ms the show allows.
const int queuedMs = 100;

// How often the sound thread looks whether it is to stop.
const int stopCheckMs = 20;

// Ahead of ordinary work, behind the sound server (PulseAudio asks for -11).
const int soundNiceness = -10;

// One line for the whole process, however many outputs fail.
std::atomic_flag faultReported = ATOMIC_FLAG_INIT;

// Qt's sound plugins give their own warnings when they find no server
// ("PulseAudioService: pa_context_connect() failed"); while the output is
// set up they are held back, and the output's one line speaks for them.
class QuietSoundPlugins
{
public:
    QuietSoundPlugins() : previous(qInstallMessageHandler(Drop)) {}
    ~QuietSoundPlugins() { qInstallMessageHandler(previous); }

private:
    static void Drop(QtMsgType, const QMessageLogContext&, const QString&) {}

    QtMessageHandler previous;
};

QAudioFormat StreamFormat()
{
    QAudioFormat format;
    format.setSampleRate(SampleSource::sampleRate);
    format.setChannelCount(SampleSource::channels);
    format.setSampleSize(16);
    format.setSampleType(QAudioFormat::SignedInt);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

}

SoundOutput::SoundOutput(SampleSource& source) : source(source), stopping(false) {}

SoundOutput::~SoundOutput()
{
    Stop();
}

void SoundOutput::ReportFault(const char* what)
{
    if (!faultReported.test_and_set())
        std::fprintf(stderr, "radioshow: %s: the radio plays silently\n", what);
}

void SoundOutput::Start()
{
    if (thread.joinable())
        return;
    stopping.store(false);
    thread = std::thread([this] { Play(); });
}

void SoundOutput::Stop()
{
    if (!thread.joinable())
        return;
    stopping.store(true);
    thread.join();
}

void SoundOutput::Play()
{
    // A busy machine can keep a thread of ordinary priority waiting longer
    // than the queue lasts. Where the system allows it (root, or a user
    // whose RLIMIT_NICE permits, as audio groups often do), the sound thread
    // goes before ordinary work; elsewhere it stays as it is. On Linux this
    // sets the calling thread's niceness alone.
    setpriority(PRIO_PROCESS, 0, soundNiceness);
    // Qt gives the thread an event dispatcher of its own: the output's
    // timers run here, whatever the GUI thread does.
    QEventLoop loop;
    // The stream outlives the output that reads it.
    SampleStream stream(source, gain);
    stream.open(QIODevice::ReadOnly);
    std::unique_ptr<QAudioOutput> output;
    {
        const QuietSoundPlugins quiet;
        const QAudioDeviceInfo device = QAudioDeviceInfo::defaultOutputDevice();
        const QAudioFormat format = StreamFormat();
        if (device.isNull()) {
            ReportFault("no sound output device");
            return;
        }
        if (!device.isFormatSupported(format)) {
            ReportFault("the sound output takes no 48 kHz 16-bit stereo");
            return;
        }
        output.reset(new QAudioOutput(device, format));
        output->setBufferSize(format.bytesForDuration(qint64(queuedMs) * 1000));
        output->setCategory(QStringLiteral("music"));
        output->start(&stream);
        if (output->error() != QAudio::NoError) {
            ReportFault("the sound output does not open");
            return;
        }
    }
    // A server that goes away mid-show stops the output with an error.
    QObject::connect(output.get(), &QAudioOutput::stateChanged, &loop, [&output](QAudio::State state) {
        if (state == QAudio::StoppedState && output->error() != QAudio::NoError)
            ReportFault("the sound output failed");
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [this, &loop] {
        if (stopping.load())
            loop.quit();
    });
    watch.start(stopCheckMs);
    loop.exec();
    output->stop();
}

void SoundOutput::SetVolume(int volume)
{
    gain.SetVolume(volume);
}

void SoundOutput::SetMuted(bool muted)
{
    gain.SetMuted(muted);
}
