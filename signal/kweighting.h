#ifndef KWEIGHTING_H
#define KWEIGHTING_H

// The K-weighting of ITU-R BS.1770 at 48 kHz, by which loudness is measured:
// a high shelf of about +4 dB above 2 kHz (the head's effect on what reaches
// the ear) and a high-pass under 100 Hz. Hiss weighs several LU more than
// music of the same RMS under it; matching by it is matching by ear. One
// channel per object.
class KWeighting
{
public:
    float Next(float x);

    // Loudness in LUFS of a sum over the channels of the mean squares of
    // their K-weighted samples, and back.
    static double Lufs(double weightedPower);
    static double Power(double lufs);

private:
    struct Biquad
    {
        double b0, b1, b2, a1, a2;
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
        double Next(double x);
    };

    Biquad shelf{1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241, 0.73248077421585};
    Biquad highPass{1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
};

#endif
