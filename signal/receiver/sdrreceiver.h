#ifndef SDRRECEIVER_H
#define SDRRECEIVER_H

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class AudioRing;
class IqDevice;

// The receive thread: it opens the device, reads its samples, runs them
// through the FM receive chain and pushes the audio into the ring. Tuning
// requests, the signal strength and the stereo indication cross over as atomic values, so the
// thread that owns the receiver never waits for it, except to end it.
class SdrReceiver
{
public:
    // Called on the receive thread; null when no device could be opened.
    using DeviceOpener = std::function<std::unique_ptr<IqDevice>()>;

    // deemphasisSeconds: the region's de-emphasis time constant.
    SdrReceiver(DeviceOpener openDevice, AudioRing& ring, int stationHz, double deemphasisSeconds);
    // Ends the thread: within one device read (at most a tenth of a second).
    ~SdrReceiver();
    SdrReceiver(const SdrReceiver&) = delete;
    SdrReceiver& operator=(const SdrReceiver&) = delete;

    void Tune(int stationHz);

    // 0 to 100; 0 while tuning, outside the device's band and without samples.
    int Strength() const;

    // Whether the tuned station is heard in stereo.
    bool IsStereo() const;

private:
    void Run(const DeviceOpener& openDevice);

    AudioRing& ring;
    const double deemphasisSeconds;
    std::atomic<bool> stopping;
    std::atomic<int> requestedHz;
    std::atomic<int> strength;
    std::atomic<bool> stereo;
    std::thread thread;
};

#endif
