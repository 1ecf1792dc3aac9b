#ifndef XORSHIFT_H
#define XORSHIFT_H

#include <cstdint>

// Marsaglia's xorshift32: white noise for the synthesiser, owned by each
// voice so that sound never draws from the C library's shared generator.
class Xorshift
{
public:
    // A seed of 0 would stay 0 for ever.
    explicit Xorshift(std::uint32_t seed) : state(seed | 1u) {}

    // Uniform in -1..1.
    float Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return float(std::int32_t(state)) * (1.0f / 2147483648.0f);
    }

private:
    std::uint32_t state;
};

#endif
