#include "tools/capture/wavfilesink.h"

#include "signal/samplesource.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

const int headerBytes = 44;
const int bytesPerSample = 2;

void Put32(QByteArray& bytes, quint32 value)
{
    char little[4];
    qToLittleEndian(value, little);
    bytes.append(little, 4);
}

void Put16(QByteArray& bytes, quint16 value)
{
    char little[2];
    qToLittleEndian(value, little);
    bytes.append(little, 2);
}

}

WavFileSink::WavFileSink(const QString& path) : file(path) {}

bool WavFileSink::WriteHeader(quint32 bytes, QString* error)
{
    const quint32 frameBytes = SampleSource::channels * bytesPerSample;
    QByteArray header;
    header.append("RIFF");
    Put32(header, headerBytes - 8 + bytes);
    header.append("WAVEfmt ");
    Put32(header, 16);
    Put16(header, 1);  // PCM
    Put16(header, SampleSource::channels);
    Put32(header, SampleSource::sampleRate);
    Put32(header, SampleSource::sampleRate * frameBytes);
    Put16(header, quint16(frameBytes));
    Put16(header, bytesPerSample * 8);
    header.append("data");
    Put32(header, bytes);
    if (!file.seek(0) || file.write(header) != headerBytes) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

bool WavFileSink::Open(QString* error)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return WriteHeader(0, error);
}

bool WavFileSink::Write(const float* interleaved, int frames, QString* error)
{
    const int samples = frames * SampleSource::channels;
    if (quint64(dataBytes) + quint64(samples) * bytesPerSample > std::numeric_limits<quint32>::max() - headerBytes) {
        *error = QStringLiteral("%1 would pass the 4 GB a WAV file can hold").arg(file.fileName());
        return false;
    }
    std::vector<qint16> pcm(static_cast<size_t>(samples));
    for (int sample = 0; sample < samples; ++sample)
        pcm[size_t(sample)] = qToLittleEndian(qint16(std::lrint(std::clamp(interleaved[sample], -1.0f, 1.0f) * 32767.0f)));
    const qint64 bytes = qint64(samples) * bytesPerSample;
    if (file.write(reinterpret_cast<const char*>(pcm.data()), bytes) != bytes) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    dataBytes += quint32(bytes);
    return true;
}

bool WavFileSink::Close(QString* error)
{
    if (!WriteHeader(dataBytes, error))
        return false;
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}
