// The receive chain's half of bench/gnuradio-fm: writes the synthesised
// recordings both receivers get, and plays one through the chain.
//
//   fmpeer record FILE RATE SECONDS SNR LEFT RIGHT [NEIGHBOUR_OFFSET NEIGHBOUR_SNR]
//     a station a quarter of RATE above the centre, a 1 kHz tone of LEFT and
//     RIGHT in stereo (LEFT = RIGHT = -1: mono at full deviation)
//   fmpeer receive FILE RATE OFFSET DEEMPHASIS_US
//     48 kHz stereo float samples on standard output; on standard error the
//     CPU seconds the chain took per second of recording

#include "signal/receiver/fmreceivechain.h"
#include "support/fmrecording.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Record(char** argv, int argc)
{
    const double rate = std::atof(argv[3]);
    const double left = std::atof(argv[6]);
    const double right = std::atof(argv[7]);
    QVector<fmrecording::Station> stations{
        {rate / 4, std::atof(argv[5]),
         left < 0 ? fmrecording::MonoTone() : fmrecording::StereoTone(left, right)}};
    if (argc > 9)
        stations.push_back({rate / 4 + std::atof(argv[8]), std::atof(argv[9])});
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    const QByteArray bytes = fmrecording::Synthesise(rate, std::atoi(argv[4]), stations, 15);
    return file.write(bytes) == bytes.size() ? 0 : 1;
}

int Receive(char** argv)
{
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const double rate = std::atof(argv[3]);
    const std::clock_t start = std::clock();
    FmReceiveChain chain(rate, std::atof(argv[5]) * 1e-6);
    chain.SetStationOffset(std::atof(argv[4]));
    const auto* iq = reinterpret_cast<const unsigned char*>(bytes.constData());
    const int block = static_cast<int>(rate / 50);
    std::vector<std::complex<float>> samples(block);
    std::vector<float> audio;
    for (int first = 0; first + 2 * block <= bytes.size(); first += 2 * block) {
        for (int i = 0; i < block; ++i)
            samples[i] = std::complex<float>((iq[first + 2 * i] - 127.5f) / 127.5f,
                                             (iq[first + 2 * i + 1] - 127.5f) / 127.5f);
        chain.Process(samples.data(), block, audio);
    }
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::fwrite(audio.data(), sizeof(float), audio.size(), stdout);
    std::cerr << seconds / (bytes.size() / 2 / rate) << '\n';
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc >= 8 && std::string(argv[1]) == "record")
        return Record(argv, argc);
    if (argc == 6 && std::string(argv[1]) == "receive")
        return Receive(argv);
    std::cerr << "usage: fmpeer record FILE RATE SECONDS SNR LEFT RIGHT [NEIGHBOUR_OFFSET NEIGHBOUR_SNR]\n"
                 "       fmpeer receive FILE RATE OFFSET DEEMPHASIS_US\n";
    return 2;
}
