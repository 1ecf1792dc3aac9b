#include "platform/sound/soundoutput.h"

#include "platform/sound/samplestream.h"
#include "signal/samplesource.h"

#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioOutput>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>

namespace {

// What the output may hold ahead of the speaker. Pulse and ALSA add a few
// milliseconds of their own, within the 150 ms the show allows.
const int queuedMs = 100;

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

SoundOutput::SoundOutput(SampleSource& source) : source(source), onThread(new QObject)
{
    thread.setObjectName(QStringLiteral("sound"));
    onThread->moveToThread(&thread);
    // Emitted on the sound thread as it ends: the output goes with its thread.
    QObject::connect(&thread, &QThread::finished, onThread.get(), [this] { CloseOnThread(); },
                     Qt::DirectConnection);
}

SoundOutput::~SoundOutput()
{
    if (!thread.isRunning())
        return;
    Stop();
    thread.quit();
    thread.wait();
}

void SoundOutput::ReportFault(const char* what)
{
    if (!faultReported.test_and_set())
        std::fprintf(stderr, "radioshow: %s: the radio plays silently\n", what);
}

void SoundOutput::Start()
{
    if (!thread.isRunning())
        thread.start();
    QMetaObject::invokeMethod(onThread.get(), [this] { StartOnThread(); }, Qt::QueuedConnection);
}

void SoundOutput::Stop()
{
    if (thread.isRunning())
        QMetaObject::invokeMethod(onThread.get(), [this] { StopOnThread(); }, Qt::BlockingQueuedConnection);
}

void SoundOutput::StartOnThread()
{
    // A busy machine can keep a thread of ordinary priority waiting longer
    // than the queue lasts. Where the system allows it (root, or a user
    // whose RLIMIT_NICE permits, as audio groups often do), the sound thread
    // goes before ordinary work; elsewhere it stays as it is. On Linux this
    // sets the calling thread's niceness alone.
    setpriority(PRIO_PROCESS, 0, soundNiceness);
    if (output && output->state() != QAudio::StoppedState)
        return;
    const QuietSoundPlugins quiet;
    if (!output) {
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
        // A server that goes away mid-show stops the output with an error.
        QObject::connect(output.get(), &QAudioOutput::stateChanged, onThread.get(), [this](QAudio::State state) {
            if (state == QAudio::StoppedState && output->error() != QAudio::NoError)
                ReportFault("the sound output failed");
        });
        stream.reset(new SampleStream(source, gain));
        stream->open(QIODevice::ReadOnly);
    }
    output->start(stream.get());
    if (output->error() != QAudio::NoError) {
        ReportFault("the sound output does not open");
        output->stop();
    }
}

void SoundOutput::StopOnThread()
{
    if (output)
        output->stop();
}

void SoundOutput::CloseOnThread()
{
    output.reset();
    stream.reset();
}

void SoundOutput::SetVolume(int volume)
{
    gain.SetVolume(volume);
}

void SoundOutput::SetMuted(bool muted)
{
    gain.SetMuted(muted);
}
