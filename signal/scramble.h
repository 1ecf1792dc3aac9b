#ifndef SCRAMBLE_H
#define SCRAMBLE_H

#include <cstdint>

// SplitMix64's finaliser: cheap, and every input bit reaches every output
// bit, so neighbouring inputs (frequencies, steps) give unrelated values.
inline std::uint64_t Scramble(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

#endif
